#include "platform/ui/ComCtrls.h"

#include <QPainter>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <algorithm>

#include "platform/system/AnsiStrings.h"
#include "platform/system/Exceptions.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/QtText.h"

namespace {

// Room between the control's edge and the active page.
constexpr int DisplayMargin = 4;

class TPageControlWidget : public QWidget, public TControlLink {
 public:
  explicit TPageControlWidget(TPageControl* control) : QWidget(nullptr), TControlLink(control) {}

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    auto* control = static_cast<TPageControl*>(LinkedControl());
    if (control == nullptr) return;
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(control->Color()));
    const TRect display = control->DisplayRect();
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(QRect(display.Left - 2, display.Top - 2, display.Width() + 3, display.Height() + 3));
  }
};

// The strip of visible tabs. Owner-drawn, it paints the tab shapes and hands each tab's inside to the
// page control's DrawTab with the control's font and brush on its canvas.
class TTabStrip : public QTabBar {
 public:
  explicit TTabStrip(TPageControl* control) : QTabBar(nullptr), FControl(control) {
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(true);
    setFocusPolicy(Qt::TabFocus);
  }
  void Detach() { FControl = nullptr; }

 protected:
  QSize tabSizeHint(int index) const override {
    QSize size = QTabBar::tabSizeHint(index);
    if (FControl != nullptr && FControl->TabHeight() > 0) size.setHeight(FControl->TabHeight());
    return size;
  }

  void paintEvent(QPaintEvent* event) override {
    if (FControl == nullptr || !FControl->OwnerDraw()) {
      QTabBar::paintEvent(event);
      return;
    }
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
      QStyleOptionTab option;
      initStyleOption(&option, i);
      option.text.clear();
      painter.drawControl(QStyle::CE_TabBarTabShape, option);
    }
    TCanvas& canvas = FControl->Canvas();
    canvas.SetPainter(&painter);
    for (int i = 0; i < count(); ++i) {
      canvas.Brush().SetColor(FControl->Color());
      canvas.Brush().SetStyle(bsSolid);
      canvas.Font().Assign(*FControl->Font());
      const QRect r = tabRect(i).adjusted(2, 2, -2, 0);
      const TRect rect = Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
      TPageControl* control = FControl;
      GuardedCall(control, [&] { control->DrawTab(i, rect, i == control->ActiveTabIndex()); });
    }
    canvas.SetPainter(nullptr);
  }

 private:
  TPageControl* FControl;
};

}  // namespace

// ---- TCustomTabControl

const TMetaClass& TCustomTabControl::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TCustomTabControl>("TCustomTabControl")
          .Boolean("HotTrack", &TCustomTabControl::HotTrack, &TCustomTabControl::SetHotTrack)
          .Default(false)
          .Boolean("OwnerDraw", &TCustomTabControl::OwnerDraw, &TCustomTabControl::SetOwnerDraw)
          .Default(false)
          .Integer("TabHeight", &TCustomTabControl::TabHeight, &TCustomTabControl::SetTabHeight)
          .Default(0)
          .Boolean("TabStop", &TCustomTabControl::TabStop, &TCustomTabControl::SetTabStop)
          .Default(true)
          .Event("OnDrawTab", &TCustomTabControl::OnDrawTab);
  return cls;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {}

void TCustomTabControl::SetOwnerDraw(bool value) {
  FOwnerDraw = value;
  TabsChanged();
}

void TCustomTabControl::SetTabHeight(int height) {
  FTabHeight = height;
  TabsChanged();
}

void TCustomTabControl::DrawTab(int tabIndex, const TRect& rect, bool active) {
  if (OnDrawTab.Assigned()) {
    OnDrawTab(this, tabIndex, rect, active);
  } else {
    FCanvas.FillRect(rect);
  }
}

// ---- TPageControl

