#include "browser/EmbeddedWB.h"

#include <windows.h>

#include "framework/core/Property.h"
#include "framework/core/Stream.h"
#include "framework/core/Unicode.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TEmbeddedWB) {
  p.Object<TStrings>(u"HTMLCode", &TEmbeddedWB::HTMLCode, &TEmbeddedWB::SetHTMLCode);
  p.Object<TPrintOptions>(u"PrintOptions", &TEmbeddedWB::PrintOptions, &TEmbeddedWB::SetPrintOptions);
  p.Text(u"HostCSS", &TEmbeddedWB::HostCSS, &TEmbeddedWB::SetHostCSS);
  p.Text(u"HostNS", &TEmbeddedWB::HostNS, &TEmbeddedWB::SetHostNS);
}

TEmbeddedWB::TEmbeddedWB(TComponent* owner)
    : TCustomEmbeddedWB(owner), htmlCode_(new TStringList), printOptions_(new TPrintOptions) {
  htmlCode_->OnChange = [this](TObject* sender) { HTMLCodeChanged(sender); };
}

void TEmbeddedWB::Loaded() {
  TCustomEmbeddedWB::Loaded();
  // The print margins are in the unit of the user's locale.
  WCHAR measure[4] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IMEASURE, measure, 4) > 0)
    printOptions_->SetMeasure(measure[0] == u'1' ? TMeasure::mUS : TMeasure::mMetric);
}

void TEmbeddedWB::SetHTMLCode(TStrings* lines) {
  if (lines == nullptr) return;
  htmlCode_->SetText(lines->Text());
}

void TEmbeddedWB::HTMLCodeChanged(TObject*) {
  if (IsDesigning()) return;
  if (htmlCode_->Count() == 1) {
    std::u16string line = htmlCode_->Get(0);
    std::u16string head = LowerAscii(std::u16string_view(line).substr(0, 4));
    if (head == u"http" || head == u"www." || head == u"ftp:" || head == u"file") {
      GoToAddress(line);
      return;
    }
  }
  LoadFromStrings(*htmlCode_);
}

void TEmbeddedWB::GoToAddress(const std::u16string& text) {
  if (DirectoryExists(text)) {
    Navigate(u"file:///" + text);
    return;
  }
  if (!Trim(text).empty()) Navigate2(text);
}

int TEmbeddedWB::LoadFromStrings(const TStrings& lines) {
  try {
    TOwned<TMemoryStream> stream(new TMemoryStream);
    stream->WriteBuffer("\xEF\xBB\xBF", 3);
    for (int i = 0; i < lines.Count(); ++i) {
      std::string line = Utf16ToUtf8(lines.Get(i));
      line += "\r\n";
      stream->WriteBuffer(line.data(), static_cast<int64_t>(line.size()));
    }
    return LoadFromStream(*stream);
  } catch (const std::exception&) {
    return 1;
  }
}

int TEmbeddedWB::LoadFromStream(TStream& stream) {
  try {
    // The old control had no document before a navigation, and the load then failed; the
    // view makes an empty one at once, so the first text into a fresh pane shows.
    if (!view_->HasDocument()) view_->LoadFromString(u"", u"about:blank");
    stream.SetPosition(0);
    view_->LoadFromStream(stream, u"about:blank");
    return 0;
  } catch (const std::exception&) {
    return 1;
  }
}

void TEmbeddedWB::GetHostInfo(TWebView* view, TDocHostUIInfo& info) {
  TCustomEmbeddedWB::GetHostInfo(view, info);
  if (info.pchHostCss.empty()) info.pchHostCss = hostCss_;
  if (info.pchHostNS.empty()) info.pchHostNS = hostNs_;
}
