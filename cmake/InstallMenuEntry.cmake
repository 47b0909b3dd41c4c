# Install-time part of Install.cmake: the .desktop entry pointing at the installed program and,
# in the system layout, the launcher in bin/.
cmake_policy(VERSION 3.25)
if(QUOTARIO_LAYOUT STREQUAL "folder")
    return()
endif()

set(prefix "${CMAKE_INSTALL_PREFIX}")
# configure_file does not add DESTDIR (set while making the .deb) by itself.
set(staged "$ENV{DESTDIR}${prefix}")

if(QUOTARIO_LAYOUT STREQUAL "system")
    set(program "${prefix}/bin/quotario")
    set(QUOTARIO_SYSTEM_FOLDER "${prefix}/${QUOTARIO_FOLDER_DIR}")
    configure_file("${QUOTARIO_SOURCE_DIR}/cmake/quotario-launcher.in"
                   "${staged}/bin/quotario" @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                                    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    message(STATUS "Installing: ${staged}/bin/quotario")
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
               "${staged}/share/applications/quotario.desktop" @ONLY)
message(STATUS "Installing: ${staged}/share/applications/quotario.desktop")
