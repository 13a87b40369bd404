#include "framework/data/NativePath.h"

#include <windows.h>

#include "framework/core/Unicode.h"

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
