#ifndef VESSORY_CALENDAR_SYSTEM_ZONE_H_
#define VESSORY_CALENDAR_SYSTEM_ZONE_H_

#include <string>

namespace vessory::calendar {

// The IANA name ("Europe/Berlin") of the zone this computer's clock is set to, or empty when it
// cannot be told. On Linux: the TZ variable when it names a zone, else /etc/timezone, else the
// zone file /etc/localtime links to. On Windows: the system's zone, mapped from its Windows name
// through the table Unicode's CLDR publishes.
std::string systemZoneName();

}  // namespace vessory::calendar

#endif  // VESSORY_CALENDAR_SYSTEM_ZONE_H_
