# The window front end (vessory) on Qt 6 Widgets. Included from this folder's CMakeLists.txt.
find_package(Qt6 6.2 REQUIRED COMPONENTS Widgets)
include(GNUInstallDirs)

add_library(vessory_window STATIC
  location_lists.cpp
  main_window.cpp
  main_window_controls.cpp
  message_presenter.cpp
  start_folder.cpp
)
set_target_properties(vessory_window PROPERTIES AUTOMOC ON)
target_link_libraries(vessory_window PUBLIC vessory_export Qt6::Widgets)
qt_add_resources(vessory_window vessory_icons
  PREFIX /icons
  BASE resources
  FILES resources/vessory-16.xpm resources/vessory-32.xpm resources/vessory-48.xpm
)

add_executable(vessory WIN32 window_main.cpp)
target_link_libraries(vessory PRIVATE vessory_window)

# Desktops look for PNG icons; the XPM images are the one source of the drawing.
add_executable(xpm_to_png resources/xpm_to_png.cpp)
target_link_libraries(xpm_to_png PRIVATE Qt6::Gui)
set(vessory_icon_pngs)
foreach(size 16 32 48)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}/vessory.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icons/${size}
    COMMAND xpm_to_png ${CMAKE_CURRENT_SOURCE_DIR}/resources/vessory-${size}.xpm ${png}
    DEPENDS xpm_to_png resources/vessory-${size}.xpm
    VERBATIM)
  list(APPEND vessory_icon_pngs ${png})
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(vessory_icon_pngs ALL DEPENDS ${vessory_icon_pngs})

install(TARGETS vessory RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/vessory.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
