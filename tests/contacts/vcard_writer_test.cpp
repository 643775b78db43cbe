// Address records as vCards: the name and its fallbacks, phones by label, text converted and
// escaped, custom fields after the note, category, privacy and UID, every card well formed.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "archive/format.h"
#include "contacts/card_reading.h"
#include "contacts/vcard_writer.h"

namespace vessory::testing {
namespace {

using archive::ContactRecord;

const std::set<std::string> kProperties{"N",    "FN",         "ORG",   "TITLE", "TEL",
                                        "EMAIL", "ADR",       "NOTE",  "CATEGORIES",
                                        "CLASS", "SORT-STRING", "UID"};

ContactRecord contact(std::string first, std::string last) {
  ContactRecord r;
  r.recordId = 7;
  r.firstName = std::move(first);
  r.lastName = std::move(last);
  return r;
}

class VCardWriterTest : public ::testing::Test {
 protected:
  VCardWriterTest() {
    std::string error;
    converter_ = archive::TextConverter::open("windows-1252", error);
    catalogue.identity = "0a1b2c3d";
    catalogue.categories = {{1, "Business"}, {5, "Friends, old"}, {3, "Gesch\xE4" "ft"}, {7, ""}};
  }

  // The content lines of the card of `record` between VERSION and END, after checking what a
  // reader checks: the raw lines, BEGIN, VERSION right after it, END, known properties, no
  // empty value.
  std::vector<std::string> write(const ContactRecord& record) {
    std::string out;
    contacts::appendVCard(record, catalogue, *converter_, out);
    EXPECT_EQ(shapeProblem(out), "") << out;
    std::vector<std::string> lines = unfold(out);
    if (lines.size() < 3 || lines[0] != "BEGIN:VCARD" || lines[1] != "VERSION:3.0" ||
        lines.back() != "END:VCARD") {
      ADD_FAILURE() << "not one card:\n" << out;
      return {};
    }
    lines.pop_back();
    lines.erase(lines.begin(), lines.begin() + 2);
    for (const std::string& line : lines) {
      const std::size_t colon = line.find(':');
      EXPECT_TRUE(colon != std::string::npos && colon + 1 < line.size()) << "empty: " << line;
      EXPECT_TRUE(kProperties.contains(line.substr(0, line.find_first_of(";:")))) << line;
    }
    return lines;
  }

  // The unescaped value of the one line that starts with `head` (up to the colon), if any.
  static std::optional<std::string> value(const std::vector<std::string>& lines,
                                          const std::string& head) {
    std::optional<std::string> found;
    for (const std::string& line : lines) {
      if (!line.starts_with(head + ":")) continue;
      EXPECT_FALSE(found) << "two lines " << head;
      found = unescape(std::string_view(line).substr(head.size() + 1));
    }
    return found;
  }

