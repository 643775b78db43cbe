#ifndef VESSORY_HANDHELD_ORGANISER_RECORD_H_
#define VESSORY_HANDHELD_ORGANISER_RECORD_H_

#include <optional>
#include <span>
#include <string>

#include "archive/organiser_records.h"

namespace vessory::handheld {

// Unpack the bytes of one address, to-do or memo record into `out`, which should be a fresh
// record whose basics (id, deleted, private, category) the caller sets. Text stays as the
// database's bytes. Each returns why the record cannot be read whole -- a text without its NUL,
// presence bits that promise more texts than the record holds, a due date that names no day --
// and `out` is then unspecified.

// Japanese handhelds keep a name's reading after the written name and a 0x01 byte; the two are
// split into the name and its reading.
std::optional<std::string> unpackContact(std::span<const unsigned char> bytes,
                                         archive::ContactRecord& out);

// A due date of FFFF is none; any other is kept as the day itself (dueDate).
std::optional<std::string> unpackTodo(std::span<const unsigned char> bytes,
                                      archive::TodoRecord& out);

std::optional<std::string> unpackMemo(std::span<const unsigned char> bytes,
                                      archive::MemoRecord& out);

}  // namespace vessory::handheld

#endif  // VESSORY_HANDHELD_ORGANISER_RECORD_H_
