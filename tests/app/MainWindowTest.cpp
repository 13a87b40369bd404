// Starts the program as the user does and checks its main window.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "framework/core/Unicode.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

struct FoundWindow {
  DWORD process;
  HWND window = nullptr;
};

BOOL CALLBACK FindMain(HWND window, LPARAM data) {
  auto* found = reinterpret_cast<FoundWindow*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == found->process && WindowClass(window) == u"TForm1" && IsWindowVisible(window)) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

std::u16string ProgramPath() {
  std::u16string path = u"Z:" + Utf8ToUtf16(QH_BIN_DIR) + u"/qinghe.exe.so";
  for (auto& c : path)
    if (c == u'/') c = u'\\';
  return path;
}

TEST(MainWindowTest, ShowsTheMainWindowAndEndsWithExitCodeZeroWhenClosed) {
  std::u16string program = ProgramPath();
  std::u16string folder = program.substr(0, program.find_last_of(u'\\'));
  std::u16string commandLine = u"\"" + program + u"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, reinterpret_cast<LPWSTR>(commandLine.data()), nullptr, nullptr,
                             FALSE, 0, nullptr, reinterpret_cast<LPCWSTR>(folder.c_str()), &si, &pi))
      << GetLastError();
  FoundWindow found{pi.dwProcessId};
  DWORD start = GetTickCount();
  while (found.window == nullptr && GetTickCount() - start < 15000) {
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&found));
    if (found.window == nullptr) Sleep(50);
  }
  ASSERT_NE(found.window, nullptr) << "no main window";
  HWND h = found.window;
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
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
  DWORD code = 1234;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
