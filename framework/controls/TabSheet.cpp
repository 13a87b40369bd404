#include "framework/controls/TabSheet.h"

#include "framework/controls/ControlProperties.h"
#include "framework/controls/PageControl.h"
#include "framework/graphics/Colors.h"

IMPLEMENT_CLASS_WITH_PROPERTIES(TTabSheet) {
  PublishCaption(p);
  PublishFont(p);
  p.Boolean(u"TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible);
  p.Integer(u"PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex);
  p.Integer(u"ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex);
  p.Object<TPageControl>(u"PageControl", &TTabSheet::PageControl, &TTabSheet::SetPageControl);
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  visible_ = false;
  SetColor(clBtnFace);
  SetParentColor(true);
}

void TTabSheet::BeforeDestruction() {
  Destroying();
  if (pageControl_ != nullptr) pageControl_->RemovePage(this);
  TWinControl::BeforeDestruction();
}

void TTabSheet::SetPageControl(TPageControl* control) {
  if (control == pageControl_) return;
  if (pageControl_ != nullptr) pageControl_->RemovePage(this);
  // The page control takes the sheet as a page when it becomes its child.
  SetParent(control);
}

void TTabSheet::SetTabVisible(bool v) {
  if (v == tabVisible_) return;
  int oldPosition = TabIndex();
  tabVisible_ = v;
  if (pageControl_ != nullptr) pageControl_->TabVisibilityChanged(this, oldPosition);
}

int TTabSheet::PageIndex() const {
  if (pageControl_ == nullptr) return -1;
  for (int i = 0; i < pageControl_->PageCount(); ++i)
    if (pageControl_->Pages(i) == this) return i;
  return -1;
}

void TTabSheet::SetPageIndex(int index) {
  if (pageControl_ != nullptr) pageControl_->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
  if (pageControl_ == nullptr || !tabVisible_) return -1;
  int position = 0;
  for (int i = 0; i < pageControl_->PageCount(); ++i) {
    TTabSheet* page = pageControl_->Pages(i);
    if (page == this) return position;
    if (page->tabVisible_) ++position;
  }
  return -1;
}

void TTabSheet::SetImageIndex(int i) {
  if (i == imageIndex_) return;
  imageIndex_ = i;
  if (pageControl_ != nullptr) pageControl_->TabCaptionChanged(this);
}

void TTabSheet::WndProc(TMessage& m) {
  if (m.Msg == CM_TEXTCHANGED) {
    if (pageControl_ != nullptr) pageControl_->TabCaptionChanged(this);
    return;
  }
  TWinControl::WndProc(m);
}
