// The Windows zone name table; its rows come from CLDR at build time (windows.cmake).

#include "calendar/windows_zone_names.h"

#include <algorithm>
#include <iterator>

namespace vessory::calendar {

namespace {

constexpr WindowsZoneName kTable[] = {
#include "windows_zone_table.inc"
};

}  // namespace

std::span<const WindowsZoneName> windowsZoneNames() { return kTable; }

std::string ianaZoneForWindowsName(std::string_view windowsName) {
  // A hundred-odd rows, looked up once per run: a plain scan keeps CLDR's order intact.
  const auto* row =
      std::find_if(std::begin(kTable), std::end(kTable),
                   [&](const WindowsZoneName& r) { return r.windows == windowsName; });
  return row == std::end(kTable) ? std::string() : std::string(row->iana);
}

}  // namespace vessory::calendar
