// Writes a zone folder in the layout libical reads on Windows (zones.tab and one NAME.ics per
// zone), filled from this machine's zone database as libical sees it here.
//
//   export_zoneinfo SYSTEM_ZONEINFO OUTPUT
//
// Why not the zone files that come with libical: they carry only each zone's present rules,
// stretched back to 1970, so a date-book time from, say, March 2003 in New York would come out
// an hour off on Windows and differ from the Linux build. Every zone here carries its whole
// history, exactly as the Linux build converts with it.

#include <libical/ical.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Zone files start with this mark; the folder also holds tables and scripts.
bool isZoneFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  char mark[4] = {};
  return file.read(mark, sizeof mark) && std::string(mark, 4) == "TZif";
}

// Every zone name under the system folder, aliases included (Windows' own zone names map to
// some of them, such as Asia/Calcutta); the posix/ and right/ copies and the local-time link
// are no zones of their own.
std::vector<std::string> zoneNames(const fs::path& root) {
  std::vector<std::string> names;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const std::string name = it->path().lexically_relative(root).generic_string();
    if (it->is_directory() && (name == "posix" || name == "right")) {
      it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file() || name == "localtime" || name == "posixrules" ||
        name == "Factory" || !isZoneFile(it->path())) {
      continue;
    }
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool writeZone(const std::string& name, const fs::path& output) {
  icaltimezone* zone = icaltimezone_get_builtin_timezone(name.c_str());
  if (zone == nullptr || zone == icaltimezone_get_utc_timezone()) return false;
  icalcomponent* vtimezone = icaltimezone_get_component(zone);
  if (vtimezone == nullptr) return false;
  icalcomponent* calendar = icalcomponent_new_vcalendar();
  icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
  icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Vessory//zone data//EN"));
  icalcomponent_add_component(calendar, icalcomponent_new_clone(vtimezone));
  const fs::path file = output / (name + ".ics");
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out << icalcomponent_as_ical_string(calendar);
  icalcomponent_free(calendar);
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: export_zoneinfo SYSTEM_ZONEINFO OUTPUT\n";
    return 2;
  }
  const fs::path root = argv[1];
  const fs::path output = argv[2];
  std::error_code error;
  fs::remove_all(output, error);
  fs::create_directories(output);
  // A name alone on a line: libical on Windows needs no coordinates to find a zone.
  std::ofstream table(output / "zones.tab", std::ios::binary);
  int written = 0;
  for (const std::string& name : zoneNames(root)) {
    if (!writeZone(name, output)) continue;
    table << name << '\n';
    ++written;
  }
  if (!table || written == 0) {
    std::cerr << "export_zoneinfo: no zones written to " << output << '\n';
    return 1;
  }
  std::cout << written << " zones\n";
  return 0;
}
