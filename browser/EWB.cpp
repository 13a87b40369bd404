#include "browser/EWB.h"

#include "framework/core/Property.h"

namespace {

// DWebBrowserEvents2, in the order of the old wrapper's event table.
const TEWBEvent kEvents[] = {
    {102, u"StatusTextChange", false},
    {108, u"ProgressChange", false},
    {105, u"CommandStateChange", false},
    {106, u"DownloadBegin", false},
    {104, u"DownloadComplete", false},
    {113, u"TitleChange", false},
    {112, u"PropertyChange", false},
    {250, u"BeforeNavigate2", false},
    {251, u"NewWindow2", false},
    {252, u"NavigateComplete2", true},
    {259, u"DocumentComplete", false},
    {253, u"OnQuit", false},
    {254, u"OnVisible", true},
    {255, u"OnToolBar", false},
    {256, u"OnMenuBar", false},
    {257, u"OnStatusBar", false},
    {258, u"OnFullScreen", false},
    {260, u"OnTheaterMode", false},
    {261, u"OnAddressBar", false},
    {262, u"WindowSetResizable", false},
    {264, u"WindowSetLeft", false},
    {265, u"WindowSetTop", false},
    {266, u"WindowSetWidth", false},
    {267, u"WindowSetHeight", false},
    {263, u"WindowClosing", false},
    {268, u"ClientToHostWindow", false},
    {269, u"SetSecureLockIcon", false},
    {270, u"FileDownload", false},
    {271, u"NavigateError", true},
    {225, u"PrintTemplateInstantiation", false},
    {226, u"PrintTemplateTeardown", false},
    {227, u"UpdatePageStatus", false},
    {272, u"PrivacyImpactedStateChange", false},
    {273, u"NewWindow3", true},
};

const TEWBControlData kControlData = {
    u"{8856F961-340A-11D0-A96B-00C04FD705A2}",
    u"{D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}",
    u"{34A715A0-6587-11D0-924A-0020AFC7AC4D}",
    kEvents,
    static_cast<int>(sizeof(kEvents) / sizeof(kEvents[0])),
};

}  // namespace

IMPLEMENT_CLASS(TEWB)

TEWB::TEWB(TComponent* owner) : TWinControl(owner), view_(new TWebView(this)) {
  SetBounds(0, 0, 300, 150);
  SetTabStop(true);
  view_->OnNavigateComplete2 = [this](TObject*, TObject* pDisp, const std::u16string& url) {
    if (OnNavigateComplete2) OnNavigateComplete2(this, pDisp, url);
  };
  view_->OnNavigateError = [this](TObject*, TObject* pDisp, const std::u16string& url, const std::u16string& frame,
                                  int32_t status, bool& cancel) {
    if (OnNavigateError) OnNavigateError(this, pDisp, url, frame, status, cancel);
  };
  view_->OnNewWindow3 = [this](TObject*, TObject*& ppDisp, bool& cancel, uint32_t flags, const std::u16string& context,
                               const std::u16string& url) {
    if (!OnNewWindow3) return;
    OnNewWindow3(this, ppDisp, cancel, flags, context, url);
    // A pane named as the new window means its view.
    if (auto* pane = As<TEWB>(ppDisp)) ppDisp = pane->DefaultInterface();
  };
}

const TEWBControlData& TEWB::ControlData() { return kControlData; }

const TEWBEvent* TEWB::FindEvent(int32_t dispId) {
  for (const TEWBEvent& e : kEvents)
    if (e.DispId == dispId) return &e;
  return nullptr;
}

void TEWB::CreateWnd() {
  TWinControl::CreateWnd();
  // The view is no framework child: its window can outlive this one (TCustomEmbeddedWB).
  view_->SetParentWindow(Handle());
  view_->HandleNeeded();
  FitView();
}

void TEWB::FitView() {
  if (!HandleAllocated() || !view_->HandleAllocated()) return;
  TRect client = ClientRect();
  SetWindowPos(view_->Handle(), nullptr, 0, 0, client.Width(), client.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TEWB::Resize() {
  FitView();
  TWinControl::Resize();
}

void TEWB::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_VISIBLECHANGED: {
      TWinControl::WndProc(m);
      view_->SetVisible(Visible());
      if (OnVisible) OnVisible(this, Visible());
      return;
    }
    case WM_SETFOCUS:
      TWinControl::WndProc(m);
      if (view_->HandleAllocated()) ::SetFocus(view_->Handle());
      return;
    case WM_ERASEBKGND: m.Result = 1; return;
  }
  TWinControl::WndProc(m);
}

void TEWB::Navigate(const std::u16string& url) {
  HandleNeeded();
  view_->Navigate(url);
}

void TEWB::Navigate2(const std::u16string& url) { Navigate(url); }

void TEWB::Stop() { view_->Stop(); }
