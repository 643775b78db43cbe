#ifndef VESSORY_CONTACTS_VCARD_WRITER_H_
#define VESSORY_CONTACTS_VCARD_WRITER_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "archive/organiser_records.h"
#include "archive/record_uids.h"
#include "archive/text_converter.h"

namespace vessory::contacts {

// Writes address book records as vCard 3.0 cards, one after the other, for a file that holds
// them all. A card carries the name (N, FN), company (ORG), title, every phone and e-mail
// address by its label, the address, the note with the custom fields after it, the category,
// CLASS:PRIVATE for a private record, the names' readings (SORT-STRING) where a Japanese
// handheld kept them, and a UID built from the record id and the catalogue's identity ("-2",
// "-3", ... after it for further records of an id, so that no two cards of a file share one).
// What a later handheld's contact adds: seven phones, three addresses typed by their labels, the
// web site (URL), instant-messaging names (X-AIM, X-MSN, X-YAHOO, X-ICQ; other services as "IM:"
// lines at the end of the note), BDAY, X-ANNIVERSARY, the picture (PHOTO) and nine custom
// fields.
// Properties without a value are left out; N is always written (";;;;" when there is no name).
//
// The writer keeps its buffers from card to card, so a large address book costs no allocation
// per card, and converts each category name and custom label once. The catalogue and the
// converter must outlive it; records of one container only. One thread at a time.
class VCardWriter {
 public:
  VCardWriter(const archive::OrganiserCatalogue& catalogue, archive::TextConverter& converter);

  // Appends the card of `record`, every line ended by CR LF.
  void append(const archive::ContactRecord& record, std::string& out);

 private:
  static constexpr int kAddressParts = 5;  // street, city, state, zip code, country
  // The record's text fields, converted, in text_.
  enum Field {
    kLastName,
    kFirstName,
    kLastNameReading,
    kFirstNameReading,
    kTitle,
    kCompany,
    kAddress,
    kCity,
    kState,
    kZipCode,
    kCountry,
    kNote,
    kFirstPhone,
    kFirstCustom = kFirstPhone + archive::kMaxPhoneCount,
    kFirstMoreAddress = kFirstCustom + archive::kMaxCustomFieldCount,
    kFirstInstantMessage = kFirstMoreAddress + kAddressParts * (archive::kLaterAddressCount - 1),
    kWebSite = kFirstInstantMessage + archive::kInstantMessageCount,
    kFieldCount
  };

  void convertFields(const archive::ContactRecord& record);
  void appendNames(std::string& out);
  void appendPhones(const archive::ContactRecord& record, std::string& out);
  void appendAddress(const archive::ContactRecord& record, std::string& out);
  void appendAddressLine(std::optional<std::int64_t> label, int firstField, std::string& out);
  void appendOnline(const archive::ContactRecord& record, std::string& out);
  void appendDate(std::string_view head, const std::optional<archive::CalendarDate>& date,
                  std::string& out);
  void appendNote(const archive::ContactRecord& record, std::string& out);
  void appendFiling(const archive::ContactRecord& record, std::string& out);
  // FN: "first last", else the company, else the first phone or e-mail address, else Unnamed.
  std::string_view fullName();
  const std::string& customLabel(int field);
  const std::string& categoryName(std::int64_t index);

  // Writes `head` and `value` escaped as one line, or nothing when `value` is empty.
  void appendTextLine(std::string_view head, std::string_view value, std::string& out);

  const archive::OrganiserCatalogue& catalogue_;
  archive::TextConverter& converter_;
  archive::RecordUids uids_;
  std::array<std::string, kFieldCount> text_;
  std::string line_;   // the content line being built, before folding
  std::string value_;  // a value put together from several fields
  std::array<std::optional<std::string>, archive::kMaxCustomFieldCount> customLabels_;
  // Converted names of the categories the catalogue holds, as they are first asked for.
  std::vector<std::pair<std::int64_t, std::string>> categoryNames_;
};

// One card on its own; a file of many cards keeps one VCardWriter for all of them.
void appendVCard(const archive::ContactRecord& record, const archive::OrganiserCatalogue& catalogue,
                 archive::TextConverter& converter, std::string& out);

}  // namespace vessory::contacts

#endif  // VESSORY_CONTACTS_VCARD_WRITER_H_
