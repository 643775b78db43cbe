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
std::string zoneFromVariable() {
  const char* value = std::getenv("TZ");
  if (value == nullptr || *value == '\0') return {};
  std::string name = value;
  if (name.front() == ':') name.erase(0, 1);
  if (!name.empty() && name.front() == '/') return zoneAfterMarker(name);
  if (name.find_first_of(",<>") != std::string::npos) return {};
  std::error_code error;
  if (!fs::is_regular_file(fs::path("/usr/share/zoneinfo") / name, error)) return {};
  return name;
}

std::string zoneFromTimezoneFile() {
  std::ifstream file("/etc/timezone");
  std::string name;
  if (!std::getline(file, name)) return {};
  while (!name.empty() && (name.back() == ' ' || name.back() == '\r')) name.pop_back();
  return name;
}

std::string zoneFromLocaltimeLink() {
  std::error_code error;
  const fs::path target = fs::read_symlink("/etc/localtime", error);
  if (error) return {};
  return zoneAfterMarker(target.generic_string());
}

}  // namespace

std::string systemZoneName() {
  if (std::string name = zoneFromVariable(); !name.empty()) return name;
  if (std::string name = zoneFromTimezoneFile(); !name.empty()) return name;
  return zoneFromLocaltimeLink();
}

}  // namespace vessory::calendar
