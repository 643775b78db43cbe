#ifndef VESSORY_JOURNAL_MARKDOWN_TEXT_H_
#define VESSORY_JOURNAL_MARKDOWN_TEXT_H_

#include <string>
#include <string_view>

namespace vessory::journal {

// Text set down in Markdown so that a CommonMark reader (and the notes apps built on one, with
// their tags, highlights, comments and math) shows exactly its characters: nothing in it becomes
// markup. These work on UTF-8 text and keep every byte they do not escape.

// Appends `text` as the lines of one paragraph: every line break (LF, CR LF or a lone CR) stays
// a line break in the rendered text (a backslash at the end of the line before it), an empty
// line included; blanks at a line's start and end are written as character references, which
// no reader strips; characters that would start or shape markup are escaped with a backslash.
void appendMarkdownText(std::string_view text, std::string& out);

// Appends `text` as the text of a heading: escaped as above, each line break and tab a blank,
// outer blanks left out (a heading cannot begin or end with them).
void appendMarkdownHeading(std::string_view text, std::string& out);

// True when `word` reads as a tag after "#" in notes apps and stays plain text in CommonMark:
// letters, digits, "-", "/" and characters beyond ASCII, "_" only between letters or digits,
// starting with a letter or a character beyond ASCII.
bool isTagWord(std::string_view word);

// Appends `text` as a YAML double-quoted scalar: quotes, backslashes and every character a YAML
// reader would fold, drop or refuse (controls, NEL, the line and paragraph separators) escaped.
void appendYamlQuoted(std::string_view text, std::string& out);

}  // namespace vessory::journal

#endif  // VESSORY_JOURNAL_MARKDOWN_TEXT_H_
