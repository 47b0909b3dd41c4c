# quotario.exe's resources, compiled with MinGW's windres from data/windows/quotario.rc.in: the
# program's icon, the version details that Explorer shows in the file's Properties, and the
# application manifest. The version is the project's own (project() at the top). The icon is made
# at build time from the SVG that the Linux icons come from: rsvg-convert draws it in every size
# Windows asks for, icotool (icoutils) puts them into one .ico, the 256-pixel one as PNG, as
# Windows keeps its large icons.
enable_language(RC)
find_program(QUOTARIO_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(QUOTARIO_ICOTOOL icotool REQUIRED)

# The author, the copyright and the version come from the project's identity (the top
# CMakeLists.txt).
set(QUOTARIO_DESCRIPTION "Quotario - calcolo dell'ICI e stampa del bollettino postale")
set(QUOTARIO_VERSION_4 ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)

set(resources ${CMAKE_BINARY_DIR}/windows-resources)
set(QUOTARIO_ICON_FILE ${resources}/quotario.ico)
set(QUOTARIO_MANIFEST_FILE ${resources}/quotario.exe.manifest)
set(svg ${PROJECT_SOURCE_DIR}/data/icons/quotario.svg)
set(draw_icons)
set(small_icons)
foreach(size 16 24 32 48 64 256)
    list(APPEND draw_icons COMMAND ${QUOTARIO_RSVG_CONVERT} -w ${size} -h ${size}
         -o ${resources}/quotario-${size}.png ${svg})
    if(NOT size EQUAL 256)
        list(APPEND small_icons ${resources}/quotario-${size}.png)
    endif()
endforeach()
add_custom_command(OUTPUT ${QUOTARIO_ICON_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${resources}
    ${draw_icons}
    COMMAND ${QUOTARIO_ICOTOOL} -c -o ${QUOTARIO_ICON_FILE} ${small_icons}
            --raw=${resources}/quotario-256.png
    DEPENDS ${svg}
    COMMENT "Drawing quotario.ico from quotario.svg"
    VERBATIM)
add_custom_target(quotario_windows_icon DEPENDS ${QUOTARIO_ICON_FILE})

# The installer's welcome and finish pages show the program's own picture, drawn from the same
# SVG: the icon on the blue of its frame, in the 164 x 314 bitmap those pages take (ImageMagick
# writes the BMP that NSIS reads).
find_program(QUOTARIO_CONVERT convert REQUIRED)
set(QUOTARIO_WELCOME_BITMAP ${resources}/quotario-welcome.bmp)
add_custom_command(OUTPUT ${QUOTARIO_WELCOME_BITMAP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${resources}
    COMMAND ${QUOTARIO_RSVG_CONVERT} -w 128 -h 128 -o ${resources}/quotario-welcome-icon.png ${svg}
    COMMAND ${QUOTARIO_CONVERT} -size 164x314 "xc:#1a4f9c" ${resources}/quotario-welcome-icon.png
            -gravity north -geometry +0+72 -composite -type TrueColor
            BMP3:${QUOTARIO_WELCOME_BITMAP}
    DEPENDS ${svg}
    COMMENT "Drawing the installer's picture from quotario.svg"
    VERBATIM)
add_custom_target(quotario_windows_welcome DEPENDS ${QUOTARIO_WELCOME_BITMAP})
add_dependencies(quotario quotario_windows_icon)
configure_file(${PROJECT_SOURCE_DIR}/data/windows/quotario.exe.manifest.in ${QUOTARIO_MANIFEST_FILE}
               @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/data/windows/quotario.rc.in ${resources}/quotario.rc @ONLY)

# windres reads the icon and the manifest by name: the resource object is remade when they change.
target_sources(quotario PRIVATE ${resources}/quotario.rc)
set_source_files_properties(${resources}/quotario.rc TARGET_DIRECTORY quotario
    PROPERTIES OBJECT_DEPENDS "${QUOTARIO_ICON_FILE};${QUOTARIO_MANIFEST_FILE}")
