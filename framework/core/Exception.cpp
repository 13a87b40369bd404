#include "framework/core/Exception.h"

#include <windows.h>

#include "framework/core/Unicode.h"

Exception::Exception(std::u16string message)
    : message_(std::move(message)), utf8_(Utf16ToUtf8(message_)) {}

std::u16string SysErrorMessage(unsigned long code) {
  WCHAR* buffer = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                               FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::u16string text;
  if (n != 0 && buffer != nullptr) text.assign(buffer, n);
  if (buffer != nullptr) LocalFree(buffer);
  text = Trim(text);
  if (text.empty()) text = u"System error " + IntToStr(static_cast<int64_t>(code));
  return text;
}

void RaiseLastOSError(const std::u16string& what) {
  DWORD code = GetLastError();
  throw EWin32Error(what + u": " + SysErrorMessage(code));
}

namespace {
TExceptionHandler g_handler = nullptr;
}

void SetExceptionHandler(TExceptionHandler handler) { g_handler = handler; }

std::u16string ExceptionText(const std::exception& error) {
  if (auto* e = dynamic_cast<const Exception*>(&error)) return e->Message();
  return Utf8ToUtf16(error.what());
}

void HandleException(const std::exception& error) noexcept {
  try {
    if (g_handler != nullptr) {
      g_handler(error);
      return;
    }
    OutputDebugStringW(reinterpret_cast<LPCWSTR>(ExceptionText(error).c_str()));
  } catch (...) {
    // The last resort must not throw back into the platform.
  }
}
