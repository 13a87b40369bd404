#include "tests/harness/Gui/Gui.h"

#include <cstdlib>

#include "framework/core/Exception.h"
#include "framework/core/Unicode.h"
#include "tests/harness/Gtest.h"
#include "framework/forms/Application.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/PngImage.h"

void EnsureApplication() {
  if (Application == nullptr) {
    new TApplication(nullptr);
    Application->SetTitle(u"测试");
    // An error box nobody closes would hang the test: report it as a failure instead.
    // Tests of the box itself clear this handler.
    Application->OnException = [](TObject*, const std::exception& e) {
      ADD_FAILURE() << "error reached the exception box: " << Utf16ToUtf8(ExceptionText(e));
    };
  }
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  EnsureApplication();
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return done();
    // Through the application's own loop, so keys take the framework's path (dialog
    // keys, shortcuts) as they do in the program.
    if (GetQueueStatus(QS_ALLINPUT) != 0) Application->ProcessMessages();
    else MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

static void SendMouse(DWORD flags, int screenX, int screenY) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  in.mi.dx = static_cast<LONG>((screenX * 65535 + w / 2) / (w - 1));
  in.mi.dy = static_cast<LONG>((screenY * 65535 + h / 2) / (h - 1));
  in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof(in));
}

void MoveMouseTo(HWND window, int clientX, int clientY) {
  POINT p{clientX, clientY};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
  SendMouse(MOUSEEVENTF_MOVE, p.x, p.y);
  PumpFor(20);
}

void ClickAt(HWND window, int clientX, int clientY, bool right) {
  POINT p{clientX, clientY};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
  SendMouse(MOUSEEVENTF_MOVE, p.x, p.y);
  SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN, p.x, p.y);
  SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP, p.x, p.y);
}

static void Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof(in));
}

void PressKey(WORD key, bool ctrl, bool alt, bool shift) {
  if (ctrl) Key(VK_CONTROL, false);
  if (alt) Key(VK_MENU, false);
  if (shift) Key(VK_SHIFT, false);
  Key(key, false);
  Key(key, true);
  if (shift) Key(VK_SHIFT, true);
  if (alt) Key(VK_MENU, true);
  if (ctrl) Key(VK_CONTROL, true);
}

void TypeText(const std::u16string& text) {
  for (char16_t c : text) {
    INPUT in[2]{};
    for (int i = 0; i < 2; ++i) {
      in[i].type = INPUT_KEYBOARD;
      in[i].ki.wScan = c;
      in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, in, sizeof(INPUT));
  }
}

uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TCapture CaptureWindow(HWND window) {
  TCapture capture;
  RECT r;
  GetWindowRect(window, &r);
  capture.Width = r.right - r.left;
  capture.Height = r.bottom - r.top;
  if (capture.Width <= 0 || capture.Height <= 0) return capture;
  HDC windowDC = GetWindowDC(window);
  HDC memory = CreateCompatibleDC(windowDC);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = capture.Width;
  info.bmiHeader.biHeight = -capture.Height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, capture.Width, capture.Height, windowDC, 0, 0, SRCCOPY);
  GdiFlush();
  auto* p = static_cast<const uint32_t*>(bits);
  capture.Pixels.assign(p, p + static_cast<size_t>(capture.Width) * capture.Height);
  for (auto& px : capture.Pixels) px &= 0x00FFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(window, windowDC);
  return capture;
}

POINT ClientOffset(HWND window) {
  RECT w;
  GetWindowRect(window, &w);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return POINT{origin.x - w.left, origin.y - w.top};
}

std::u16string ArtifactsFolder() {
  const char* env = std::getenv("QH_ARTIFACTS");
  if (env != nullptr && *env != '\0') {
    // A Unix path from CMake: Wine maps it under Z:.
    std::u16string path = u"Z:" + Utf8ToUtf16(env);
    for (auto& c : path)
      if (c == u'/') c = u'\\';
    CreateDirectoryW(reinterpret_cast<LPCWSTR>(path.c_str()), nullptr);
    return path;
  }
  WCHAR temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::u16string path(reinterpret_cast<const char16_t*>(temp));
  if (!path.empty() && path.back() == u'\\') path.pop_back();
  return path;
}

std::u16string TCapture::Save(const std::u16string& name) const {
  TOwned<TBitmap> bitmap(new TBitmap);
  bitmap->SetPixelFormat(TPixelFormat::pf32bit);
  bitmap->SetSize(Width, Height);
  for (int y = 0; y < Height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(bitmap->ScanLine(y));
    for (int x = 0; x < Width; ++x) row[x] = At(x, y) | 0xFF000000u;
  }
  std::u16string path = ArtifactsFolder() + u"\\" + name;
  SavePng(*bitmap, path);
  return path;
}

std::u16string WindowText(HWND window) {
  int n = GetWindowTextLengthW(window);
  std::u16string text(static_cast<size_t>(n) + 1, u'\0');
  GetWindowTextW(window, reinterpret_cast<LPWSTR>(text.data()), n + 1);
  text.resize(static_cast<size_t>(n));
  return text;
}

std::u16string WindowClass(HWND window) {
  WCHAR name[256];
  int n = GetClassNameW(window, name, 256);
  return std::u16string(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(n));
}

namespace {
TMessageBoxWatcher* g_watcher = nullptr;

BOOL CALLBACK CollectStatic(HWND child, LPARAM data) {
  auto* texts = reinterpret_cast<std::vector<std::pair<int, std::u16string>>*>(data);
  if (SameTextAscii(WindowClass(child), u"Static"))
    texts->emplace_back(GetDlgCtrlID(child), WindowText(child));
  return TRUE;
}
}  // namespace

TMessageBoxWatcher::TMessageBoxWatcher(int answer) : answer_(answer) {
  g_watcher = this;
  hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
}

TMessageBoxWatcher::~TMessageBoxWatcher() {
  UnhookWindowsHookEx(hook_);
  if (g_watcher == this) g_watcher = nullptr;
}

LRESULT CALLBACK TMessageBoxWatcher::Hook(int code, WPARAM wParam, LPARAM lParam) {
  TMessageBoxWatcher* self = g_watcher;
  if (self != nullptr && code == HCBT_ACTIVATE) {
    auto window = reinterpret_cast<HWND>(wParam);
    if (WindowClass(window) == u"#32770") {
      Box box;
      box.Caption = WindowText(window);
      std::vector<std::pair<int, std::u16string>> texts;
      EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&texts));
      for (auto& [id, text] : texts) {
        if (id == 0xFFFF || text.size() > box.Text.size()) box.Text = text;
        if (id == 0xFFFF) break;
      }
      HWND icon = GetDlgItem(window, 0x440);
      if (icon != nullptr) {
        HICON shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
        if (shown == LoadIconW(nullptr, IDI_HAND)) box.Icon = MB_ICONERROR;
        else if (shown == LoadIconW(nullptr, IDI_EXCLAMATION)) box.Icon = MB_ICONWARNING;
        else if (shown == LoadIconW(nullptr, IDI_ASTERISK)) box.Icon = MB_ICONINFORMATION;
        else if (shown == LoadIconW(nullptr, IDI_QUESTION)) box.Icon = MB_ICONQUESTION;
      }
      self->boxes_.push_back(box);
      PostMessageW(window, WM_COMMAND, MAKEWPARAM(self->answer_, BN_CLICKED), 0);
    }
  }
  return CallNextHookEx(self != nullptr ? self->hook_ : nullptr, code, wParam, lParam);
}
