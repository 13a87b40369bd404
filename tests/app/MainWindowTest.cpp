// Starts the program as the user does and checks its main window.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "framework/core/Unicode.h"
#include "tests/app/DictionaryFixture.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

// The visible top-level window of a class that a process shows, if any.
struct TFoundWindow {
  DWORD Process;
  const char16_t* ClassName;
  HWND Window = nullptr;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<TFoundWindow*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == found->Process && WindowClass(window) == found->ClassName && IsWindowVisible(window)) {
    found->Window = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindProcessWindow(DWORD process, const char16_t* className) {
  TFoundWindow found{process, className};
  EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&found));
  return found.Window;
}

// Waits for that window until timeout milliseconds have passed since start (GetTickCount).
HWND WaitForProcessWindow(DWORD process, const char16_t* className, DWORD start, DWORD timeout) {
  HWND window = nullptr;
  while ((window = FindProcessWindow(process, className)) == nullptr && GetTickCount() - start < timeout) Sleep(30);
  return window;
}

std::u16string ProgramPath() {
  // The program itself, wherever it is started from.
  std::u16string path = u"Z:" + Utf8ToUtf16(QH_BIN_DIR) + u"/qinghe.exe.so";
  for (auto& c : path)
    if (c == u'/') c = u'\\';
  return path;
}

// The program, started in folder as its current directory.
PROCESS_INFORMATION Start(const std::u16string& folder) {
  std::u16string commandLine = u"\"" + ProgramPath() + u"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  EXPECT_TRUE(CreateProcessW(nullptr, reinterpret_cast<LPWSTR>(commandLine.data()), nullptr, nullptr, FALSE,
                             0, nullptr, reinterpret_cast<LPCWSTR>(folder.c_str()), &si, &pi))
      << GetLastError();
  return pi;
}

DWORD WaitForExit(PROCESS_INFORMATION& pi) {
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
  DWORD code = 1234;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

BOOL CALLBACK LongestStatic(HWND child, LPARAM data) {
  auto* text = reinterpret_cast<std::u16string*>(data);
  if (SameTextAscii(WindowClass(child), u"Static")) {
    std::u16string t = WindowText(child);
    if (t.size() > text->size()) *text = t;
  }
  return TRUE;
}

TEST(MainWindowTest, WithoutADatabaseTheErrorsAreShownAndTheWindowStillComes) {
  TTempDir empty;
  PROCESS_INFORMATION pi = Start(empty.Path());
  // The connection and the system table each report the provider's message.
  std::vector<std::u16string> texts;
  DWORD start = GetTickCount();
  while (texts.size() < 2 && GetTickCount() - start < 15000) {
    HWND box = FindProcessWindow(pi.dwProcessId, u"#32770");
    if (box == nullptr) {
      Sleep(30);
      continue;
    }
    std::u16string text;
    EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(WindowText(box), u"青禾词典");
    texts.push_back(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    while (IsWindow(box) && GetTickCount() - start < 15000) Sleep(10);
  }
  ASSERT_EQ(texts.size(), 2u);
  for (const auto& t : texts) EXPECT_EQ(t.rfind(u"Could not find file '" + empty.Path() + u"\\dll\\kestlib.dll'", 0), 0u) << Utf16ToUtf8(t);
  HWND window = WaitForProcessWindow(pi.dwProcessId, u"TForm1", start, 15000);
  ASSERT_NE(window, nullptr);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(pi), 0u);
}

TEST(MainWindowTest, ShowsTheMainWindowAndEndsWithExitCodeZeroWhenClosed) {
  TTempDir folder;
  WriteDictionaryFixture(folder);
  PROCESS_INFORMATION pi = Start(folder.Path());
  HWND h = WaitForProcessWindow(pi.dwProcessId, u"TForm1", GetTickCount(), 15000);
  ASSERT_NE(h, nullptr) << "no main window";
  Sleep(300);  // let it settle (first paint, alignment)

  EXPECT_EQ(WindowText(h), u"青禾中文词典");
  RECT client;
  GetClientRect(h, &client);
  EXPECT_EQ(client.right, 937);
  EXPECT_EQ(client.bottom, 601);
  LONG style = GetWindowLongW(h, GWL_STYLE);
  EXPECT_EQ(style & WS_THICKFRAME, 0);
  EXPECT_NE(style & WS_SYSMENU, 0);
  EXPECT_NE(style & WS_MINIMIZEBOX, 0);
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
  EXPECT_NE(style & WS_CAPTION, 0);
  RECT window;
  GetWindowRect(h, &window);
  int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_LE(std::abs((window.left + window.right) / 2 - screenW / 2), 1);
  EXPECT_LE(std::abs((window.top + window.bottom) / 2 - screenH / 2), 1);

  // The menu band: the five menus as caption buttons.
  struct Child {
    static BOOL CALLBACK Find(HWND w, LPARAM data) {
      auto* out = reinterpret_cast<std::pair<std::u16string, HWND>*>(data);
      if (WindowClass(w) == out->first) {
        out->second = w;
        return FALSE;
      }
      return TRUE;
    }
  };
  std::pair<std::u16string, HWND> bar{u"TToolBar", nullptr};
  EnumChildWindows(h, Child::Find, reinterpret_cast<LPARAM>(&bar));
  ASSERT_NE(bar.second, nullptr);
  EXPECT_EQ(SendMessageW(bar.second, TB_BUTTONCOUNT, 0, 0), 5);
  // (Their captions are checked in-process: the tool bar's text messages carry pointers.)
  // The page control: only the home tab.
  std::pair<std::u16string, HWND> pages{u"TPageControl", nullptr};
  EnumChildWindows(h, Child::Find, reinterpret_cast<LPARAM>(&pages));
  ASSERT_NE(pages.second, nullptr);
  EXPECT_EQ(SendMessageW(pages.second, TCM_GETITEMCOUNT, 0, 0), 1);

  CaptureWindow(h).Save(u"MainWindow.png");
  PostMessageW(h, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(pi), 0u);
}

}  // namespace
