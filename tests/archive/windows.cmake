# The code-page text converter (run under Wine when cross-built).
vessory_add_tests(windows_archive_tests windows_text_converter_test.cpp)
target_link_libraries(windows_archive_tests PRIVATE vessory_archive)
