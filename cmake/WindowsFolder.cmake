# The Windows program is shipped as one folder to unzip anywhere the user can write: quotario.exe
# with Allinea.ini and leggimi-prima.txt beside it (the program saves the alignment there), the
# Qt DLLs and plugins it loads and the MinGW C++ runtime. `quotario_windows_zip` makes the
# folder and BUILD_DIR/quotario-VERSION-windows-x64.zip (scripts/windows-folder).
add_custom_target(quotario_windows_zip ALL
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/windows-folder ${CMAKE_BINARY_DIR} ${QT6_INSTALL_PREFIX}
            ${QUOTARIO_WINDOWS_NAME}
    DEPENDS quotario quotario_readme quotario_default_alignment
    BYPRODUCTS ${CMAKE_BINARY_DIR}/${QUOTARIO_WINDOWS_NAME}.zip
    COMMENT "Making ${QUOTARIO_WINDOWS_NAME}.zip"
    VERBATIM)

# The same folder as an installer for one user, BUILD_DIR/quotario-VERSION-setup.exe
# (scripts/windows-setup, NSIS's makensis, data/windows/quotario.nsi), with the program's icon
# and picture and the project's identity.
find_program(QUOTARIO_MAKENSIS makensis REQUIRED)
add_custom_target(quotario_windows_setup ALL
    COMMAND ${PROJECT_SOURCE_DIR}/scripts/windows-setup ${CMAKE_BINARY_DIR} ${QUOTARIO_WINDOWS_NAME}
            ${QUOTARIO_ICON_FILE} ${QUOTARIO_WELCOME_BITMAP} ${PROJECT_VERSION} ${QUOTARIO_AUTHOR}
            ${PROJECT_HOMEPAGE_URL} ${QUOTARIO_COPYRIGHT}
    DEPENDS quotario_windows_zip quotario_windows_welcome ${QUOTARIO_WELCOME_BITMAP}
    BYPRODUCTS ${CMAKE_BINARY_DIR}/${QUOTARIO_WINDOWS_SETUP}
    COMMENT "Making ${QUOTARIO_WINDOWS_SETUP}"
    VERBATIM)
