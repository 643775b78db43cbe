// Address records as vCards: lines escaped and folded at every place, the name and its
// fallbacks, phones by label, text converted, custom fields after the note, category, privacy
// and UID. Every card written is read back as a contacts program reads it.

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive/format.h"
#include "contacts/vcard_lines.h"
#include "contacts/vcard_writer.h"

namespace vessory::contacts {
namespace {

using archive::ContactRecord;

// The content lines of `text`, after checking its physical lines: CR LF at each end, no other
// CR or LF, none empty, none past 75 octets, none starting inside a UTF-8 sequence (when the
// text is `utf8`).
std::vector<std::string> unfold(const std::string& text, bool utf8 = true) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; start < text.size(); start = end + 2) {
    end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "no CR LF at the end";
    if (end == std::string::npos) break;
    const std::string line = text.substr(start, end - start);
    EXPECT_TRUE(!line.empty() && line.size() <= 75 && line.find_first_of("\r\n") == line.npos &&
                (!utf8 || (static_cast<unsigned char>(line[line[0] == ' ']) & 0xC0) != 0x80))
        << line;
    if (line.starts_with(' ') && !lines.empty()) {
      lines.back() += line.substr(1);
    } else {
      lines.push_back(line);
    }
  }
  return lines;
}

std::string unescape(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && ++i < value.size()) {
      text += value[i] == 'n'                                           ? '\n'
              : std::string(",;\\").find(value[i]) != std::string::npos ? value[i]
                                                                        : '?';
    } else {
      text += value[i];
    }
  }
  return text;
}

TEST(VCardLinesTest, EscapesBackslashCommaSemicolonAndNewline) {
  for (const auto& [text, expected] :
       std::vector<std::pair<std::string_view, std::string>>{{"plain", "plain"},
                                                             {"a,b;c\\d\ne", "a\\,b\\;c\\\\d\\ne"},
                                                             {"\\n", "\\\\n"},
                                                             {",;\n\\\n", "\\,\\;\\n\\\\\\n"},
                                                             {"Bücher, café", "Bücher\\, café"}}) {
    std::string escaped = "KEEP";
    appendEscaped(text, escaped);
    EXPECT_EQ(escaped, "KEEP" + expected);
    EXPECT_EQ(unescape(expected), text);
  }
}

// Every place a fold can fall, with characters of one to four octets, and octets that are no
// UTF-8 at all: lines stay short and whole, cut no earlier than the characters need, and
// unfold to the line written.
TEST(VCardLinesTest, FoldsAtEveryPlaceWithoutSplittingCharacters) {
  for (const std::string_view wide : {"a", "é", "€", "\xF0\x9F\x98\x80", "\x80"}) {
    for (std::size_t ascii = 0; ascii <= 80; ++ascii) {
      for (int count = 0; count <= 60; ++count) {
        std::string line = "NOTE:" + std::string(ascii, 'x');
        for (int i = 0; i < count; ++i) line += wide;
        std::string out;
        appendFolded(line, out);
        ASSERT_EQ(unfold(out, wide != "\x80"), std::vector<std::string>{line})
            << ascii << " " << count;
        for (std::size_t start = 0, end = out.find("\r\n"); end + 2 < out.size();
             start = end + 2, end = out.find("\r\n", start)) {
          ASSERT_GE(end - start, 72u) << ascii << " " << count;
        }
      }
    }
  }
}

class VCardWriterTest : public ::testing::Test {
 protected:
  VCardWriterTest() {
    std::string error;
    converter_ = archive::TextConverter::open("windows-1252", error);
    catalogue_.identity = "0a1b2c3d";
    catalogue_.categories = {{1, "Business"},
                             {5, "Friends, old"},
                             {3,
                              "Gesch\xE4"
                              "ft"},
                             {7, ""}};
  }

