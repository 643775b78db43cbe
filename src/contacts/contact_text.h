#ifndef VESSORY_CONTACTS_CONTACT_TEXT_H_
#define VESSORY_CONTACTS_CONTACT_TEXT_H_

#include <string>
#include <string_view>

#include "archive/text_converter.h"

namespace vessory::contacts {

// An archive text (a name, a phone number, a note, a category name) as contact text, appended
// to `out`: UTF-8, every line break the desktop wrote (CR LF, CR or LF) one LF, and the
// reader's empty-string marker nothing. Tabs stay; every other control character would break
// the card and becomes U+FFFD. Escaping and folding come later, when the line is written.
// The calendar's event text follows the same rules; this one appends, so that writing a card
// allocates nothing once its buffers have grown.
void appendContactText(std::string_view archiveText, archive::TextConverter& converter,
                       std::string& out);

}  // namespace vessory::contacts

#endif  // VESSORY_CONTACTS_CONTACT_TEXT_H_
