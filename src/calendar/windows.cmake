# The calendar library on Windows: libical built for Windows (found through LibIcal_DIR or
# CMAKE_PREFIX_PATH), the system's zone name from the Windows zone table, and libical's zone
# data beside every program.

find_package(LibIcal CONFIG REQUIRED)
find_package(Threads REQUIRED)
# A static libical's export file does not tell its headers so; without the word they would
# declare every symbol as coming from a DLL.
get_target_property(libical_type ical TYPE)
if(libical_type STREQUAL "STATIC_LIBRARY")
  set(libical_static LIBICAL_ICAL_STATIC_DEFINE)
endif()
target_compile_definitions(vessory_calendar PUBLIC ${libical_static} PRIVATE VESSORY_ICAL_LINKED)
target_link_libraries(vessory_calendar PUBLIC ical Threads::Threads)

# Windows zone name -> IANA name, generated from Unicode's CLDR table whenever that file changes
# (Debian package unicode-cldr-core).
set(VESSORY_WINDOWS_ZONES_XML /usr/share/unicode/cldr/common/supplemental/windowsZones.xml
  CACHE FILEPATH "CLDR's windowsZones.xml, the source of the Windows zone name table")
if(NOT EXISTS "${VESSORY_WINDOWS_ZONES_XML}")
  message(FATAL_ERROR "No CLDR windowsZones.xml at ${VESSORY_WINDOWS_ZONES_XML} (on Debian: "
    "apt-get install unicode-cldr-core; elsewhere set VESSORY_WINDOWS_ZONES_XML)")
endif()
set(zone_table ${CMAKE_CURRENT_BINARY_DIR}/windows_zone_table.inc)
set(zone_table_script ${PROJECT_SOURCE_DIR}/cmake/generate_windows_zone_table.cmake)
add_custom_command(OUTPUT ${zone_table}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${VESSORY_WINDOWS_ZONES_XML} -DOUTPUT=${zone_table}
          -P ${zone_table_script}
  DEPENDS ${VESSORY_WINDOWS_ZONES_XML} ${zone_table_script}
  COMMENT "Windows zone names from CLDR"
  VERBATIM)
target_sources(vessory_calendar PRIVATE system_zone_windows.cpp windows_zone_names.cpp
  ${zone_table})
target_include_directories(vessory_calendar PRIVATE ${CMAKE_CURRENT_BINARY_DIR})

# libical on Windows reads its zones at run time from a folder (zones.tab, NAME.ics). The
# folder goes beside the programs, in the build and in the installed tree, and every program
# that links the calendar library points libical at it before main. That code must reach the
# program even though nothing calls it, so its object goes to each program directly instead of
# through the static library.
if(VESSORY_ZONEINFO_DIR)
  set(zoneinfo ${VESSORY_ZONEINFO_DIR})
else()
  # libical's own data, from its install tree: only each zone's present rules.
  get_filename_component(zoneinfo "${LibIcal_DIR}/../../../share/libical/zoneinfo" ABSOLUTE)
endif()
if(NOT EXISTS "${zoneinfo}/zones.tab")
  message(FATAL_ERROR "No libical zone data (zones.tab) in ${zoneinfo}; set VESSORY_ZONEINFO_DIR")
endif()
add_library(vessory_zone_data OBJECT zone_data_windows.cpp)
target_link_libraries(vessory_zone_data PRIVATE ical)
target_compile_definitions(vessory_zone_data PRIVATE ${libical_static})
target_sources(vessory_calendar INTERFACE $<TARGET_OBJECTS:vessory_zone_data>)

add_custom_target(vessory_zoneinfo ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${zoneinfo} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/zoneinfo
  COMMENT "libical zone data beside the programs"
  VERBATIM)
add_dependencies(vessory_calendar vessory_zoneinfo)
install(DIRECTORY ${zoneinfo}/ DESTINATION bin/zoneinfo)
