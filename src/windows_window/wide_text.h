#ifndef VESSORY_WINDOWS_WINDOW_WIDE_TEXT_H_
#define VESSORY_WINDOWS_WINDOW_WIDE_TEXT_H_

#include <string>

// The window's texts between the program's narrow strings and the wide ones of the Windows
// API. Paths and messages are UTF-8 (a string that is not is read in the ANSI code page, as the
// file layer reads it); archive text is shown byte for byte as Latin-1, as the Linux window
// shows it.

namespace vessory::windows_window {

std::wstring fromSystem(const std::string& text);
std::string toSystem(const std::wstring& text);
std::wstring fromLatin1(const std::string& bytes);
// Characters beyond Latin-1 become "?".
std::string toLatin1(const std::wstring& text);
// Line breaks as an edit box shows them: every LF not after a CR gets one.
std::wstring withCrLf(const std::wstring& text);

}  // namespace vessory::windows_window

#endif  // VESSORY_WINDOWS_WINDOW_WIDE_TEXT_H_
