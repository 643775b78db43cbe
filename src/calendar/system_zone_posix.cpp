// The system's zone on POSIX systems.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "calendar/system_zone.h"

namespace vessory::calendar {

namespace {

namespace fs = std::filesystem;

constexpr char kZoneInfoMarker[] = "zoneinfo/";

// "zoneinfo/Europe/Berlin" anywhere in a path gives "Europe/Berlin".
std::string zoneAfterMarker(const std::string& path) {
  const std::size_t at = path.rfind(kZoneInfoMarker);
  if (at == std::string::npos) return {};
  return path.substr(at + sizeof kZoneInfoMarker - 1);
}

// TZ=":Europe/Berlin", TZ="Europe/Berlin" and TZ="/usr/share/zoneinfo/Europe/Berlin" name a
// zone; POSIX rule strings ("CET-1CEST") do not, and are passed over.
std::string zoneFromVariable(std::string_view value) {
  if (value.empty()) return {};
  std::string name(value);
  if (name.front() == ':') name.erase(0, 1);
  if (!name.empty() && name.front() == '/') return zoneAfterMarker(name);
  if (name.find_first_of(",<>") != std::string::npos) return {};
  std::error_code error;
  if (!fs::is_regular_file(fs::path("/usr/share/zoneinfo") / name, error)) return {};
  return name;
}

std::string zoneFromTimezoneFile(const fs::path& path) {
  std::ifstream file(path);
  std::string name;
  if (!std::getline(file, name)) return {};
  while (!name.empty() && (name.back() == ' ' || name.back() == '\r')) name.pop_back();
  return name;
}

std::string zoneFromLocaltimeLink(const fs::path& path) {
  std::error_code error;
  const fs::path target = fs::read_symlink(path, error);
  if (error) return {};
  return zoneAfterMarker(target.generic_string());
}

}  // namespace

std::string systemZoneName() {
  const char* value = std::getenv("TZ");
  return systemZoneName(value == nullptr ? "" : value, "/etc/localtime", "/etc/timezone");
}

std::string systemZoneName(std::string_view tzValue, const fs::path& localtimeLink,
                           const fs::path& timezoneFile) {
  if (std::string name = zoneFromVariable(tzValue); !name.empty()) return name;
  if (std::string name = zoneFromLocaltimeLink(localtimeLink); !name.empty()) return name;
  return zoneFromTimezoneFile(timezoneFile);
}

}  // namespace vessory::calendar
