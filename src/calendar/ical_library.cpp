#include "calendar/ical_library.h"

#include <cstdlib>

#ifndef VESSORY_ICAL_LINKED
#include <dlfcn.h>
#endif

namespace vessory::calendar {

namespace {

struct LoadedIcal {
  IcalFunctions functions;
  std::string problem;
};

#ifdef VESSORY_ICAL_LINKED

LoadedIcal loadIcal(const std::string& /*library*/) {
  LoadedIcal loaded;
#define VESSORY_ICAL_LINK(name) loaded.functions.name = &::name;
  VESSORY_ICAL_FUNCTIONS(VESSORY_ICAL_LINK)
#undef VESSORY_ICAL_LINK
  return loaded;
}

#else

// The library is never closed: zones it hands out are kept by the clocks for the process's life.
LoadedIcal loadIcal(const std::string& library) {
  LoadedIcal loaded;
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    loaded.problem = "The calendar library " + library +
                     " cannot be loaded: " + (why != nullptr ? why : "reason unknown");
    return loaded;
  }
  // A library of that name without one of the functions is some other version: refused whole,
  // so that no calendar is half written with it.
  std::string missing;
#define VESSORY_ICAL_FIND(name)                                                      \
  loaded.functions.name = reinterpret_cast<decltype(&::name)>(dlsym(handle, #name)); \
  if (loaded.functions.name == nullptr && missing.empty()) missing = #name;
  VESSORY_ICAL_FUNCTIONS(VESSORY_ICAL_FIND)
#undef VESSORY_ICAL_FIND
  if (!missing.empty()) {
    loaded.problem = "The calendar library " + library + " lacks " + missing +
                     "; it is not the version this program was built with";
    dlclose(handle);
  }
  return loaded;
}

#endif

#ifdef VESSORY_ICAL_LIBRARY
constexpr const char* kIcalLibrary = VESSORY_ICAL_LIBRARY;
#else
constexpr const char* kIcalLibrary = "libical";
#endif

const LoadedIcal& loadedIcal() {
  static const LoadedIcal loaded = loadIcal(kIcalLibrary);
  return loaded;
}

}  // namespace

const std::string& icalProblem() { return loadedIcal().problem; }

std::string icalProblemWith(const std::string& library) { return loadIcal(library).problem; }

const IcalFunctions& ical() {
  const LoadedIcal& loaded = loadedIcal();
  // Every run opens a clock first, which refuses with the problem; reaching here without the
  // library is a fault of the program, and a null call would be worse than stopping.
  if (!loaded.problem.empty()) std::abort();
  return loaded.functions;
}

}  // namespace vessory::calendar
