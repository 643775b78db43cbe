#include "console/content_sniffer.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "handheld/handheld_format.h"

namespace vessory::console {

namespace {

using Bytes = std::span<const unsigned char>;

// A format known by fixed bytes at a fixed offset from the start of the file.
struct Signature {
  std::size_t offset;
  std::string_view bytes;
  const char* what;
};

// Longer and more particular signatures first: a ZIP-based document would match ZIP too.
constexpr Signature kSignatures[] = {
    {0, std::string_view("\x89PNG\r\n\x1a\n", 8), "a PNG image"},
    {0, std::string_view("\xff\xd8\xff", 3), "a JPEG image"},
    {0, "GIF87a", "a GIF image"},
    {0, "GIF89a", "a GIF image"},
    {0, std::string_view("II*\0", 4), "a TIFF image"},
    {0, std::string_view("MM\0*", 4), "a TIFF image"},
    {0, "%PDF-", "a PDF document"},
    {4, "Standard Jet DB", "a Microsoft Access database (.mdb)"},
    {4, "Standard ACE DB", "a Microsoft Access database (.accdb)"},
    {0, std::string_view("SQLite format 3\0", 16), "an SQLite database"},
    {0, std::string_view("\xd0\xcf\x11\xe0\xa1\xb1\x1a\xe1", 8),
     "a Microsoft Office document of the older kind (.doc, .xls, .ppt) or another compound file"},
    {0, std::string_view("PK\x03\x04", 4),
     "a ZIP archive (or a document made of one: .docx, .xlsx, .odt)"},
    {0, std::string_view("PK\x05\x06", 4), "an empty ZIP archive"},
    {0, std::string_view("\x1f\x8b", 2), "a gzip-compressed file"},
    {0, "BZh", "a bzip2-compressed file"},
    {0, std::string_view("\xfd\x37\x7a\x58\x5a\x00", 6), "an xz-compressed file"},
    {0, std::string_view("7z\xbc\xaf\x27\x1c", 6), "a 7-Zip archive"},
    {0, std::string_view("Rar!\x1a\x07", 6), "a RAR archive"},
    {257, "ustar", "a tar archive"},
    {0, std::string_view("\x7f\x45\x4c\x46", 4), "a program (ELF)"},
    {0, "MZ", "a Windows program or library"},
    {0, "ID3", "an MP3 audio file"},
    {0, std::string_view("OggS", 4), "an Ogg audio or video file"},
    {0, std::string_view("fLaC", 4), "a FLAC audio file"},
    {8, "WAVE", "a WAV audio file"},
    {8, "AVI ", "an AVI video"},
    {8, "WEBP", "a WebP image"},
    {4, "ftyp", "an MP4 or QuickTime video, or another ISO media file"},
    {0, std::string_view("\xef\xbb\xbf", 3), "a text file (UTF-8, with a byte-order mark)"},
    {0, std::string_view("\xff\xfe", 2), "a text file (UTF-16)"},
    {0, std::string_view("\xfe\xff", 2), "a text file (UTF-16)"},
};

bool startsWith(Bytes head, std::size_t offset, std::string_view bytes) {
  if (head.size() < offset + bytes.size()) return false;
  return std::equal(bytes.begin(), bytes.end(), head.begin() + static_cast<std::ptrdiff_t>(offset),
                    [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });
}

bool printableFourChars(Bytes four) {
  return std::all_of(four.begin(), four.end(),
                     [](unsigned char c) { return c >= 0x20 && c < 0x7f; });
}

std::string fourChars(Bytes four) { return std::string(four.begin(), four.end()); }

// The header every handheld database and application starts with (see handheld_format.h): a
// name ended by a NUL inside its field, then a printable type and creator. The databases this
// tool reads were recognised before this is asked.
std::optional<std::string> handheldFile(Bytes head) {
  using namespace handheld;
  if (head.size() < kHeaderSize) return std::nullopt;
  const Bytes name = head.subspan(kNameOffset, kNameSize);
  const auto end = std::find(name.begin(), name.end(), 0);
  if (end == name.end() || end == name.begin()) return std::nullopt;
  const Bytes type = head.subspan(kTypeOffset, kFourCharSize);
  const Bytes creator = head.subspan(kCreatorOffset, kFourCharSize);
  if (!printableFourChars(type) || !printableFourChars(creator)) return std::nullopt;
  if (!std::all_of(name.begin(), end, [](unsigned char c) { return c >= 0x20 && c != 0x7f; })) {
    return std::nullopt;
  }
  const std::string creatorText = fourChars(creator);
  const std::string identity = std::string(name.begin(), end) + " (type " + fourChars(type) +
                               ", creator " + creatorText + ")";
  if ((head[kAttributesOffset + 1] & kResourceDatabaseBit) != 0) {
    return "a handheld application or resource file: " + identity;
  }
  for (std::string_view ours : {kDatebookCreator, kAddressCreator, kTodoCreator, kMemoCreator}) {
    if (creatorText == ours) return "a handheld database cut short or damaged: " + identity;
  }
  for (std::string_view later :
       {kLaterCalendarCreator, kLaterContactsCreator, kLaterTasksCreator, kLaterMemosCreator}) {
    if (creatorText == later) return "a database of a later handheld: " + identity;
  }
  return "a handheld database of another application: " + identity;
}

bool startsWithText(Bytes head, std::string_view text) {
  if (head.size() < text.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (std::tolower(head[i]) != text[i]) return false;
  }
  return true;
}

// Text: no control characters but tabs, line and page breaks. Bytes above ASCII pass, so
// that text in any of the usual single-byte character sets and in UTF-8 counts.
std::optional<std::string> textFile(Bytes head) {
  const bool text = std::all_of(head.begin(), head.end(), [](unsigned char c) {
    return c >= 0x20 ? c != 0x7f : c == '\t' || c == '\n' || c == '\r' || c == '\f';
  });
  if (!text) return std::nullopt;
  std::size_t start = 0;
  while (start < head.size() && std::isspace(head[start])) ++start;
  const Bytes body = head.subspan(start);
  if (startsWithText(body, "begin:vcard")) return "a vCard file (contacts)";
  if (startsWithText(body, "begin:vcalendar")) return "an iCalendar file";
  if (startsWithText(body, "<!doctype html") || startsWithText(body, "<html")) {
    return "a web page (HTML)";
  }
  if (startsWithText(body, "<?xml")) return "an XML file";
  return "a text file";
}

}  // namespace

std::optional<std::string> describeContent(Bytes head, std::uint64_t size) {
  if (size == 0) return "an empty file";
  head = head.first(std::min(head.size(), kSniffSize));
  // A handheld header is particular enough to come first: its name may begin with anything.
  if (std::optional<std::string> handheld = handheldFile(head)) return handheld;
  for (const Signature& signature : kSignatures) {
    if (startsWith(head, signature.offset, signature.bytes)) return signature.what;
  }
  return textFile(head);
}

}  // namespace vessory::console
