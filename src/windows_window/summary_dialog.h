#ifndef VESSORY_WINDOWS_WINDOW_SUMMARY_DIALOG_H_
#define VESSORY_WINDOWS_WINDOW_SUMMARY_DIALOG_H_

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace vessory::windows_window {

// Shows `text` (CR LF line breaks) in the summary dialog of the resources, titled "Vessory": a
// read-only box that scrolls when the text is long and can be selected and copied, and an OK
// button. Returns when the user has closed it.
void showSummaryDialog(HINSTANCE instance, HWND owner, const std::wstring& text);

// The same dialog, modeless and shown, for tests that read it back; the caller destroys it.
HWND createSummaryDialog(HINSTANCE instance, HWND owner, const std::wstring& text);

}  // namespace vessory::windows_window

#endif  // VESSORY_WINDOWS_WINDOW_SUMMARY_DIALOG_H_
