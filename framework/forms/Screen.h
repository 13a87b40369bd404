#pragma once
// TScreen: the application's forms, the active form and control, cursors and the
// system fonts.
#include <windows.h>

#include <map>
#include <vector>

#include "framework/controls/Control.h"
#include "framework/core/Component.h"
#include "framework/graphics/Font.h"

class TCustomForm;
class TWinControl;
class TFont;

class TScreen : public TComponent {
  DECLARE_CLASS(TScreen, TComponent)
  explicit TScreen(TComponent* owner);

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
  TCustomForm* ActiveForm() const { return activeForm_.Get(); }
  TWinControl* ActiveControl() const;

  // A cursor other than crDefault overrides every control's own.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  HCURSOR Cursors(TCursor cursor) const;

  TFont* MenuFont() const { return menuFont_.get(); }
  TFont* HintFont() const { return hintFont_.get(); }
  int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  int DesktopLeft() const { return GetSystemMetrics(SM_XVIRTUALSCREEN); }
  int DesktopTop() const { return GetSystemMetrics(SM_YVIRTUALSCREEN); }
  int DesktopWidth() const { return GetSystemMetrics(SM_CXVIRTUALSCREEN); }
  int DesktopHeight() const { return GetSystemMetrics(SM_CYVIRTUALSCREEN); }
  int PixelsPerInch() const { return pixelsPerInch_; }

  // Form bookkeeping, done by the forms themselves.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void SetActiveForm(TCustomForm* form);

 protected:
  void BeforeDestruction() override;

 private:
  std::vector<TCustomForm*> forms_;
  TWeakRef<TCustomForm> activeForm_;
  TCursor cursor_ = crDefault;
  TOwned<TFont> menuFont_;
  TOwned<TFont> hintFont_;
  int pixelsPerInch_ = 96;
};

extern TScreen* Screen;
