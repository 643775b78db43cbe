// Points libical at the zone data of the WebAssembly build.
//
// libical reads every zone from NAME.ics files in a "zoneinfo" folder. The console tool under
// Node reads the real file system, and its zone folder lies beside its script, which the
// script's start names in Module.vessoryZoneFolder; the web page's module carries the folder
// in its own file system at /zoneinfo. This runs before main (web.cmake links the object into
// every program), before anything has asked libical for a zone, so the setting takes hold.

#include <libical/ical.h>

#include <cstdlib>

// The folder's path, allocated with malloc for the caller to free (src/web/web_library.js).
extern "C" char* vessory_zone_folder();

namespace vessory::calendar {
namespace {

struct ZoneDataOfModule {
  ZoneDataOfModule() {
    char* folder = vessory_zone_folder();
    set_zone_directory(folder);  // libical keeps a copy
    std::free(folder);
  }
};

const ZoneDataOfModule kZoneDataOfModule;

}  // namespace
}  // namespace vessory::calendar
