#ifndef VESSORY_CALENDAR_SYSTEM_ZONE_H_
#define VESSORY_CALENDAR_SYSTEM_ZONE_H_

#include <string>
#ifndef _WIN32
#include <filesystem>
#include <string_view>
#endif

namespace vessory::calendar {

// The IANA name ("Europe/Berlin") of the zone this computer's clock is set to, or empty when it
// cannot be told. On Linux: the TZ variable when it names a zone, else the zone file
// /etc/localtime links to, else /etc/timezone. On Windows: the system's zone, mapped from its
// Windows name through the table Unicode's CLDR publishes.
std::string systemZoneName();

#ifndef _WIN32
// The same from a TZ value (empty when the variable is unset) and the two files, in that order.
// The link comes before the name file because setting the zone (timedatectl on Debian) replaces
// only the link and may leave a stale name behind.
std::string systemZoneName(std::string_view tzValue, const std::filesystem::path& localtimeLink,
                           const std::filesystem::path& timezoneFile);
#endif

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_SYSTEM_ZONE_H_
