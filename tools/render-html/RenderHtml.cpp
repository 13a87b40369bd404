// render_html FILE OUT.png WIDTH: shows FILE in the program's HTML view as a pane shows its
// HTML code (the same style sheet, fonts and pictures), lays the page out WIDTH pixels wide
// and writes all of it, top to bottom, as a PNG.  Any file is taken as HTML, whatever its
// extension (the detail templates are img\*.txt in GBK), with "{$path}" standing for the
// program's folder: the one above img\ for a template there, else the file's own.  A folder
// shows as its listing.  Paths are Windows paths (the ./render-html script converts them).
// Exit status: 0 written, 1 the page or the picture failed, 2 bad arguments; what went wrong
// on standard output.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"
#include "framework/forms/Application.h"
#include "framework/forms/CustomForm.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/PngImage.h"
#include "webview/HtmlDocument.h"
#include "webview/TextDecoding.h"
#include "webview/Url.h"
#include "webview/WebView.h"

namespace {

// Taller pages are cut: a picture this size is already 200 MB at 700 pixels.
constexpr int kMaxHeight = 60000;
constexpr int kWaitMs = 30000;

// On standard output: under Wine a program's standard error arrives late or not at all
// when it ends at once; the script passes the text on to its own standard error.
void Fail(const std::u16string& text) {
  std::printf("render-html: %s\n", Utf16ToUtf8(text).c_str());
  std::fflush(stdout);
}

std::vector<std::u16string> Arguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::u16string> args;
  for (int i = 1; i < count; ++i) args.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  LocalFree(argv);
  return args;
}

bool Pump(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
    Application->ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// The folder that "{$path}" names for a file, ending with a backslash.
std::u16string ProgramFolder(const std::u16string& file) {
  std::u16string full = ExpandFileName(file);
  std::u16string folder = full.substr(0, full.find_last_of(u'\\') + 1);
  std::u16string trimmed = folder.substr(0, folder.size() - 1);
  size_t slash = trimmed.find_last_of(u'\\');
  if (slash != std::u16string::npos && SameTextAscii(trimmed.substr(slash + 1), u"img")) return trimmed.substr(0, slash + 1);
  return folder;
}

}  // namespace

int main() {
  std::vector<std::u16string> args = Arguments();
  if (args.size() != 3) {
    Fail(u"usage: render_html FILE OUT.png WIDTH");
    return 2;
  }
  const std::u16string& input = args[0];
  const std::u16string& output = args[1];
  int64_t width = 0;
  if (!TryStrToInt(args[2], width) || width < 50 || width > 10000) {
    Fail(u"the width must be a number of pixels from 50 to 10000, not \"" + args[2] + u"\"");
    return 2;
  }
  if (!FileExists(input) && !DirectoryExists(input)) {
    Fail(u"no such file: " + input);
    return 2;
  }

  new TApplication(nullptr);
  bool failed = false;
  Application->OnException = [&](TObject*, const std::exception& e) {
    Fail(ExceptionText(e));
    failed = true;
  };
  auto* form = new TForm(Application);
  form->SetBounds(0, 0, static_cast<int>(width), 600);
  auto* view = new TWebView(form);
  view->SetParent(form);
  view->SetAlign(TAlign::alClient);
  view->SetTimeout(kWaitMs);
  bool done = false;
  std::u16string error;
  view->OnNavigateComplete2 = [&](TObject*, TObject*, const std::u16string&) { done = true; };
  view->OnNavigateError = [&](TObject*, TObject*, const std::u16string& url, const std::u16string&, int32_t status,
                              bool& cancel) {
    error = url + u": the page could not be loaded (status " + IntToHex(static_cast<uint32_t>(status), 8) + u")";
    cancel = true;
    done = true;
  };
  int result = 0;
  try {
    if (DirectoryExists(input)) {
      view->Navigate(input);
      if (!Pump([&] { return done; }, kWaitMs + 1000)) error = input + u": no answer";
    } else {
      TOwned<TMemoryStream> file(new TMemoryStream);
      file->LoadFromFile(input);
      std::u16string html = Utf8ToUtf16(DecodeDocument(
          std::string_view(reinterpret_cast<const char*>(file->Memory()), static_cast<size_t>(file->Size()))));
      view->LoadFromString(StringReplaceAll(html, u"{$path}", ProgramFolder(input)), PathToFileUrl(ExpandFileName(input)));
    }
    // Pictures from the network, if the page names any.
    if (error.empty() && !Pump([&] { return !view->Busy(); }, kWaitMs)) Fail(u"some pictures did not arrive in time");
    if (!error.empty() || failed) {
      if (!error.empty()) Fail(error);
      result = 1;
    } else {
      int w = static_cast<int>(width);
      view->LayoutPage(w, 600);
      int h = view->Document().Height();
      if (h > kMaxHeight) {
        Fail(u"the page is " + IntToStr(h) + u" pixels tall; the picture keeps the first " + IntToStr(kMaxHeight));
        h = kMaxHeight;
      }
      if (h < 1) h = 1;
      TOwned<TBitmap> picture(new TBitmap(w, h, TPixelFormat::pf24bit));
      view->PaintPage(picture->Canvas()->Handle(), TRect(0, 0, w, h), 0, 0);
      picture->Modified();
      SavePng(*picture, output);
    }
  } catch (const std::exception& e) {
    Fail(ExceptionText(e));
    result = 1;
  }
  FreeObject(Application);
  return result;
}
