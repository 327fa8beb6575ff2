# The program's icon for the desktop's icon theme: the SVG drawing in
# data/icons, and PNG renderings of it at the sizes desktops look for, made at
# build time with rsvg-convert (Debian: librsvg2-bin). The window's own icon,
# app/resources/relvano.png, is a 48 px rendering of the same drawing:
#   rsvg-convert -w 48 -h 48 data/icons/org.relvano.Relvano.svg -o app/resources/relvano.png
set(RELVANO_ICON_SVG ${PROJECT_SOURCE_DIR}/data/icons/${RELVANO_APP_ID}.svg)
set(RELVANO_ICON_SIZES 16 32 48 128 256)

install(FILES ${RELVANO_ICON_SVG}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)

find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(WARNING "rsvg-convert not found (Debian: librsvg2-bin): the PNG icons are not built "
                  "and not installed")
  return()
endif()

set(icon_files)
foreach(size IN LISTS RELVANO_ICON_SIZES)
  set(folder ${CMAKE_BINARY_DIR}/icons/hicolor/${size}x${size}/apps)
  set(png ${folder}/${RELVANO_APP_ID}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${RELVANO_ICON_SVG}
    DEPENDS ${RELVANO_ICON_SVG}
    COMMENT "Rendering the ${size} px icon"
    VERBATIM)
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
  list(APPEND icon_files ${png})
endforeach()
add_custom_target(relvano_icons ALL DEPENDS ${icon_files})
