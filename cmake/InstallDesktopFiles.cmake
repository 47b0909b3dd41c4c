# What the desktop and Debian's tools look for around the program: the icon in every size of the
# hicolor theme, the type of the taxpayer's data file (*.ici) with the same picture as its icon, the AppStream metainfo, the manual pages in Italian and English, and the
# copyright and changelog the .deb needs in share/doc. They are the `desktop` component, which
# the archive's bare folder leaves out (CPackLayout.cmake); a personal install puts them under
# PREFIX/share, the .deb under /usr/share.

foreach(size 16 24 48 64 128 256)
    install(FILES data/icons/quotario-${size}.png RENAME quotario.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps COMPONENT desktop)
    install(FILES data/icons/quotario-${size}.png RENAME application-x-quotario-ici.png
            DESTINATION share/icons/hicolor/${size}x${size}/mimetypes COMPONENT desktop)
endforeach()
install(FILES data/quotario-mime.xml RENAME quotario.xml DESTINATION share/mime/packages
        COMPONENT desktop)
# The program's own window icon is drawn for 32 pixels.
install(FILES data/quotario.png DESTINATION share/icons/hicolor/32x32/apps COMPONENT desktop)
install(FILES data/icons/quotario.svg DESTINATION share/icons/hicolor/scalable/apps
        COMPONENT desktop)
install(FILES ${QUOTARIO_IDENTITY_DIR}/data/it.quotario.Quotario.metainfo.xml
        DESTINATION share/metainfo COMPONENT desktop)

# Manual pages and the changelog go compressed, with no file name or time in the gzip header so
# that two builds of the package are the same. They are made from the project's identity
# (Identity.cmake) into BUILD_DIR/identity, laid out as data/ is.
set(gzipped_dir ${CMAKE_BINARY_DIR}/gzipped)
set(gzipped_files)
function(quotario_install_gzipped source destination)
    set(output ${gzipped_dir}/${source}.gz)
    get_filename_component(output_dir ${output} DIRECTORY)
    file(MAKE_DIRECTORY ${output_dir})
    add_custom_command(OUTPUT ${output}
        COMMAND gzip -9n -c ${QUOTARIO_IDENTITY_DIR}/${source} > ${output}
        DEPENDS ${QUOTARIO_IDENTITY_DIR}/${source} VERBATIM)
    install(FILES ${output} DESTINATION ${destination} COMPONENT desktop)
    set(gzipped_files ${gzipped_files} ${output} PARENT_SCOPE)
endfunction()
quotario_install_gzipped(data/man/quotario.1 share/man/man1)
quotario_install_gzipped(data/man/it/quotario.1 share/man/it/man1)
quotario_install_gzipped(data/debian/changelog share/doc/quotario)
add_custom_target(quotario_gzipped ALL DEPENDS ${gzipped_files})

install(FILES ${QUOTARIO_IDENTITY_DIR}/data/debian/copyright DESTINATION share/doc/quotario
        COMPONENT desktop)

# Only for the .deb (CPackLayout.cmake adds this component there).
install(FILES data/debian/lintian-overrides RENAME quotario DESTINATION share/lintian/overrides
        COMPONENT debian EXCLUDE_FROM_ALL)
