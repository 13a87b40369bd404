#include "framework/forms/Screen.h"

#include <algorithm>

#include "framework/core/Property.h"
#include "framework/forms/CustomForm.h"
#include "framework/graphics/Font.h"

TScreen* Screen = nullptr;

IMPLEMENT_CLASS(TScreen)

static void FontFromLog(TFont* font, const LOGFONTW& lf) {
  font->SetName(reinterpret_cast<const char16_t*>(lf.lfFaceName));
  font->SetHeight(lf.lfHeight);
  font->SetCharset(lf.lfCharSet);
}

TScreen::TScreen(TComponent* owner) : TComponent(owner), menuFont_(new TFont), hintFont_(new TFont) {
  if (Screen == nullptr) Screen = this;
  HDC dc = GetDC(nullptr);
  pixelsPerInch_ = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    FontFromLog(menuFont_.get(), metrics.lfMenuFont);
    FontFromLog(hintFont_.get(), metrics.lfStatusFont);
  }
}

void TScreen::BeforeDestruction() {
  if (Screen == this) Screen = nullptr;
  TComponent::BeforeDestruction();
}

TWinControl* TScreen::ActiveControl() const {
  TCustomForm* form = ActiveForm();
  return form != nullptr ? form->ActiveControl() : nullptr;
}

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  POINT p;
  GetCursorPos(&p);
  SetCursorPos(p.x, p.y);  // makes the window under the mouse ask for its cursor again
}

HCURSOR TScreen::Cursors(TCursor cursor) const {
  struct Entry {
    TCursor cursor;
    LPCWSTR id;
  };
  static const Entry table[] = {
      {crArrow, IDC_ARROW},     {crCross, IDC_CROSS},       {crIBeam, IDC_IBEAM},
      {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},   {crSizeNWSE, IDC_SIZENWSE},
      {crSizeWE, IDC_SIZEWE},   {crUpArrow, IDC_UPARROW},   {crHourGlass, IDC_WAIT},
      {crNo, IDC_NO},           {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
      {crHandPoint, IDC_HAND},  {crSizeAll, IDC_SIZEALL},   {crHSplit, IDC_SIZEWE},
      {crVSplit, IDC_SIZENS},
  };
  if (cursor == crNone) return nullptr;
  for (const auto& e : table)
    if (e.cursor == cursor) return LoadCursorW(nullptr, e.id);
  return LoadCursorW(nullptr, IDC_ARROW);
}

void TScreen::AddForm(TCustomForm* form) {
  if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}

void TScreen::SetActiveForm(TCustomForm* form) { activeForm_ = form; }