const TMetaClass& TPageControl::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TPageControl>("TPageControl")
          .Component("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
  return cls;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {
  FWidth = 289;
  FHeight = 193;
  auto* widget = new TPageControlWidget(this);
  FTabBar = new TTabStrip(this);
  FTabBar->setParent(widget);
  FTabBar->hide();
  // Qt always keeps one tab current, also while the active page's own tab is hidden; a click on that
  // tab changes nothing in Qt, so it is taken here. Every other change of tab comes as a change.
  QObject::connect(FTabBar, &QTabBar::tabBarClicked, FTabBar, [this](int index) {
    if (!FUpdatingTabs && index >= 0 && index == FTabBar->currentIndex())
      GuardedCall(this, [this, index] { TabClicked(index); });
  });
  QObject::connect(FTabBar, &QTabBar::currentChanged, FTabBar, [this](int index) {
    if (!FUpdatingTabs) GuardedCall(this, [this, index] { TabClicked(index); });
  });
  SetWidget(widget);
  SetTabStop(true);
}

TPageControl::~TPageControl() {
  // The tab strip outlives this part of the control by a little: it must not call back into it.
  QObject::disconnect(FTabBar, &QTabBar::tabBarClicked, nullptr, nullptr);
  QObject::disconnect(FTabBar, &QTabBar::currentChanged, nullptr, nullptr);
  static_cast<TTabStrip*>(FTabBar)->Detach();
  for (TTabSheet* page : FPages) page->FPageControl = nullptr;
  FPages.clear();
}

TTabSheet* TPageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount())
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
  return FPages[static_cast<size_t>(index)];
}

int TPageControl::ActiveTabIndex() const { return FActivePage != nullptr ? FActivePage->TabIndex() : -1; }

int TPageControl::ActivePageIndex() const {
  const auto it = std::find(FPages.begin(), FPages.end(), FActivePage);
  return it == FPages.end() ? -1 : static_cast<int>(it - FPages.begin());
}

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page != nullptr && page->PageControl() != this)
    throw EInvalidOperation("The page belongs to another control");
  FActivePage = page;
  for (TTabSheet* p : FPages) p->SetVisible(p == page);
  UpdateTabs();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward, bool checkTabVisible) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  int start = -1;
  for (int i = 0; i < count; ++i) {
    if (FPages[static_cast<size_t>(i)] == current) start = i;
  }
  if (start < 0) start = goForward ? count - 1 : 0;
  int i = start;
  do {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TTabSheet* page = FPages[static_cast<size_t>(i)];
    if (!checkTabVisible || page->TabVisible()) return page;
  } while (i != start);
  return nullptr;
}

int TPageControl::VisibleTabCount() const {
  return static_cast<int>(
      std::count_if(FPages.begin(), FPages.end(), [](TTabSheet* p) { return p->TabVisible(); }));
}

