#include "console/content_sniffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vessory::testing {
namespace {

// A handheld database header: name, attributes, type and creator in their places.
std::string handheldHeader(const std::string& name, const std::string& type,
                           const std::string& creator, char attributesLow = 0) {
  std::string header(78, '\0');
  header.replace(0, name.size(), name);
  header[33] = attributesLow;
  header.replace(60, 4, type);
  header.replace(64, 4, creator);
  return header;
}

TEST(ContentSnifferTest, NamesCommonFormatsByTheirFirstBytes) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "an empty file"},
      {"\xff\xd8\xff\xe0\x00\x10JFIF", "a JPEG image"},
      {"\x89PNG\r\n\x1a\n\x00\x00", "a PNG image"},
      {"GIF89a\x01\x00", "a GIF image"},
      {"%PDF-1.4\n%\xe2\xe3", "a PDF document"},
      {std::string("PK\x03\x04\x14\x00", 6),
       "a ZIP archive (or a document made of one: .docx, .xlsx, .odt)"},
      {std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20),
       "a Microsoft Access database (.mdb)"},
      {"Date,Time,Entry\r\n4/01/2002,9:15 AM,\"Woke up\"\r\n", "a text file"},
      {"caf\xe9 cr\xe8me\n", "a text file"},
      {"\r\nBEGIN:VCARD\r\nVERSION:3.0\r\n", "a vCard file (contacts)"},
      {"BEGIN:VCALENDAR\r\n", "an iCalendar file"},
      {handheldHeader("ExpenseDB", "DATA", "exps") + "\x00\x00",
       "a handheld database of another application: ExpenseDB (type DATA, creator exps)"},
      {handheldHeader("Game", "appl", "GaMe", 1),
       "a handheld application or resource file: Game (type appl, creator GaMe)"},
      {handheldHeader("AddressDB", "DATA", "addr"),
       "a handheld database cut short or damaged: AddressDB (type DATA, creator addr)"},
      {handheldHeader("CalendarDB-PDat", "DATA", "PDat"),
       "a database of a later handheld: CalendarDB-PDat (type DATA, creator PDat)"},
  };
  for (const auto& [bytes, what] : cases) {
    SCOPED_TRACE(what);
    const std::vector<unsigned char> head(bytes.begin(), bytes.end());
    EXPECT_EQ(console::describeContent(head, head.size()), what);
  }
}

TEST(ContentSnifferTest, BytesOfNoKnownFormatAreNotGuessedAt) {
  for (const std::string& bytes :
       {std::string("\x00\x01\x42\x45\x07\x00", 6), std::string("\x01\x02\x03", 3),
        handheldHeader("", "DATA", "exps"), handheldHeader("Name", "DA\x01A", "exps")}) {
    const std::vector<unsigned char> head(bytes.begin(), bytes.end());
    EXPECT_EQ(console::describeContent(head, head.size()), std::nullopt);
  }
}

}  // namespace
}  // namespace vessory::testing
