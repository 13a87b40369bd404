#include "tests/harness/TempDir.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "framework/core/Unicode.h"

static LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

static void RemoveTree(const std::u16string& path) {
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(W(path + u"\\*"), &data);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::u16string name(reinterpret_cast<const char16_t*>(data.cFileName));
      if (name == u"." || name == u"..") continue;
      std::u16string full = path + u"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
      else DeleteFileW(W(full));
    } while (FindNextFileW(h, &data));
    FindClose(h);
  }
  RemoveDirectoryW(W(path));
}

TTempDir::TTempDir() {
  static std::atomic<int> counter{0};
  WCHAR base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  std::u16string root(reinterpret_cast<const char16_t*>(base));
  if (!root.empty() && root.back() == u'\\') root.pop_back();
  for (;;) {
    path_ = root + u"\\qhtest-" + IntToStr(GetCurrentProcessId()) + u"-" + IntToStr(counter++);
    if (CreateDirectoryW(W(path_), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create temp dir");
  }
}

TTempDir::~TTempDir() { RemoveTree(path_); }

std::u16string TTempDir::MakeDir(const std::u16string& name) {
  std::u16string full = path_;
  size_t start = 0;
  while (start <= name.size()) {
    size_t slash = name.find_first_of(u"\\/", start);
    if (slash == std::u16string::npos) slash = name.size();
    full += u"\\" + name.substr(start, slash - start);
    CreateDirectoryW(W(full), nullptr);
    start = slash + 1;
  }
  return full;
}

std::u16string TTempDir::Write(const std::u16string& name, std::string_view bytes) {
  size_t slash = name.find_last_of(u"\\/");
  if (slash != std::u16string::npos) MakeDir(name.substr(0, slash));
  std::u16string full = path_ + u"\\" + name;
  for (auto& c : full)
    if (c == u'/') c = u'\\';
  HANDLE h = CreateFileW(W(full), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write temp file");
  DWORD put = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
  return full;
}
