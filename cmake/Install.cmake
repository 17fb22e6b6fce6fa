# A freedesktop installation: the program in bin, its helper in
# libexec/orvanta, a desktop entry, AppStream metainfo and the program icon in
# the hicolor theme, painted at build time from the program's own artwork.

install(TARGETS orvanta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS orvanta-decode RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/orvanta)

install(FILES data/${ORVANTA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
configure_file(data/${ORVANTA_APP_ID}.metainfo.xml.in ${ORVANTA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${ORVANTA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

add_executable(orvanta_icons tools/icons.cpp)
target_link_libraries(orvanta_icons PRIVATE orvanta_ui Qt6::Svg)
set(ORVANTA_ICON_DIR ${CMAKE_CURRENT_BINARY_DIR}/icons)
set(ORVANTA_ICON_FILES ${ORVANTA_ICON_DIR}/scalable/apps/${ORVANTA_APP_ID}.svg)
foreach(size 16 32 48 64 128 256)
  list(APPEND ORVANTA_ICON_FILES ${ORVANTA_ICON_DIR}/${size}x${size}/apps/${ORVANTA_APP_ID}.png)
endforeach()
add_custom_command(OUTPUT ${ORVANTA_ICON_FILES}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:orvanta_icons> ${ORVANTA_ICON_DIR} ${ORVANTA_APP_ID}
  DEPENDS orvanta_icons
  COMMENT "Painting the program icon for the icon theme")
add_custom_target(orvanta_icon_files ALL DEPENDS ${ORVANTA_ICON_FILES})
install(DIRECTORY ${ORVANTA_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
