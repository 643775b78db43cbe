# The calendar library in the WebAssembly build: libical built for WebAssembly (found through
# LibIcal_DIR), linked in as on Windows, and its zone data read at run time from a folder
# (zones.tab and NAME.ics, written by tools/zoneinfo from the build machine's zone database),
# which zone_data_web.cpp points libical at before main.
find_package(LibIcal CONFIG REQUIRED)
target_compile_definitions(vessory_calendar PUBLIC LIBICAL_ICAL_STATIC_DEFINE
  PRIVATE VESSORY_ICAL_LINKED)
target_link_libraries(vessory_calendar PUBLIC ical)
target_sources(vessory_calendar PRIVATE system_zone_posix.cpp)
# Nothing calls it: its object goes to each program directly, not through the static library.
add_library(vessory_zone_data OBJECT zone_data_web.cpp)
target_link_libraries(vessory_zone_data PRIVATE ical)
target_compile_definitions(vessory_zone_data PRIVATE LIBICAL_ICAL_STATIC_DEFINE)
target_sources(vessory_calendar INTERFACE $<TARGET_OBJECTS:vessory_zone_data>)
