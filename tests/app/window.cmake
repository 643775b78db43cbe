# Window tests: offscreen, in one executable with its own main() (the window needs a
# QApplication). The export tests compare with the console tool, whose path they get at compile
# time, and start it the POSIX way.
find_package(Qt6 REQUIRED COMPONENTS Test)

add_executable(window_tests main_window_test.cpp start_folder_test.cpp)
if(UNIX)
  target_sources(window_tests PRIVATE window_export_test.cpp)
endif()
target_link_libraries(window_tests PRIVATE vessory_window vessory_test_support Qt6::Test GTest::gtest)
target_compile_definitions(window_tests PRIVATE
  VESSORY_EXPORT_PATH="$<TARGET_FILE:vessory-export>"
  VESSORY_BUILD_DIR="${CMAKE_BINARY_DIR}"
)
add_dependencies(window_tests vessory-export)
gtest_discover_tests(window_tests
  DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
)
