# Install-time part of Install.cmake: the .desktop entry pointing at the installed program and,
# in the system layout, the command bin/quotario.
cmake_policy(VERSION 3.25)
if(QUOTARIO_LAYOUT STREQUAL "folder")
    return()
endif()

set(prefix "${CMAKE_INSTALL_PREFIX}")
# file(INSTALL) adds DESTDIR (set while making the .deb) by itself and lists what it installs
# in the manifest; so the files made here are made in the staging folder, then installed.

if(QUOTARIO_LAYOUT STREQUAL "system")
    # The program runs from its read-only folder itself: nothing is copied for the user.
    set(program "${prefix}/bin/quotario")
    file(MAKE_DIRECTORY "${QUOTARIO_INSTALL_STAGING}/bin")
    file(CREATE_LINK "../${QUOTARIO_FOLDER_DIR}/quotario" "${QUOTARIO_INSTALL_STAGING}/bin/quotario"
         SYMBOLIC)
    file(INSTALL "${QUOTARIO_INSTALL_STAGING}/bin/quotario" DESTINATION "${prefix}/bin")
else()
    set(program "${prefix}/${QUOTARIO_FOLDER_DIR}/quotario")
endif()

# A desktop entry's Exec is a command line: a path with spaces or shell characters goes in
# double quotes with " ` $ \ escaped, and then, as any value of the file, with each backslash
# doubled; a percent sign is doubled too, or it would read as a field code.
function(quotario_desktop_exec path out)
    set(value "${path}")
    if(value MATCHES "[] \t\"'\\><~|&;$*?#()`[]")
        string(REPLACE "\\" "\\\\" value "${value}")
        string(REPLACE "\"" "\\\"" value "${value}")
        string(REPLACE "`" "\\`" value "${value}")
        string(REPLACE "$" "\\$" value "${value}")
        set(value "\"${value}\"")
    endif()
    string(REPLACE "\\" "\\\\" value "${value}")
    string(REPLACE "%" "%%" value "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

quotario_desktop_exec("${program}" QUOTARIO_DESKTOP_EXEC)
configure_file("${QUOTARIO_SOURCE_DIR}/data/quotario.desktop.in"
               "${QUOTARIO_INSTALL_STAGING}/share/applications/quotario.desktop" @ONLY)
file(INSTALL "${QUOTARIO_INSTALL_STAGING}/share/applications/quotario.desktop"
     DESTINATION "${prefix}/share/applications")
