#pragma once
// One button of a tool bar.  The tool bar's native button does the drawing; this
// windowless control mirrors its place and carries caption, image and menu item.
#include "framework/controls/GraphicControl.h"
#include "framework/menus/MenuItem.h"

class TMenuItem;
class TToolBar;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TGraphicControl {
  DECLARE_CLASS(TToolButton, TGraphicControl)
  explicit TToolButton(TComponent* owner);

  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int i);
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle s);
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Wrap() const { return wrap_; }
  void SetWrap(bool v);
  TMenuItem* MenuItem() const { return menuItem_.Get(); }
  void SetMenuItem(TMenuItem* item);
  TToolBar* ToolBar() const;
  // Position among the tool bar's buttons.
  int Index() const;
  void Click() override;
  void WndProc(TMessage& message) override;

 protected:
  void Paint() override {}

 private:
  void Changed();
  int imageIndex_ = -1;
  TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
  bool down_ = false, grouped_ = false, autoSize_ = false, wrap_ = false;
  TWeakRef<TMenuItem> menuItem_;
};

DECLARE_ENUM_NAMES(TToolButtonStyle, u"tbsButton", u"tbsCheck", u"tbsDropDown", u"tbsSeparator",
                   u"tbsDivider")
