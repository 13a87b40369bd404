#pragma once
// Tab controls over the native "SysTabControl32" class, and the page control whose tabs
// are its visible tab sheets, always in page order.
#include <functional>
#include <vector>

#include "framework/controls/WinControl.h"
#include "framework/graphics/ImageList.h"

class TImageList;
class TTabSheet;

enum class TTabStyle { tsTabs, tsButtons, tsFlatButtons };
enum class TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TCustomTabControl : public TWinControl {
  DECLARE_CLASS(TCustomTabControl, TWinControl)
  explicit TCustomTabControl(TComponent* owner);

  int TabHeight() const { return tabHeight_; }
  void SetTabHeight(int h);
  int TabWidth() const { return tabWidth_; }
  void SetTabWidth(int w);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle s);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition p);
  TImageList* Images() const { return images_.Get(); }
  void SetImages(TImageList* images);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool v);
  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void AdjustClientRect(TRect& rect) const override;
  // The tab items, rebuilt from the model.
  virtual void UpdateTabItems() {}
  virtual bool CanChange();
  virtual void Change();
  // The native selection moved to tab index.
  virtual void TabSelected(int index) {}
  void ApplyItemSize();

 private:
  int tabHeight_ = 0, tabWidth_ = 0;
  TTabStyle style_ = TTabStyle::tsTabs;
  bool multiLine_ = false, hotTrack_ = false;
  TTabPosition tabPosition_ = TTabPosition::tpTop;
  TWeakRef<TImageList> images_;
};

class TPageControl : public TCustomTabControl {
  DECLARE_CLASS(TPageControl, TCustomTabControl)
  explicit TPageControl(TComponent* owner);

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // The visible tabs in page order.
  std::vector<TTabSheet*> VisibleTabs() const;
  TTabSheet* FindNextPage(TTabSheet* current, bool forward, bool checkTabVisible) const;
  void SelectNextPage(bool forward);

  // Bookkeeping by the tab sheets.
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  // A tab was shown or hidden; position is where it stood among the visible tabs before.
  void TabVisibilityChanged(TTabSheet* page, int oldPosition);
  void TabCaptionChanged(TTabSheet* page);
  void WndProc(TMessage& message) override;

 protected:
  void BeforeDestruction() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void UpdateTabItems() override;
  void TabSelected(int index) override;
  void ChangeActivePage(TTabSheet* page);
  void SyncSelection();

 private:
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
};

DECLARE_ENUM_NAMES(TTabStyle, u"tsTabs", u"tsButtons", u"tsFlatButtons")
DECLARE_ENUM_NAMES(TTabPosition, u"tpTop", u"tpBottom", u"tpLeft", u"tpRight")
