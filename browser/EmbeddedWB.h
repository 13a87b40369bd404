#pragma once
// TEmbeddedWB: the pane placed on forms.  HTML from a string list of its own (HTMLCode),
// print options, and the host style sheet.
#include <string>

#include "browser/CustomEmbeddedWB.h"
#include "browser/PrintOptions.h"
#include "framework/core/Strings.h"

class TStream;

class TEmbeddedWB : public TCustomEmbeddedWB {
  DECLARE_CLASS(TEmbeddedWB, TCustomEmbeddedWB)
  explicit TEmbeddedWB(TComponent* owner);

  // The pane's own list; each change runs the HTML-code handler.
  TStrings* HTMLCode() const { return htmlCode_.get(); }
  // Copies the whole text of lines in one change (one handler run); no list does nothing.
  // The caller keeps its list.
  void SetHTMLCode(TStrings* lines);

  // The lines as one document, each followed by a line break: 0 when shown, 1 when it
  // failed (the error is absorbed).
  int LoadFromStrings(const TStrings& lines);
  // A stream as one document, read from its start: 0 when shown, 1 when it failed.
  int LoadFromStream(TStream& stream);

  TPrintOptions* PrintOptions() const { return printOptions_.get(); }
  void SetPrintOptions(TPrintOptions* options) { printOptions_->Assign(options); }
  // Style sheet and namespace handed over with the host information when the optional
  // event left them empty.
  const std::u16string& HostCSS() const { return hostCss_; }
  void SetHostCSS(const std::u16string& css) { hostCss_ = css; }
  const std::u16string& HostNS() const { return hostNs_; }
  void SetHostNS(const std::u16string& ns) { hostNs_ = ns; }

  void GetHostInfo(TWebView* view, TDocHostUIInfo& info) override;

 protected:
  void Loaded() override;

 private:
  void HTMLCodeChanged(TObject* sender);
  void GoToAddress(const std::u16string& text);

  TOwned<TStringList> htmlCode_;
  TOwned<TPrintOptions> printOptions_;
  std::u16string hostCss_, hostNs_;
};
