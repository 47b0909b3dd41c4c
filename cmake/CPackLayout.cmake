# Read by cpack before each package: the install step lays out a bare folder for the archive and
# the system-wide layout for the .deb (see Install.cmake).
if(CPACK_GENERATOR STREQUAL "DEB")
    set(ENV{QUOTARIO_INSTALL_LAYOUT} system)
else()
    set(ENV{QUOTARIO_INSTALL_LAYOUT} folder)
    # The archive unpacks into one folder named after the program and its version.
    set(CPACK_PACKAGE_FILE_NAME quotario-${CPACK_PACKAGE_VERSION})
endif()
