#ifndef VESSORY_CALENDAR_WINDOWS_ZONE_NAMES_H_
#define VESSORY_CALENDAR_WINDOWS_ZONE_NAMES_H_

#include <span>
#include <string>
#include <string_view>

namespace vessory::calendar {

// One row of the table Unicode's CLDR publishes (windowsZones.xml, territory "001"): the name
// Windows gives a zone in its registry ("W. Europe Standard Time") and the IANA zone that
// stands for it ("Europe/Berlin"). The table is generated at build time and lives as long as
// the program.
struct WindowsZoneName {
  std::string_view windows;
  std::string_view iana;
};

// The whole table, in CLDR's order.
std::span<const WindowsZoneName> windowsZoneNames();

// The IANA name for a Windows zone name (exact spelling, as the registry has it), or empty when
// CLDR does not list it.
std::string ianaZoneForWindowsName(std::string_view windowsName);

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_WINDOWS_ZONE_NAMES_H_
