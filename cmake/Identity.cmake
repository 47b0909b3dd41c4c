# The files that say who the program is, made from the identity in the top CMakeLists.txt
# (project() and the QUOTARIO_ variables beside it) into BUILD_DIR/identity: the program's own
# header base/AppInfo.h, the manual pages, the AppStream metainfo and the Debian changelog and
# copyright. The Windows resources and the installer take the same variables
# (WindowsResources.cmake, WindowsFolder.cmake). tst_identity fails when a shipped file
# disagrees with them.

# The manual pages' date: the month of the release, in English and in Italian.
set(months January February March April May June July August September October November
    December)
set(months_it Gennaio Febbraio Marzo Aprile Maggio Giugno Luglio Agosto Settembre Ottobre
    Novembre Dicembre)
string(SUBSTRING "${QUOTARIO_RELEASE_DATE}" 0 4 release_year)
string(SUBSTRING "${QUOTARIO_RELEASE_DATE}" 5 2 release_month)
math(EXPR release_month "${release_month} - 1")
list(GET months ${release_month} month)
list(GET months_it ${release_month} month_it)
set(QUOTARIO_RELEASE_MONTH "${month} ${release_year}")
set(QUOTARIO_RELEASE_MONTH_IT "${month_it} ${release_year}")

set(QUOTARIO_IDENTITY_DIR ${CMAKE_BINARY_DIR}/identity)
set(QUOTARIO_IDENTITY_FILES
    src/base/AppInfo.h
    data/man/quotario.1
    data/man/it/quotario.1
    data/it.quotario.Quotario.metainfo.xml
    data/debian/changelog
    data/debian/copyright)
foreach(file ${QUOTARIO_IDENTITY_FILES})
    configure_file(${PROJECT_SOURCE_DIR}/${file}.in ${QUOTARIO_IDENTITY_DIR}/${file} @ONLY)
endforeach()
