# Installing Quotario like a desktop program. The program reads its read-me, and the default of
# its settings (Allinea.ini), beside its own executable, so it is installed as one folder
# holding all three, plus a menu entry and its icon. Three layouts, chosen when installing:
#
#   personal  `cmake --install` / `make install`: PREFIX/lib/quotario/ (the folder),
#             PREFIX/share/applications/quotario.desktop and the icon under
#             PREFIX/share/icons. The default prefix is ~/.local: the menu finds the entry
#             there, and the alignment is saved in the folder beside the program.
#   folder    the .tar.gz archive: just the folder, to unpack wherever the user can write.
#   system    the .deb: the folder as /usr/lib/quotario, read-only, and /usr/bin/quotario, a
#             symbolic link to the program in it. Each user's alignment goes into their own
#             configuration folder, since the program's folder is not writable.
#
# CPack tells the install step which package it is making through QUOTARIO_INSTALL_LAYOUT (set
# in CPackLayout.cmake); a plain install has none and is personal. Every file an install puts
# is listed in the build's install_manifest.txt, which `make uninstall` (Uninstall.cmake) reads.

if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
    set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH
        "Where `cmake --install` puts the program (a folder the user can write to)" FORCE)
endif()

# Decided at install time, since `cmake --install --prefix` and CPack choose the prefix then.
# Files made at install time are written into QUOTARIO_INSTALL_STAGING first and installed from
# there, so that they reach the manifest like any other.
install(CODE "set(QUOTARIO_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
    set(QUOTARIO_INSTALL_STAGING \"${PROJECT_BINARY_DIR}/install-staging\")" ALL_COMPONENTS)
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
    set(QUOTARIO_INSTALL_STAGING "${QUOTARIO_INSTALL_STAGING}/${QUOTARIO_LAYOUT}")
    file(REMOVE_RECURSE "${QUOTARIO_INSTALL_STAGING}")
]] ALL_COMPONENTS)

# The executable and the read-me always come fresh. Qt comes from the system's library folders,
# so the installed program needs no run-time search path of its own.
set_target_properties(quotario PROPERTIES INSTALL_RPATH "")
install(TARGETS quotario RUNTIME DESTINATION "\${QUOTARIO_FOLDER_DIR}")
install(FILES data/leggimi-prima.txt DESTINATION "\${QUOTARIO_FOLDER_DIR}")

# Allinea.ini beside the program is the default, and in a writable folder the user's saved
# alignment too: an existing one is never replaced, but it is listed as installed.
install(CODE [[
    # file(INSTALL) adds DESTDIR (set while making the .deb) by itself, and lists the file in
    # the manifest without it.
    set(program_folder "${CMAKE_INSTALL_PREFIX}/${QUOTARIO_FOLDER_DIR}")
    if(EXISTS "$ENV{DESTDIR}${program_folder}/Allinea.ini")
        message(STATUS "Keeping: $ENV{DESTDIR}${program_folder}/Allinea.ini")
        list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${program_folder}/Allinea.ini")
    else()
        file(INSTALL "${QUOTARIO_SOURCE_DIR}/data/Allinea.ini" DESTINATION "${program_folder}")
    endif()
]])

# The menu entry (not in the bare folder of the archive) and /usr/bin/quotario.
install(SCRIPT cmake/InstallMenuEntry.cmake)
# Other files for the desktop and the package are installed by cmake files included here, after
# the menu entry: they may use QUOTARIO_LAYOUT and QUOTARIO_INSTALL_STAGING at install time.
include(cmake/InstallDesktopFiles.cmake)

# Last of the install rules. CMake writes what an install put into the build's
# install_manifest.txt, which `make uninstall` reads: an install into a package or a test's
# folder (the layout named, as CPack and tst_install do) is no install on this machine and
# must not replace that list, so its own goes to install_manifest_<layout>.txt. (CMake names
# the list after the component being installed.)
install(CODE [[
    if(NOT "$ENV{QUOTARIO_INSTALL_LAYOUT}" STREQUAL "")
        set(CMAKE_INSTALL_COMPONENT "$ENV{QUOTARIO_INSTALL_LAYOUT}")
    endif()
]] ALL_COMPONENTS)

# `make uninstall`: removes what the manifest lists.
add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
            -DSHIPPED_ALIGNMENT=${PROJECT_SOURCE_DIR}/data/Allinea.ini
            -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
    COMMENT "Removing what the last install put"
    VERBATIM)

include(cmake/Package.cmake)
