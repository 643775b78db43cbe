# The Windows zone names and libical's zone data as the Windows build ships it (run under Wine
# when cross-built).
vessory_add_tests(windows_calendar_tests windows_zone_names_test.cpp windows_zone_data_test.cpp)
target_link_libraries(windows_calendar_tests PRIVATE vessory_calendar)
