#include "framework/data/NativePath.h"

#include <windows.h>

#include <vector>

#include "framework/core/Unicode.h"

std::u16string ExpandFileName(const std::u16string& name) {
  if (name.empty()) return {};
  auto in = reinterpret_cast<LPCWSTR>(name.c_str());
  DWORD n = GetFullPathNameW(in, 0, nullptr, nullptr);
  if (n == 0) return {};
  std::vector<WCHAR> buffer(n + 1);
  DWORD got = GetFullPathNameW(in, static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (got == 0 || got >= buffer.size()) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), got);
}

std::string NativeFileName(const std::u16string& fullPath) {
  if (fullPath.empty()) return {};
#ifdef __WINE__
  // Declared by Wine's winbase.h and exported by its kernel32; the result comes from
  // the process heap.
  char* unixName = wine_get_unix_file_name(reinterpret_cast<LPCWSTR>(fullPath.c_str()));
  if (unixName == nullptr) return {};
  std::string result(unixName);
  HeapFree(GetProcessHeap(), 0, unixName);
  return result;
#else
  // SQLite's Windows build takes UTF-8 file names.
  return Utf16ToUtf8(fullPath);
#endif
}
