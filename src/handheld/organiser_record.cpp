#include "handheld/organiser_record.h"

#include <array>
#include <bit>
#include <cstdint>

#include "handheld/byte_cursor.h"
#include "handheld/handheld_format.h"
#include "handheld/packed_date.h"

namespace vessory::handheld {

namespace {

using archive::ContactRecord;
using Problem = std::optional<std::string>;

constexpr std::uint32_t kPresenceMask = (1u << kAddressFieldCount) - 1;

// Written name and reading, split at the first 0x01.
void setName(std::string text, std::string& name, std::string& reading) {
  const std::size_t separator = text.find(kReadingSeparator);
  if (separator != std::string::npos) {
    reading = text.substr(separator + 1);
    text.resize(separator);
  }
  name = std::move(text);
}

// Where field `index` goes; null for the names and phones, which are placed by the caller.
std::string* plainField(ContactRecord& out, int index) {
  switch (index) {
    case 2:
      return &out.company;
    case 8:
      return &out.address;
    case 9:
      return &out.city;
    case 10:
      return &out.state;
    case 11:
      return &out.zipCode;
    case 12:
      return &out.country;
    case 13:
      return &out.title;
    case 14:
    case 15:
    case 16:
    case 17:
      return &out.custom[index - 14];
    case 18:
      return &out.note;
    default:
      return nullptr;
  }
}

void placeField(ContactRecord& out, int index, std::string text) {
  if (index == 0) {
    setName(std::move(text), out.lastName, out.lastNameReading);
  } else if (index == 1) {
    setName(std::move(text), out.firstName, out.firstNameReading);
  } else if (index >= kFirstPhoneField && index < kFirstPhoneField + archive::kPhoneCount) {
    out.phones[index - kFirstPhoneField].value = std::move(text);
  } else if (std::string* field = plainField(out, index)) {
    *field = std::move(text);
  }
}

}  // namespace

std::optional<std::string> unpackContact(std::span<const unsigned char> bytes, ContactRecord& out) {
  if (bytes.size() < kAddressFixedSize) return "it is shorter than an address's fixed 9 bytes";
  const std::uint32_t labels = *bigEndianAt(bytes, 0, 4);
  // Bits above the last field are reserved; they promise nothing.
  const std::uint32_t present = *bigEndianAt(bytes, 4, 4) & kPresenceMask;
  for (int phone = 0; phone < archive::kPhoneCount; ++phone) {
    out.phones[phone].label = (labels >> (phone * kPhoneLabelBits)) & 0x0F;
  }
  // The company offset (byte 8) only repeats where the company text starts.
  ByteCursor cursor(bytes.subspan(kAddressFixedSize));
  int read = 0;
  for (int index = 0; index < kAddressFieldCount; ++index) {
    if ((present & (1u << index)) == 0) continue;
    std::optional<std::string> text = cursor.text();
    if (!text) {
      return "its presence bits promise " + std::to_string(std::popcount(present)) +
             " texts; it holds " + std::to_string(read);
    }
    ++read;
    placeField(out, index, std::move(*text));
  }
  return std::nullopt;
}

std::optional<std::string> unpackTodo(std::span<const unsigned char> bytes,
                                      archive::TodoRecord& out) {
  if (bytes.size() < kTodoFixedSize) return "it is shorter than a to-do's fixed 3 bytes";
  const auto due = static_cast<std::uint16_t>(*bigEndianAt(bytes, 0, 2));
  if (due != kNoDate) {
    out.dueDate = unpackDate(due);
    if (!out.dueDate) return "its due date " + packedHex(due) + " names no day";
  }
  out.completed = (bytes[2] & kTodoCompleted) != 0;
  out.priority = bytes[2] & kTodoPriorityMask;
  ByteCursor cursor(bytes.subspan(kTodoFixedSize));
  std::optional<std::string> description = cursor.text();
  if (!description) return "its description lacks its closing NUL";
  std::optional<std::string> note = cursor.text();
  if (!note) return "its note lacks its closing NUL";
  out.description = std::move(*description);
  out.note = std::move(*note);
  return std::nullopt;
}

std::optional<std::string> unpackMemo(std::span<const unsigned char> bytes,
                                      archive::MemoRecord& out) {
  ByteCursor cursor(bytes);
  std::optional<std::string> text = cursor.text();
  if (!text) return "its text lacks its closing NUL";
  out.text = std::move(*text);
  return std::nullopt;
}

}  // namespace vessory::handheld
