# `cpack` (or `make package`) in the build folder: a .tar.gz holding the program's folder and a
# .deb for a system-wide installation. CPackLayout.cmake tells the install step which is made.

set(CPACK_PACKAGE_NAME quotario)
set(CPACK_PACKAGE_VENDOR "${QUOTARIO_AUTHOR}")
set(CPACK_PACKAGE_CONTACT "${QUOTARIO_AUTHOR} <${QUOTARIO_AUTHOR_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_GENERATOR TGZ DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackLayout.cmake)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The long description, under the summary; an empty line starts a new paragraph.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[
Quotario calcola l'ICI (imposta comunale sugli immobili) sui fabbricati di un
contribuente, abitazione principale e altri fabbricati, e stampa il bollettino
di conto corrente postale con cui si paga una rata (metà dell'imposta annua),
con l'importo in cifre e in lettere.

Una finestra di riepilogo mostra il bollettino prima della stampa e permette di
allineare la stampa alla carta: foglio inserito a sinistra, al centro o a
destra della stampante, più una correzione verticale e una orizzontale.
Senza stampante, la pagina si salva come file PDF.]])
# The libraries the executable links come from dpkg-shlibdeps. Beside them: libcups2, which the
# program loads only when it prints; the font with Arial's metrics the slip is laid out for; the
# desktop's opener for the read-me.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcups2, fonts-liberation2, xdg-utils")
# The print server; Qt's Wayland platform; Qt's own texts (the file dialog, the entry boxes'
# menu) in Italian.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups, qt6-wayland, qt6-translations-l10n")

include(CPack)
