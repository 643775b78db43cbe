#include "windows_window/summary_dialog.h"

#include "windows_window/resource_ids.h"

namespace vessory::windows_window {

namespace {

INT_PTR CALLBACK summaryProcedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(dialog, IDC_SUMMARY_TEXT, reinterpret_cast<const wchar_t*>(l));
      // The OK button holds the focus, so that Enter closes the box; the text is not selected.
      SetFocus(GetDlgItem(dialog, IDOK));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL) {
        // A modal box ends its loop; a modeless one (tests) is destroyed by its caller.
        if (GetWindowLongPtrW(dialog, DWLP_USER) == 0) EndDialog(dialog, IDOK);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void showSummaryDialog(HINSTANCE instance, HWND owner, const std::wstring& text) {
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SUMMARY), owner, summaryProcedure,
                  reinterpret_cast<LPARAM>(text.c_str()));
}

HWND createSummaryDialog(HINSTANCE instance, HWND owner, const std::wstring& text) {
  const HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_SUMMARY), owner,
                                         summaryProcedure, reinterpret_cast<LPARAM>(text.c_str()));
  if (dialog != nullptr) SetWindowLongPtrW(dialog, DWLP_USER, 1);
  return dialog;
}

}  // namespace vessory::windows_window
