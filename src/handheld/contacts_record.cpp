#include "handheld/contacts_record.h"

#include <bit>

#include "handheld/byte_cursor.h"
#include "handheld/handheld_format.h"
#include "handheld/later_format.h"
#include "handheld/packed_date.h"

namespace vessory::handheld {

namespace {

using archive::ContactRecord;
using Bytes = std::span<const unsigned char>;
using Problem = std::optional<std::string>;

constexpr std::uint32_t kWordOneMask = (1u << kContactWordOneFields) - 1;
constexpr std::uint32_t kWordTwoMask = (1u << (kContactFieldCount - kContactWordOneFields)) - 1;
constexpr unsigned char kJpegMarker[] = {0xFF, 0xD8};

void setName(std::string text, std::string& name, std::string& reading) {
  const std::size_t separator = text.find(kReadingSeparator);
  if (separator != std::string::npos) {
    reading = text.substr(separator + 1);
    text.resize(separator);
  }
  name = std::move(text);
}

// The text of an address part: street, city, state, zip code, country.
std::string* addressPart(ContactRecord& out, int address, int part) {
  if (address == 0) {
    std::string* first[] = {&out.address, &out.city, &out.state, &out.zipCode, &out.country};
    return first[part];
  }
  archive::PostalAddress& more = out.moreAddresses[address - 1];
  std::string* fields[] = {&more.street, &more.city, &more.state, &more.zipCode, &more.country};
  return fields[part];
}

std::string* plainField(ContactRecord& out, int index) {
  if (index == 2) return &out.company;
  if (index == 3) return &out.title;
  if (index >= kContactFirstPhone && index < kContactFirstIm) {
    return &out.phones[index - kContactFirstPhone].value;
  }
  if (index >= kContactFirstIm && index < kContactWebSite) {
    return &out.instantMessages[index - kContactFirstIm].value;
  }
  if (index == kContactWebSite) return &out.webSite;
  if (index >= kContactFirstCustom && index < kContactFirstAddress) {
    return &out.custom[index - kContactFirstCustom];
  }
  if (index >= kContactFirstAddress && index < kContactNote) {
    const int offset = index - kContactFirstAddress;
    return addressPart(out, offset / kContactAddressFields, offset % kContactAddressFields);
  }
  return index == kContactNote ? &out.note : nullptr;
}

void placeField(ContactRecord& out, int index, std::string text) {
  if (index == 0) {
    setName(std::move(text), out.lastName, out.lastNameReading);
  } else if (index == 1) {
    setName(std::move(text), out.firstName, out.firstNameReading);
  } else if (std::string* field = plainField(out, index)) {
    *field = std::move(text);
  }
}

void setLabels(Bytes bytes, ContactRecord& out) {
  const std::uint32_t phones = *bigEndianAt(bytes, 0, 4);
  // The high nibble of the address word and the high byte of the IM word are reserved.
  const std::uint32_t addresses = *bigEndianAt(bytes, 4, 2) & 0x0FFF;
  const std::uint32_t ims = *bigEndianAt(bytes, 6, 2) & 0x00FF;
  for (int i = 0; i < archive::kMaxPhoneCount; ++i) {
    out.phones[i].label = (phones >> (i * kPhoneLabelBits)) & 0x0F;
  }
  out.addressLabel = addresses & 0x0F;
  for (int i = 1; i < archive::kLaterAddressCount; ++i) {
    out.moreAddresses[i - 1].label = (addresses >> (i * kPhoneLabelBits)) & 0x0F;
  }
  for (int i = 0; i < archive::kInstantMessageCount; ++i) {
    out.instantMessages[i].label = (ims >> (i * kPhoneLabelBits)) & 0x0F;
  }
}

Problem readBirthday(ByteCursor& cursor, std::uint32_t wordTwo, ContactRecord& out) {
  if ((wordTwo & kContactHasBirthday) != 0) {
    const std::optional<std::uint32_t> packed = cursor.number(2);
    if (!packed) return std::string("its birthday runs past the record's end");
    const auto date = static_cast<std::uint16_t>(*packed);
    if (date != kNoDate) {
      out.birthday = unpackDate(date);
      if (!out.birthday) return "its birthday " + packedHex(date) + " names no day";
    }
  }
  if ((wordTwo & kContactHasBirthdayFlags) != 0 && !cursor.skip(2)) {
    return std::string("its birthday flags run past the record's end");
  }
  if ((wordTwo & kContactHasReminder) != 0 && !cursor.skip(1)) {
    return std::string("its birthday reminder runs past the record's end");
  }
  return std::nullopt;
}

void readBlob(const Blob& blob, ContactRecord& out) {
  if (blob.id == kBlobZoneOrPicture) {
    const Bytes picture = blob.content.size() >= kPictureWordSize
                              ? blob.content.subspan(kPictureWordSize)
                              : Bytes();
    // Another kind of picture, or none, is not what the vCard's JPEG photo can carry.
    if (picture.size() < 2 || picture[0] != kJpegMarker[0] || picture[1] != kJpegMarker[1]) {
      return;
    }
    out.photo.assign(reinterpret_cast<const char*>(picture.data()), picture.size());
  } else if (blob.id == kBlobMeetingOrAnniversary) {
    // Written for a ring tone alone too: the date is then "none".
    const std::uint32_t date = bigEndianAt(blob.content, 0, 2).value_or(kNoDate);
    if (date != kNoDate) out.anniversary = unpackDate(static_cast<std::uint16_t>(date));
  }
}

}  // namespace

std::optional<std::string> unpackLaterContact(Bytes bytes, ContactRecord& out,
                                              RecordRemarks& remarks) {
  if (bytes.size() < kContactFixedSize) return "it is shorter than a contact's fixed 17 bytes";
  setLabels(bytes, out);
  const std::uint32_t wordOne = *bigEndianAt(bytes, 8, 4);
  const std::uint32_t wordTwo = *bigEndianAt(bytes, 12, 4);
  const std::uint64_t present =
      (wordOne & kWordOneMask) | (std::uint64_t{wordTwo & kWordTwoMask} << kContactWordOneFields);
  ByteCursor cursor(bytes.subspan(kContactFixedSize));
  int read = 0;
  for (int index = 0; index < kContactFieldCount; ++index) {
    if ((present & (std::uint64_t{1} << index)) == 0) continue;
    std::optional<std::string> text = cursor.text();
    if (!text) {
      return "its field bits promise " + std::to_string(std::popcount(present)) +
             " texts; it holds " + std::to_string(read);
    }
    ++read;
    placeField(out, index, std::move(*text));
  }
  if (Problem problem = readBirthday(cursor, wordTwo, out)) return problem;
  for (const Blob& blob : readBlobs(cursor.rest(), remarks)) readBlob(blob, out);
  return std::nullopt;
}

}  // namespace vessory::handheld
