// The system's zone on Windows: the registry name of the zone the clock is set to, mapped to
// its IANA name through CLDR's table.

#include <windows.h>

#include "calendar/system_zone.h"
#include "calendar/windows_zone_names.h"

namespace vessory::calendar {

namespace {

// Zone key names are plain ASCII ("Pacific SA Standard Time"); anything else cannot be in the
// table, so it is turned away instead of converted.
std::string asciiName(const WCHAR* wide) {
  std::string name;
  for (; *wide != L'\0'; ++wide) {
    if (*wide < 0x20 || *wide > 0x7E) return {};
    name.push_back(static_cast<char>(*wide));
  }
  return name;
}

}  // namespace

std::string systemZoneName() {
  DYNAMIC_TIME_ZONE_INFORMATION info{};
  if (GetDynamicTimeZoneInformation(&info) == TIME_ZONE_ID_INVALID) return {};
  const std::string key = asciiName(info.TimeZoneKeyName);
  if (key.empty()) return {};
  return ianaZoneForWindowsName(key);
}

}  // namespace vessory::calendar