  // The content lines of the card of `record` between VERSION and END, checked as a reader
  // checks them: BEGIN, VERSION right after it, END, known properties, no empty value.
  std::vector<std::string> write(const ContactRecord& record) {
    static const std::set<std::string> known{
        "N",   "FN",   "ORG",   "TITLE",   "TEL",   "EMAIL", "ADR",           "NOTE",
        "CLASS", "UID", "CATEGORIES", "SORT-STRING", "URL", "BDAY", "X-ANNIVERSARY", "PHOTO",
        "X-AIM", "X-MSN", "X-YAHOO", "X-ICQ"};
    std::string out;
    appendVCard(record, catalogue_, *converter_, out);
    std::vector<std::string> lines = unfold(out);
    EXPECT_TRUE(lines.size() >= 3 && lines[0] == "BEGIN:VCARD" && lines[1] == "VERSION:3.0" &&
                lines.back() == "END:VCARD")
        << out;
    if (lines.size() < 3) return {};
    lines = {lines.begin() + 2, lines.end() - 1};
    for (const std::string& line : lines) {
      EXPECT_TRUE(known.contains(line.substr(0, line.find_first_of(";:")))) << line;
      EXPECT_LT(line.find(':') + 1, line.size()) << "empty: " << line;
    }
    return lines;
  }

  // The value of the one line of `lines` whose head (up to the colon) is `head`.
  static std::optional<std::string> value(const std::vector<std::string>& lines,
                                          const std::string& head, bool raw = false) {
    std::optional<std::string> found;
    for (const std::string& line : lines) {
      if (!line.starts_with(head + ":")) continue;
      EXPECT_FALSE(found) << "two lines " << head;
      found = line.substr(head.size() + 1);
      if (!raw) found = unescape(*found);
    }
    return found;
  }

  archive::OrganiserCatalogue catalogue_;
  std::unique_ptr<archive::TextConverter> converter_;
};

ContactRecord contact(std::function<void(ContactRecord&)> set) {
  ContactRecord r;
  r.recordId = 9830401;
  set(r);
  return r;
}

TEST_F(VCardWriterTest, FullNameFallsBackInTurn) {
  struct Case {
    ContactRecord record;
    std::string fullName, name;
  };
  const std::string none(archive::kNullStringMarker);
  for (const Case& c : std::vector<Case>{
           {contact([](auto& r) { r.firstName = "Ann", r.lastName = "Archer"; }), "Ann Archer",
            "Archer;Ann;;;"},
           {contact([](auto& r) { r.lastName = "Baker"; }), "Baker", "Baker;;;;"},
           {contact([](auto& r) { r.firstName = "Pat; Sam"; }), "Pat; Sam", ";Pat\\; Sam;;;"},
           {contact([](auto& r) { r.company = "M\xFCller, S\xF6hne"; }), "Müller, Söhne", ";;;;"},
           {contact([](auto& r) {
              r.phones[1] = {4, "dee@x"}, r.phones[2] = {0, "555"};
            }),
            "dee@x", ";;;;"},
           {contact([&](auto& r) {
              r.firstName = none, r.phones[4] = {9, "555-0700"};
            }),
            "555-0700", ";;;;"},
           {contact([](auto& r) { r.title = "Chief", r.note = "Met"; }), "Unnamed", ";;;;"}}) {
    const std::vector<std::string> lines = write(c.record);
    EXPECT_EQ(value(lines, "FN"), c.fullName);
    EXPECT_EQ(value(lines, "N", true), c.name);
  }
}

TEST_F(VCardWriterTest, PhonesByLabelAndEmptyPhonesLeftOut) {
  const std::vector<std::pair<std::int64_t, std::string>> heads{
      {0, "TEL;TYPE=WORK,VOICE"}, {1, "TEL;TYPE=HOME,VOICE"}, {2, "TEL;TYPE=FAX"},
      {3, "TEL;TYPE=VOICE"},      {4, "EMAIL;TYPE=INTERNET"}, {5, "TEL;TYPE=MAIN"},
      {6, "TEL;TYPE=PAGER"},      {7, "TEL;TYPE=CELL,VOICE"}, {8, "TEL;TYPE=VOICE"},
      {-1, "TEL;TYPE=VOICE"}};
  for (const auto& [label, head] : heads) {
    const std::vector<std::string> lines = write(contact([&](auto& r) {
      for (archive::Phone& p : r.phones) p.label = label;
      r.phones[2].value = "+49 171, 1234";
    }));
    EXPECT_EQ(value(lines, head), "+49 171, 1234") << label;
    EXPECT_EQ(lines.size(), 4u) << "N, FN, UID and one phone for label " << label;
  }
}

