#ifndef VESSORY_CONTACTS_VCARD_LINES_H_
#define VESSORY_CONTACTS_VCARD_LINES_H_

#include <string>
#include <string_view>

namespace vessory::contacts {

// The two rules every vCard content line follows, as appenders that reuse the caller's buffer:
// a text value escaped, and a whole content line folded (see vcard_format.h). Both take and
// give UTF-8; neither keeps anything between calls.

// Appends `text` as a vCard text value: '\' ',' ';' as "\\" "\," "\;", a newline as "\n".
// `text` holds no CR (contact text has made every line break one LF).
void appendEscaped(std::string_view text, std::string& out);

// Appends the content line `line` (without its CR LF), folded so that no line exceeds
// kMaxLineOctets octets and no fold splits a UTF-8 sequence, then CR LF. A malformed sequence
// longer than four octets may be split; the line is still cut, never overlong.
void appendFolded(std::string_view line, std::string& out);

// Appends the base64 of `bytes` (RFC 4648, with padding, no line breaks): a vCard's "b" value.
void appendBase64(std::string_view bytes, std::string& out);

}  // namespace vessory::contacts

#endif  // VESSORY_CONTACTS_VCARD_LINES_H_
