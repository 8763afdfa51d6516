// Tab controls: the page control with its tab sheets, owner-drawn tabs and the visible-tab search.
#pragma once

#include <vector>

#include "platform/ui/Controls.h"

class QTabBar;
class TCustomTabControl;
class TTabSheet;

// Paints one tab: the control, the tab's index among the visible tabs, its rectangle, and whether it is
// the selected tab.
using TDrawTabEvent = TEvent<void(TCustomTabControl* Control, int TabIndex, const TRect& Rect, bool Active)>;

class TCustomTabControl : public TWinControl {
  Q_CLASS(TCustomTabControl, TWinControl)

  explicit TCustomTabControl(TComponent* owner);

  // The canvas tabs are painted on; it has a painter only while the tabs are being painted.
  TCanvas& Canvas() { return FCanvas; }

  bool OwnerDraw() const { return FOwnerDraw; }
  void SetOwnerDraw(bool value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool value) { FHotTrack = value; }
  // The height of the tabs in pixels; 0 for the height the font needs.
  int TabHeight() const { return FTabHeight; }
  void SetTabHeight(int height);

  // Paints tab TabIndex on Canvas: OnDrawTab when assigned, else a plain fill.
  virtual void DrawTab(int tabIndex, const TRect& rect, bool active);

  TDrawTabEvent OnDrawTab;

 protected:
  virtual void TabsChanged() {}

 private:
  TCanvas FCanvas;
  bool FOwnerDraw = false;
  bool FHotTrack = false;
  int FTabHeight = 0;
};

// A set of pages, each with a tab unless its TabVisible is False; the active page fills the area below
// the tabs. Tab indexes count visible tabs only.
class TPageControl : public TCustomTabControl {
  Q_CLASS(TPageControl, TCustomTabControl)

  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(FPages.size()); }
  // All pages, hidden tabs included, in page order; EListError outside 0..PageCount-1.
  TTabSheet* Pages(int index) const;

  TTabSheet* ActivePage() const { return FActivePage; }
  // Shows page (nullptr: none) and selects its tab; a page of another control raises EInvalidOperation.
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  // The active page's index among the visible tabs; -1 when there is no active page or its tab is
  // hidden (Qt then still shows some tab as current, which is not the active one).
  int ActiveTabIndex() const;

  // The page after (or before) current, wrapping around the ends, that has a visible tab when
  // checkTabVisible; current itself when it is the only such page; nullptr when there is none.
  // A current page that is not one of this control's starts the search from the end (or start).
  TTabSheet* FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const;

  // The number of visible tabs.
  int VisibleTabCount() const;
  // The rectangle of visible tab index in the control's coordinates (empty when there is none).
  TRect TabRect(int tabIndex) const;
  // The area the active page fills.
  TRect DisplayRect() const;

  void SetBounds(int left, int top, int width, int height) override;
  void Loaded() override;

  // Called by the pages: their list, captions and tab visibility changed.
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void MovePage(TTabSheet* page, int index);
  void UpdateTabs();

  QTabBar* TabBar() const { return FTabBar; }

 protected:
  void FontChanged() override;
  void TabsChanged() override { UpdateTabs(); }

 private:
  void LayoutPages();
  void TabClicked(int tabIndex);

  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  QTabBar* FTabBar = nullptr;
  bool FUpdatingTabs = false;
};

// One page of a page control; its parent is the page control.
class TTabSheet : public TWinControl {
  Q_CLASS(TTabSheet, TWinControl)

  explicit TTabSheet(TComponent* owner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* control);
  void SetParent(TWinControl* parent) override;

  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool visible);
  // The position among all pages; -1 without a page control.
  int PageIndex() const;
  void SetPageIndex(int index);
  // The index of this page's tab among the visible tabs: the number of pages before it with a visible
  // tab, or -1 when its own tab is hidden.
  int TabIndex() const;

 protected:
  void CaptionChanged() override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};