TEST_F(VCardWriterTest, TextIsConvertedWithOneLineFeedPerBreak) {
  struct Case {
    ContactRecord record;
    std::string head, text;
    bool raw = false;
  };
  std::string accents;
  for (int i = 0; i < 300; ++i) accents += "é";
  for (const Case& c : std::vector<Case>{
           {contact([](auto& r) { r.note = "one\r\ntwo\rthree\nfour\r\n"; }), "NOTE",
            "one\ntwo\nthree\nfour\n"},
           {contact([](auto& r) { r.title = "Head\\Chief, R&D; \x80\x81"; }), "TITLE",
            "Head\\Chief, R&D; €\xEF\xBF\xBD"},
           {contact([](auto& r) { r.company = "a\\nb\x01\tc"; }), "ORG", "a\\nb\xEF\xBF\xBD\tc"},
           {contact([](auto& r) { r.note = std::string(300, '\xE9'); }), "NOTE", accents},
           {contact([](auto& r) { r.city = "Town; North", r.address = "1 St\r\nFlat 3, rear"; }),
            "ADR", ";;1 St\\nFlat 3\\, rear;Town\\; North;;;", true},
           {contact([](auto& r) { r.zipCode = "12\\34"; }), "ADR", ";;;;;12\\\\34;", true},
           {contact([](auto& r) { r.lastNameReading = "yamada", r.firstNameReading = "tarou"; }),
            "SORT-STRING", "yamada tarou"},
           {contact([](auto& r) { r.firstNameReading = "tarou"; }), "SORT-STRING", "tarou"}}) {
    EXPECT_EQ(value(write(c.record), c.head, c.raw), c.text);
  }
}

TEST_F(VCardWriterTest, CustomFieldsFollowTheNote) {
  struct Case {
    std::string note;
    std::array<std::string, archive::kMaxCustomFieldCount> custom, labels;
    std::optional<std::string> expected;
  };
  for (const Case& c : std::vector<Case>{
           {"Remember", {"Blue", "", "Tue", ""}, {}, "Remember\n\nCustom 1: Blue\nCustom 3: Tue"},
           {"",
            {"", "Spouse: Kim", "", "42, wide"},
            {},
            "Custom 2: Spouse: Kim\nCustom 4: 42, wide"},
           {"", {"first\r\nsecond"}, {}, "Custom 1: first\nsecond"},
           {"A\r\nB", {"a", "b"}, {" Birthday \r\n", "\t "}, "A\nB\n\nBirthday: a\nCustom 2: b"},
           {"Only a note", {}, {"Unused"}, "Only a note"},
           {"", {}, {"Unused"}, std::nullopt}}) {
    catalogue_.customLabels = c.labels;
    EXPECT_EQ(value(write(contact([&](auto& r) { r.note = c.note, r.custom = c.custom; })), "NOTE"),
              c.expected);
  }
}

TEST_F(VCardWriterTest, CategoryPrivacyAndUid) {
  struct Case {
    std::int64_t category;
    bool isPrivate;
    std::optional<std::string> categories;  // as written
  };
  for (const Case& c :
       {Case{1, true, "Business"}, Case{5, false, "Friends\\, old"}, Case{3, false, "Geschäft"},
        Case{0, true, std::nullopt}, Case{9, false, std::nullopt}, Case{7, false, std::nullopt}}) {
    const std::vector<std::string> lines =
        write(contact([&](auto& r) { r.category = c.category, r.isPrivate = c.isPrivate; }));
    EXPECT_EQ(value(lines, "CATEGORIES", true), c.categories) << c.category;
    EXPECT_EQ(value(lines, "CLASS"),
              c.isPrivate ? std::optional<std::string>("PRIVATE") : std::nullopt);
    EXPECT_EQ(value(lines, "UID"), "address-9830401-0a1b2c3d@vessory");
  }
}

