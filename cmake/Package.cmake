# `cpack` (or `make package`) in the build folder: a .tar.gz holding the program's folder and a
# .deb for a system-wide installation. CPackLayout.cmake tells the install step which is made.
set(CPACK_PACKAGE_NAME quotario)
set(CPACK_PACKAGE_VENDOR "Marco Ferrante")
set(CPACK_PACKAGE_CONTACT "Marco Ferrante <http://www.quotario.it>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Calcolo dell'ICI sui fabbricati e stampa del bollettino postale")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.quotario.it")
set(CPACK_GENERATOR TGZ DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackLayout.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt's own packages (the X11 platform plugin is in libqt6gui6), the font with Arial's metrics the
# slip is laid out for, and the desktop's opener for the read-me.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.34), libstdc++6 (>= 12), libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), fonts-liberation2, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups")

include(CPack)