  archive::OrganiserCatalogue catalogue;
  std::unique_ptr<archive::TextConverter> converter_;
};

TEST_F(VCardWriterTest, FullNameFallsBackInTurn) {
  struct Case {
    ContactRecord record;
    std::string fullName;
    std::string name;  // the N line
  };
  ContactRecord company = contact("", "");
  company.company = "M\xFCller & S\xF6hne";
  ContactRecord mailFirst = contact("", "");
  mailFirst.phones[1] = {4, "dee@example.com"};
  mailFirst.phones[2] = {0, "555-0600"};
  ContactRecord phoneFirst = contact(std::string(archive::kNullStringMarker), "");
  phoneFirst.phones[3] = {3, "555-0700"};
  phoneFirst.phones[4] = {4, "x@example.com"};
  ContactRecord nothing = contact("", "");
  nothing.title = "Chief";
  nothing.note = "Met at the fair";
  const std::vector<Case> cases{
      {contact("Ann", "Archer"), "Ann Archer", "N:Archer;Ann;;;"},
      {contact("", "Baker"), "Baker", "N:Baker;;;;"},
      {contact("Cy", ""), "Cy", "N:;Cy;;;"},
      {contact("Pat; Sam", "O'Neil, Jr."), "Pat; Sam O'Neil, Jr.", "N:O'Neil\\, Jr.;Pat\\; Sam;;;"},
      {company, "Müller & Söhne", "N:;;;;"},
      {mailFirst, "dee@example.com", "N:;;;;"},
      {phoneFirst, "555-0700", "N:;;;;"},
      {nothing, "Unnamed", "N:;;;;"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string> lines = write(c.record);
    EXPECT_EQ(value(lines, "FN"), c.fullName);
    EXPECT_EQ(lines.front(), c.name);
  }
}

TEST_F(VCardWriterTest, PhonesByLabelAndEmptyPhonesLeftOut) {
  struct Case {
    std::int64_t label;
    std::string head;
  };
  for (const Case& c : {Case{0, "TEL;TYPE=WORK,VOICE"}, Case{1, "TEL;TYPE=HOME,VOICE"},
                        Case{2, "TEL;TYPE=FAX"}, Case{3, "TEL;TYPE=VOICE"},
                        Case{4, "EMAIL;TYPE=INTERNET"}, Case{5, "TEL;TYPE=MAIN"},
                        Case{6, "TEL;TYPE=PAGER"}, Case{7, "TEL;TYPE=CELL,VOICE"},
                        Case{8, "TEL;TYPE=VOICE"}, Case{-1, "TEL;TYPE=VOICE"},
                        Case{255, "TEL;TYPE=VOICE"}}) {
    ContactRecord r = contact("Ann", "Archer");
    for (archive::Phone& p : r.phones) p.label = c.label;
    r.phones[2].value = "+49 171, 1234";
    const std::vector<std::string> lines = write(r);
    EXPECT_EQ(value(lines, c.head), "+49 171, 1234") << c.label;
    EXPECT_EQ(lines.size(), 4u) << "N, FN, UID and one phone for label " << c.label;
  }
}

TEST_F(VCardWriterTest, TextIsConvertedWithOneLineFeedPerBreak) {
  struct Case {
    std::function<void(ContactRecord&)> set;
    std::string head;
    std::string text;
  };
  const std::string longNote(300, '\xE9');  // é: a fold would split it if it could
  const std::vector<Case> cases{
      {[](ContactRecord& r) { r.note = "one\r\ntwo\rthree\nfour\r\n"; }, "NOTE",
       "one\ntwo\nthree\nfour\n"},
      {[](ContactRecord& r) { r.title = "Head\\Chief, R&D; \x80\x81"; }, "TITLE",
       "Head\\Chief, R&D; €\xEF\xBF\xBD"},
      {[](ContactRecord& r) { r.company = "a\\nb\x01\tc"; }, "ORG", "a\\nb\xEF\xBF\xBD\tc"},
      {[&](ContactRecord& r) { r.note = longNote; }, "NOTE", [] {
         std::string s;
         for (int i = 0; i < 300; ++i) s += "\xC3\xA9";
         return s;
       }()},
  };
  for (const Case& c : cases) {
    ContactRecord r = contact("Ann", "Archer");
    c.set(r);
    EXPECT_EQ(value(write(r), c.head), c.text);
  }
}

TEST_F(VCardWriterTest, AddressWhenAnyPartIsSet) {
  ContactRecord r = contact("Ann", "Archer");
  EXPECT_EQ(value(write(r), "ADR"), std::nullopt);
  r.address = "12 Main St\r\nFlat 3, rear";
  r.city = "Town; North";
  r.country = "Land";
  const std::vector<std::string> lines = write(r);
  EXPECT_EQ(lines[2], "ADR:;;12 Main St\\nFlat 3\\, rear;Town\\; North;;;Land");
  r = contact("", "");
  r.zipCode = "12\\34";
  EXPECT_EQ(write(r)[2], "ADR:;;;;;12\\\\34;");
}

TEST_F(VCardWriterTest, CustomFieldsFollowTheNote) {
  struct Case {
    std::string note;
    std::array<std::string, 4> custom;
    std::array<std::string, 4> labels;
    std::optional<std::string> expected;
  };
  const std::vector<Case> cases{
      {"Remember", {"Blue", "", "Tuesday", ""}, {}, "Remember\n\nCustom 1: Blue\nCustom 3: Tuesday"},
      {"", {"", "Spouse: Kim", "", "42, wide; left"}, {},
       "Custom 2: Spouse: Kim\nCustom 4: 42, wide; left"},
      {"", {"first line\r\nsecond", "", "", ""}, {}, "Custom 1: first line\nsecond"},
      {"Line A\r\nLine B", {"a", "b", "", ""}, {" Birthday \r\n", "\t "}, 
       "Line A\nLine B\n\nBirthday: a\nCustom 2: b"},
      {"Only a note", {}, {"Unused"}, "Only a note"},
      {"", {}, {"Unused"}, std::nullopt},
  };
  for (const Case& c : cases) {
    catalogue.customLabels = c.labels;
    ContactRecord r = contact("Ann", "Archer");
    r.note = c.note;
    r.custom = c.custom;
    EXPECT_EQ(value(write(r), "NOTE"), c.expected) << c.note;
  }
}

TEST_F(VCardWriterTest, CategoryPrivacyAndUid) {
  struct Case {
    std::int64_t category;
    bool isPrivate;
    std::optional<std::string> categories;  // the raw value
  };
  for (const Case& c : {Case{1, true, "Business"}, Case{5, false, "Friends\\, old"},
                        Case{3, false, "Geschäft"}, Case{0, true, std::nullopt},
                        Case{9, false, std::nullopt}, Case{7, false, std::nullopt}}) {
    ContactRecord r = contact("Ann", "Archer");
    r.recordId = 9830401;
    r.category = c.category;
    r.isPrivate = c.isPrivate;
    const std::vector<std::string> lines = write(r);
    std::optional<std::string> categories;
    for (const std::string& line : lines) {
      if (line.starts_with("CATEGORIES:")) categories = line.substr(11);
    }
    EXPECT_EQ(categories, c.categories) << c.category;
    EXPECT_EQ(value(lines, "CLASS"), c.isPrivate ? std::optional<std::string>("PRIVATE")
                                                 : std::nullopt);
    EXPECT_EQ(value(lines, "UID"), "address-9830401-0a1b2c3d@vessory");
  }
}

TEST_F(VCardWriterTest, ReadingsBecomeTheSortString) {
  struct Case {
    std::string last, first;
    std::optional<std::string> sortString;
  };
  for (const Case& c : {Case{"yamada", "tarou", "yamada tarou"}, Case{"", "tarou", "tarou"},
                        Case{"yamada", "", "yamada"}, Case{"", "", std::nullopt}}) {
    ContactRecord r = contact("Taro", "Yamada");
    r.lastNameReading = c.last;
    r.firstNameReading = c.first;
    EXPECT_EQ(value(write(r), "SORT-STRING"), c.sortString);
  }
}

// One writer for a whole file: nothing of a card may stay behind in the next.
TEST_F(VCardWriterTest, ACardOwesNothingToTheOneBefore) {
  catalogue.customLabels = {"Spouse"};
  ContactRecord full = contact("Ann", "Archer");
  full.lastNameReading = "aachaa";
  full.company = "Acme";
  full.title = "Chief";
  full.phones[0] = {0, "555-0100"};
  full.address = "1 Main St";
  full.note = "note";
  full.custom = {"Kim", "", "", ""};
  full.category = 1;
  full.isPrivate = true;
  const ContactRecord bare = contact("", "");
  std::string alone;
  contacts::appendVCard(bare, catalogue, *converter_, alone);
  std::string both;
  contacts::VCardWriter writer(catalogue, *converter_);
  writer.append(full, both);
  const std::size_t first = both.size();
  writer.append(bare, both);
  EXPECT_EQ(both.substr(first), alone);
  EXPECT_EQ(value(write(full), "NOTE"), "note\n\nSpouse: Kim");
}

}  // namespace
}  // namespace vessory::testing