// One writer for a whole file: nothing of a card may stay behind in the next.
TEST_F(VCardWriterTest, ACardOwesNothingToTheOneBefore) {
  catalogue_.customLabels = {"Spouse"};
  const ContactRecord full = contact([](auto& r) {
    r.firstName = "Ann", r.lastNameReading = "aachaa", r.company = "Acme", r.title = "Chief";
    r.phones[0] = {0, "555"}, r.address = "1 Main St", r.note = "note", r.custom[0] = "Kim";
    r.category = 1, r.isPrivate = true;
  });
  // Another id: a second card of the same id is numbered (-2), as it should be.
  const ContactRecord bare = contact([](auto& r) { r.recordId += 1; });
  std::string alone;
  appendVCard(bare, catalogue_, *converter_, alone);
  std::string both;
  VCardWriter writer(catalogue_, *converter_);
  writer.append(full, both);
  const std::size_t first = both.size();
  writer.append(bare, both);
  EXPECT_EQ(both.substr(first), alone);
  EXPECT_EQ(value(write(full), "NOTE"), "note\n\nSpouse: Kim");
}

TEST(VCardLinesTest, Base64WithPadding) {
  for (const auto& [bytes, expected] : std::vector<std::pair<std::string, std::string>>{
           {"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"\xFF\xD8\xFF", "/9j/"}}) {
    std::string out = "x";
    appendBase64(bytes, out);
    EXPECT_EQ(out, "x" + expected);
  }
}

// What a later handheld's contact adds, each where the card says it.
TEST_F(VCardWriterTest, LaterFieldsReachTheCard) {
  const std::string picture(3000, '\xD8');
  const std::vector<std::string> lines = write(contact([&](ContactRecord& r) {
    r.lastName = "Chat";
    r.phones[5] = {2, "fax 6"};
    r.phones[6] = {7, "mobile 7"};
    r.address = "1 Work St";
    r.addressLabel = 0;
    r.moreAddresses[0] = {1, "2 Home Rd", "Town", "", "", ""};
    r.moreAddresses[1] = {5, "", "", "", "", "Canada"};
    r.webSite = "http://example.com/a";
    r.instantMessages[0] = {3, "yann"};
    r.instantMessages[1] = {0, "jabber:ann"};
    r.birthday = archive::CalendarDate{1968, 2, 29};
    r.anniversary = archive::CalendarDate{2005, 1, 1};
    r.photo = picture;
    r.note = "A note";
    r.custom[8] = "nine";
  }));
  EXPECT_EQ(value(lines, "TEL;TYPE=FAX"), "fax 6");
  EXPECT_EQ(value(lines, "TEL;TYPE=CELL,VOICE"), "mobile 7");
  EXPECT_EQ(value(lines, "ADR;TYPE=WORK", true), ";;1 Work St;;;;");
  EXPECT_EQ(value(lines, "ADR;TYPE=HOME", true), ";;2 Home Rd;Town;;;");
  EXPECT_EQ(value(lines, "ADR", true), ";;;;;;Canada");
  EXPECT_EQ(value(lines, "URL"), "http://example.com/a");
  EXPECT_EQ(value(lines, "X-YAHOO"), "yann");
  EXPECT_EQ(value(lines, "BDAY"), "1968-02-29");
  EXPECT_EQ(value(lines, "X-ANNIVERSARY"), "2005-01-01");
  EXPECT_EQ(value(lines, "NOTE"), "A note\n\nCustom 9: nine\nIM: jabber:ann");
  std::string base64;
  appendBase64(picture, base64);
  EXPECT_EQ(value(lines, "PHOTO;ENCODING=b;TYPE=JPEG", true), base64);
}

}  // namespace
}  // namespace vessory::contacts
