#pragma once
// Who the program is and where its author can be found: the window titles, the plain message
// boxes and the information box all take these from here, and the package's maintainer contact
// (cmake/Package.cmake reads the author's name, e-mail and web address).

// The caption of every plain message box and the name of the application.
inline constexpr const char* ApplicationTitle = "Quotario";

inline constexpr const char* AuthorName = "Marco Ferrante";
inline constexpr const char* AuthorEmail = "marco.ferrante@quotario.invalid";
inline constexpr const char* AuthorWebAddress = "http://www.quotario.it";
