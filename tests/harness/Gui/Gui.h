#pragma once
// Helpers for tests with real windows: the application object, pumping messages until
// something holds, input, reading back pixels of a window (frame included), message
// boxes closed by the test.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The process's TApplication, created on first use.
void EnsureApplication();

// Dispatches messages until done() holds or timeoutMs passed; answers done().
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
void PumpFor(int ms);

// Input through SendInput, as a user would give it: the cursor moves to the point.
void MoveMouseTo(HWND window, int clientX, int clientY);
void ClickAt(HWND window, int clientX, int clientY, bool right = false);
void PressKey(WORD key, bool ctrl = false, bool alt = false, bool shift = false);
void TypeText(const std::u16string& text);

// A capture of a window's pixels, non-client area included, as 0x00RRGGBB.
struct TCapture {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;
  uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
  // Writes a PNG under the test artefacts folder; answers the path written.
  std::u16string Save(const std::u16string& name) const;
};
TCapture CaptureWindow(HWND window);
// The client area's origin within the window (for reading client pixels in a capture).
POINT ClientOffset(HWND window);
// 0x00RRGGBB of a COLORREF.
uint32_t Rgb(COLORREF c);

// Folder for files a test leaves for inspection (QH_ARTIFACTS, else the temp folder).
std::u16string ArtifactsFolder();

// While alive: every message box of this thread is recorded and closed with the given
// button as soon as it is shown.
class TMessageBoxWatcher {
 public:
  struct Box {
    std::u16string Text, Caption;
    UINT Icon = 0;  // MB_ICONERROR etc., as far as it can be told
  };
  explicit TMessageBoxWatcher(int answer = IDOK);
  ~TMessageBoxWatcher();
  const std::vector<Box>& Boxes() const { return boxes_; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  HHOOK hook_;
  int answer_;
  std::vector<Box> boxes_;
};

// Text of a window (GetWindowTextW).
std::u16string WindowText(HWND window);
std::u16string WindowClass(HWND window);
