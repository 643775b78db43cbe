#ifndef VESSORY_HANDHELD_HANDHELD_APPLICATIONS_H_
#define VESSORY_HANDHELD_HANDHELD_APPLICATIONS_H_

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "archive/organiser_records.h"

// The applications whose databases are read, and which of them wrote a database, told from its
// header. Internal to the database reader (handheld_database.cpp), which opens a database by it
// and names the application in its messages.
namespace vessory::handheld {

struct Application {
  std::string_view creator;
  archive::RecordKind kind;
  std::size_t appInfoSize;
  const char* name;
  // The later applications share their creator with other databases: only this one is theirs.
  std::string_view databaseName;
};

// The application of `kind`, of the later handhelds when `later`.
const Application& application(archive::RecordKind kind, bool later);

// The application whose records the database with the 78-byte header `bytes` and the name
// `name` holds; none, with `error` saying what the database is instead, when it is no database
// of theirs.
const Application* recognise(std::span<const unsigned char> bytes, const std::string& name,
                             std::string& error);

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_HANDHELD_APPLICATIONS_H_
