# SPDX-License-Identifier: MIT
# The program's icon is drawn once, as data/icons/<id>.svg; the hicolor PNGs
# are rendered from it at build time, so that the window, the menu and the
# file manager show the same picture at every size.

set(TOBX_ICON_SIZES 16 32 48 64 128 256)
set(TOBX_ICON_SVG ${PROJECT_SOURCE_DIR}/data/icons/${TOBX_APP_ID}.svg)

find_program(TOBX_RSVG_CONVERT rsvg-convert)
if(NOT TOBX_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert renders the icon; install librsvg2-bin (scripts/install-deps does)")
endif()

# Renders the PNGs, embeds them in TARGET as the resources :/icons/<size>.png
# and installs them with the SVG into the hicolor theme.
function(tobx_add_app_icon target)
    set(pngs)
    foreach(size IN LISTS TOBX_ICON_SIZES)
        set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${TOBX_RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${TOBX_ICON_SVG}
            DEPENDS ${TOBX_ICON_SVG}
            COMMENT "Rendering the ${size} x ${size} icon"
            VERBATIM)
        list(APPEND pngs ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME ${TOBX_APP_ID}.png)
    endforeach()
    qt_add_resources(${target} app_icon PREFIX /icons BASE ${CMAKE_CURRENT_BINARY_DIR}/icons FILES ${pngs})
    install(FILES ${TOBX_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endfunction()