TRect TPageControl::TabRect(int tabIndex) const {
  if (tabIndex < 0 || tabIndex >= FTabBar->count()) return TRect{};
  const QRect r = FTabBar->tabRect(tabIndex).translated(FTabBar->pos());
  return Rect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

TRect TPageControl::DisplayRect() const {
  const int tabs = VisibleTabCount() > 0 ? FTabBar->sizeHint().height() : 0;
  return Rect(DisplayMargin, tabs + DisplayMargin, std::max(FWidth - DisplayMargin, DisplayMargin),
              std::max(FHeight - DisplayMargin, tabs + DisplayMargin));
}

void TPageControl::InsertPage(TTabSheet* page) {
  if (std::find(FPages.begin(), FPages.end(), page) == FPages.end()) FPages.push_back(page);
  page->SetVisible(page == FActivePage);
  UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page) {
  FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
  if (FActivePage == page) FActivePage = nullptr;
  UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
  FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
  index = std::clamp(index, 0, PageCount());
  FPages.insert(FPages.begin() + index, page);
  UpdateTabs();
}

void TPageControl::UpdateTabs() {
  if (FTabBar == nullptr) return;
  FUpdatingTabs = true;
  while (FTabBar->count() > 0) FTabBar->removeTab(FTabBar->count() - 1);
  for (TTabSheet* page : FPages) {
    if (page->TabVisible()) FTabBar->addTab(ToQString(page->Caption()));
  }
  FTabBar->setFont(Font()->ToQFont());
  FTabBar->setCurrentIndex(ActiveTabIndex());
  FUpdatingTabs = false;
  LayoutPages();
  FTabBar->update();
}

void TPageControl::LayoutPages() {
  if (FTabBar == nullptr) return;
  if (FTabBar->count() > 0) {
    FTabBar->setGeometry(2, 0, std::max(FWidth - 4, 0), FTabBar->sizeHint().height());
    FTabBar->show();
  } else {
    FTabBar->hide();
  }
  const TRect display = DisplayRect();
  for (TTabSheet* page : FPages)
    page->SetBounds(display.Left, display.Top, display.Width(), display.Height());
  if (Widget() != nullptr) Widget()->update();
}

void TPageControl::TabClicked(int tabIndex) {
  if (tabIndex < 0) return;
  TTabSheet* page = FindNextPage(nullptr, true, true);
  for (int i = 0; i < tabIndex && page != nullptr; ++i) page = FindNextPage(page, true, true);
  if (page != nullptr && page != FActivePage) SetActivePage(page);
}

void TPageControl::SetBounds(int left, int top, int width, int height) {
  TCustomTabControl::SetBounds(left, top, width, height);
  LayoutPages();
}

void TPageControl::Loaded() {
  TCustomTabControl::Loaded();
  UpdateTabs();
}

void TPageControl::FontChanged() {
  TCustomTabControl::FontChanged();
  UpdateTabs();
}

// ---- TTabSheet

const TMetaClass& TTabSheet::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TTabSheet>("TTabSheet")
                                    .Integer("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
                                    .Boolean("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
                                    .Default(true);
  return cls;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) { SetWidget(new TPaintedWidget(this)); }

TTabSheet::~TTabSheet() {
  if (FPageControl != nullptr) FPageControl->RemovePage(this);
  FPageControl = nullptr;
}

void TTabSheet::SetPageControl(TPageControl* control) { SetParent(control); }

void TTabSheet::SetParent(TWinControl* parent) {
  auto* control = dynamic_cast<TPageControl*>(parent);
  if (parent != nullptr && control == nullptr)
    throw EInvalidOperation("A tab sheet can only be placed on a page control");
  if (FPageControl != nullptr && FPageControl != control) {
    TPageControl* old = FPageControl;
    FPageControl = nullptr;
    old->RemovePage(this);
  }
  TWinControl::SetParent(parent);
  if (control != nullptr && FPageControl != control) {
    FPageControl = control;
    control->InsertPage(this);
  }
}

void TTabSheet::SetTabVisible(bool visible) {
  FTabVisible = visible;
  if (FPageControl != nullptr) FPageControl->UpdateTabs();
}

int TTabSheet::PageIndex() const {
  if (FPageControl == nullptr) return -1;
  for (int i = 0; i < FPageControl->PageCount(); ++i) {
    if (FPageControl->Pages(i) == this) return i;
  }
  return -1;
}

void TTabSheet::SetPageIndex(int index) {
  if (FPageControl != nullptr) FPageControl->MovePage(this, index);
}

int TTabSheet::TabIndex() const {
  if (!FTabVisible || FPageControl == nullptr) return -1;
  int index = 0;
  for (int i = 0; i < FPageControl->PageCount(); ++i) {
    TTabSheet* page = FPageControl->Pages(i);
    if (page == this) return index;
    if (page->TabVisible()) ++index;
  }
  return -1;
}

void TTabSheet::CaptionChanged() {
  if (FPageControl != nullptr) FPageControl->UpdateTabs();
}
