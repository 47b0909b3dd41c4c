# Read by cpack before each package: the install step lays out a bare folder for the archive and
# the system-wide layout for the .deb (see Install.cmake).
if(CPACK_GENERATOR STREQUAL "DEB")
    set(ENV{QUOTARIO_INSTALL_LAYOUT} system)
    # Everything, and the `debian` component that no other install wants (lintian's overrides).
    list(GET CPACK_INSTALL_CMAKE_PROJECTS 0 build_dir)
    list(APPEND CPACK_INSTALL_CMAKE_PROJECTS "${build_dir}" Quotario debian /)
else()
    set(ENV{QUOTARIO_INSTALL_LAYOUT} folder)
    # Only the program's folder: no menu entry, icons or manual pages (the `desktop` component).
    string(REPLACE ";ALL;" ";Unspecified;" CPACK_INSTALL_CMAKE_PROJECTS
           "${CPACK_INSTALL_CMAKE_PROJECTS}")
    # The archive unpacks into one folder named after the program and its version.
    set(CPACK_PACKAGE_FILE_NAME quotario-${CPACK_PACKAGE_VERSION})
endif()
