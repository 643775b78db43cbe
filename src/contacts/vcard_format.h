#ifndef VESSORY_CONTACTS_VCARD_FORMAT_H_
#define VESSORY_CONTACTS_VCARD_FORMAT_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vessory::contacts {

// What a written vCard 3.0 is made of. A file is the cards one after the other; a card is
//
//   BEGIN:VCARD CR LF
//   VERSION:3.0 CR LF           (always the second line)
//   NAME[;TYPE=...]:value CR LF (one content line per property)
//   END:VCARD CR LF
//
// A content line longer than kMaxLineOctets octets is folded: it goes on in the next line,
// which starts with one blank that a reader drops. The blank counts towards that line's octets;
// CR LF does not. Text values escape backslash, comma, semicolon and newline with a backslash
// (newline as "\n"); structured values (N, ADR) separate their components with a bare ';'.

inline constexpr std::size_t kMaxLineOctets = 75;
inline constexpr std::string_view kLineEnd{"\r\n"};
inline constexpr char kFoldBlank = ' ';

inline constexpr std::string_view kBeginCard{"BEGIN:VCARD"};
inline constexpr std::string_view kVersion{"VERSION:3.0"};
inline constexpr std::string_view kEndCard{"END:VCARD"};

// Heads of the content lines, up to and including the colon.
inline constexpr std::string_view kNameHead{"N:"};
inline constexpr std::string_view kFullNameHead{"FN:"};
inline constexpr std::string_view kOrganisationHead{"ORG:"};
inline constexpr std::string_view kTitleHead{"TITLE:"};
inline constexpr std::string_view kAddressHead{"ADR:;;"};  // no post office box, no extended part
// A later handheld's addresses by their label code: 0 work, 1 home, 2 (and others) no type.
inline constexpr std::string_view kWorkAddressHead{"ADR;TYPE=WORK:;;"};
inline constexpr std::string_view kHomeAddressHead{"ADR;TYPE=HOME:;;"};
inline constexpr std::string_view kUrlHead{"URL:"};
inline constexpr std::string_view kBirthdayHead{"BDAY:"};
inline constexpr std::string_view kAnniversaryHead{"X-ANNIVERSARY:"};
inline constexpr std::string_view kPhotoHead{"PHOTO;ENCODING=b;TYPE=JPEG:"};
// Instant messaging by the service's label code: 1 AIM, 2 MSN, 3 Yahoo, 4 ICQ; 0 (other) and
// any other code go into the note as "IM: name".
inline constexpr std::array<std::string_view, 5> kInstantMessageHeads{"", "X-AIM:", "X-MSN:",
                                                                      "X-YAHOO:", "X-ICQ:"};
inline constexpr std::string_view kOtherInstantMessageLabel{"IM: "};
inline constexpr std::string_view kNoteHead{"NOTE:"};
inline constexpr std::string_view kCategoriesHead{"CATEGORIES:"};
inline constexpr std::string_view kPrivateLine{"CLASS:PRIVATE"};
inline constexpr std::string_view kSortStringHead{"SORT-STRING:"};
inline constexpr std::string_view kUidHead{"UID:"};

// UID: address-<record id in decimal>-<archive identity>[-<n>]@vessory (archive::RecordUids).
inline constexpr std::string_view kUidKind{"address"};

// FN when the card has no name, company, phone or e-mail address.
inline constexpr std::string_view kUnnamed{"Unnamed"};
// The label of a custom field the catalogue leaves unnamed: "Custom 1" to "Custom 9".
inline constexpr std::string_view kCustomLabelStem{"Custom "};
inline constexpr std::string_view kCustomLabelSeparator{": "};

// The content-line head of a phone by its label code: 0 Work, 1 Home, 2 Fax, 3 Other, 4 E-mail,
// 5 Main, 6 Pager, 7 Mobile.
inline constexpr std::array<std::string_view, 8> kPhoneHeads{
    "TEL;TYPE=WORK,VOICE:", "TEL;TYPE=HOME,VOICE:", "TEL;TYPE=FAX:",   "TEL;TYPE=VOICE:",
    "EMAIL;TYPE=INTERNET:", "TEL;TYPE=MAIN:",       "TEL;TYPE=PAGER:", "TEL;TYPE=CELL,VOICE:"};
// A label code outside 0 to 7 (an archive from a later handheld, or damage): a plain number.
inline constexpr std::string_view kOtherPhoneHead{"TEL;TYPE=VOICE:"};

inline constexpr std::string_view phoneHead(std::int64_t label) {
  return label >= 0 && label < static_cast<std::int64_t>(kPhoneHeads.size())
             ? kPhoneHeads[static_cast<std::size_t>(label)]
             : kOtherPhoneHead;
}

}  // namespace vessory::contacts

#endif  // VESSORY_CONTACTS_VCARD_FORMAT_H_
