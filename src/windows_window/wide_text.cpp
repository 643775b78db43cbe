#include "windows_window/wide_text.h"

#include "files/windows_path.h"

namespace vessory::windows_window {

std::wstring fromSystem(const std::string& text) { return files::widePath(text); }

std::string toSystem(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr,
                                       nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

std::wstring fromLatin1(const std::string& bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  for (const char c : bytes) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
  return out;
}

std::string toLatin1(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (const wchar_t c : text) out.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
  return out;
}

std::wstring withCrLf(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + text.size() / 32);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out.push_back(L'\r');
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace vessory::windows_window
