# Installing Quotario like a desktop program. The program keeps its settings (Allinea.ini) and
# its read-me beside its own executable, so it is installed as one folder holding all three,
# plus a menu entry and its icon. Three layouts, chosen when installing:
#
#   personal  `cmake --install` / `make install`: PREFIX/lib/quotario/ (the folder),
#             PREFIX/share/applications/quotario.desktop and the icon under
#             PREFIX/share/icons. The default prefix is ~/.local: the menu finds the entry
#             there and the user can save the alignment without being root.
#   folder    the .tar.gz archive: just the folder, to unpack wherever the user can write.
#   system    the .deb: the folder as /usr/lib/quotario, read-only, and /usr/bin/quotario, which
#             runs each user's own copy of the folder (see quotario-launcher.in for why).
#
# CPack tells the install step which package it is making through QUOTARIO_INSTALL_LAYOUT (set
# in CPackLayout.cmake); a plain install has none and is personal.

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH
        "Where `cmake --install` puts the program (a folder the user can write to)" FORCE)
endif()

# Decided at install time, since `cmake --install --prefix` and CPack choose the prefix then.
install(CODE [[
    set(QUOTARIO_LAYOUT "$ENV{QUOTARIO_INSTALL_LAYOUT}")
    if(QUOTARIO_LAYOUT STREQUAL "")
        set(QUOTARIO_LAYOUT personal)
    endif()
    if(QUOTARIO_LAYOUT STREQUAL "folder")
        set(QUOTARIO_FOLDER_DIR "")
    else()
        set(QUOTARIO_FOLDER_DIR "lib/quotario")
    endif()
]] ALL_COMPONENTS)

# The executable and the read-me always come fresh. Qt comes from the system's library folders,
# so the installed program needs no run-time search path of its own.
set_target_properties(quotario PROPERTIES INSTALL_RPATH "")
install(TARGETS quotario RUNTIME DESTINATION "\${QUOTARIO_FOLDER_DIR}")
install(FILES data/leggimi-prima.txt DESTINATION "\${QUOTARIO_FOLDER_DIR}")

# The settings file holds the user's alignment once saved: an existing one is never replaced.
install(CODE "set(QUOTARIO_DEFAULT_ALIGNMENT \"${PROJECT_SOURCE_DIR}/data/Allinea.ini\")")
install(CODE [[
    # file(INSTALL) adds DESTDIR (set while making the .deb) by itself.
    set(program_folder "${CMAKE_INSTALL_PREFIX}/${QUOTARIO_FOLDER_DIR}")
    if(EXISTS "$ENV{DESTDIR}${program_folder}/Allinea.ini")
        message(STATUS "Keeping: $ENV{DESTDIR}${program_folder}/Allinea.ini")
    else()
        file(INSTALL "${QUOTARIO_DEFAULT_ALIGNMENT}" DESTINATION "${program_folder}")
    endif()
]])

# The menu entry and its icon (not in the bare folder of the archive).
install(CODE "set(QUOTARIO_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")")
install(SCRIPT cmake/InstallMenuEntry.cmake)

include(cmake/InstallDesktopFiles.cmake)
include(cmake/Package.cmake)
