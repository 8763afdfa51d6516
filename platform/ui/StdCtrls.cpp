#include "platform/ui/StdCtrls.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "platform/system/AnsiStrings.h"
#include "platform/system/Exceptions.h"
#include "platform/ui/Controls_p.h"
#include "platform/ui/DrawText.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtText.h"

namespace {

class TButtonWidget : public QPushButton, public TControlLink {
 public:
  explicit TButtonWidget(TButton* button) : QPushButton(nullptr), TControlLink(button) {
    // Enter and Escape are the form's to dispatch, as on the original desktop.
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] {
      if (auto* control = static_cast<TButton*>(LinkedControl()))
        GuardedCall(control, [control] { control->Click(); });
    });
  }
};

class TEditWidget : public QLineEdit, public TControlLink {
 public:
  explicit TEditWidget(TEdit* edit) : QLineEdit(nullptr), TControlLink(edit) {}
};

class TComboWidget : public QComboBox, public TControlLink {
 public:
  explicit TComboWidget(TComboBox* combo) : QComboBox(nullptr), TControlLink(combo) {}
  void showPopup() override {
    if (auto* combo = static_cast<TComboBox*>(LinkedControl())) combo->SyncItems();
    QComboBox::showPopup();
  }
};

}  // namespace

const TEnumInfo& AlignmentInfo() {
  static const TEnumInfo info{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
  return info;
}

const TEnumInfo& ComboBoxStyleInfo() {
  static const TEnumInfo info{"TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList"}};
  return info;
}

// ---- TCustomLabel

const TMetaClass& TCustomLabel::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TCustomLabel>("TCustomLabel")
          .Enumeration("Alignment", AlignmentInfo(), &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)
          .Default(taLeftJustify)
          .Boolean("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize)
          .Default(true);
  return cls;
}

const TMetaClass& TLabel::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TLabel>("TLabel");
  return cls;
}

TCustomLabel::TCustomLabel(TComponent* owner) : TControl(owner) {
  FWidth = 65;
  FHeight = 17;
  SetWidget(new TPaintedWidget(this));
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
  FAlignment = alignment;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool autoSize) {
  FAutoSize = autoSize;
  AdjustBounds();
}

void TCustomLabel::CaptionChanged() {
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::FontChanged() {
  TControl::FontChanged();
  AdjustBounds();
}

void TCustomLabel::Loaded() {
  TControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || InState(csLoading)) return;
  const QFontMetrics metrics(Font()->ToQFont());
  int width = 0;
  const std::vector<TPrefixedLine> lines = LayoutDrawText(LabelText(), 0);
  for (const TPrefixedLine& line : lines)
    width = std::max(width, metrics.horizontalAdvance(ToQString(line.Shown)));
  const int height = metrics.height() * static_cast<int>(lines.size());
  // A right-aligned label keeps its right edge.
  const int left = FAlignment == taRightJustify ? FLeft + FWidth - width : FLeft;
  SetBounds(left, FTop, width, height);
}

void TCustomLabel::Paint(TCanvas& canvas) {
  canvas.FillRect(ClientRect());
  unsigned format = 0;
  if (FAlignment == taCenter) format |= DT_CENTER;
  if (FAlignment == taRightJustify) format |= DT_RIGHT;
  canvas.Brush().SetStyle(bsClear);
  DrawText(canvas, LabelText(), ClientRect(), format);
}

// ---- TButton

const TMetaClass& TButton::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TButton>("TButton")
                                    .Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel)
                                    .Default(false)
                                    .Boolean("Default", &TButton::Default, &TButton::SetDefault)
                                    .Default(false)
                                    .Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult)
                                    .Default(0)
                                    .Boolean("TabStop", &TButton::TabStop, &TButton::SetTabStop)
                                    .Default(true)
                                    .Event("OnClick", &TButton::OnClick);
  return cls;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  FWidth = 75;
  FHeight = 25;
  SetWidget(new TButtonWidget(this));
  SetTabStop(true);
}

void TButton::SetDefault(bool value) {
  FDefault = value;
  if (auto* button = qobject_cast<QPushButton*>(Widget())) button->setDefault(value);
}

void TButton::CaptionChanged() {
  // Qt reads '&' as the class library does: it underlines the next character, "&&" shows one.
  if (auto* button = qobject_cast<QPushButton*>(Widget())) button->setText(ToQString(Caption()));
}

void TButton::Click() {
  if (TCustomForm* form = ParentForm()) form->SetModalResult(FModalResult);
  OnClick(this);
}

// ---- TEdit

const TMetaClass& TEdit::StaticClass() {
  static const TMetaClass cls = TClassBuilder<TEdit>("TEdit")
                                    .String("Text", &TEdit::Text, &TEdit::SetText)
                                    .Boolean("TabStop", &TEdit::TabStop, &TEdit::SetTabStop)
                                    .Default(true);
  return cls;
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  FWidth = 121;
  FHeight = 21;
  SetColor(clWindow);
  SetWidget(new TEditWidget(this));
  SetTabStop(true);
}

std::string TEdit::Text() const {
  const auto* edit = qobject_cast<const QLineEdit*>(Widget());
  return edit != nullptr ? FromQString(edit->text()) : std::string();
}

void TEdit::SetText(const std::string& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(Widget())) edit->setText(ToQString(text));
}

// ---- TComboBox

const TMetaClass& TComboBox::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TComboBox>("TComboBox")
          .Enumeration("Style", ComboBoxStyleInfo(), &TComboBox::Style, &TComboBox::SetStyle)
          .Default(csDropDown)
          .Strings("Items", static_cast<TStringList& (TComboBox::*)()>(&TComboBox::Items),
                   &TComboBox::SetItems)
          .Integer("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
          .Default(-1)
          .String("Text", &TComboBox::Text, &TComboBox::SetText)
          .Boolean("TabStop", &TComboBox::TabStop, &TComboBox::SetTabStop)
          .Default(true);
  return cls;
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  FWidth = 145;
  FHeight = 21;
  SetColor(clWindow);
  auto* combo = new TComboWidget(this);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  SetWidget(combo);
  SetTabStop(true);
}

void TComboBox::SetItems(const TStringList& items) {
  FItems.Assign(items);
  SyncItems();
}

void TComboBox::SyncItems() const {
  auto* combo = qobject_cast<QComboBox*>(Widget());
  if (combo == nullptr) return;
  bool same = combo->count() == FItems.Count();
  for (int i = 0; same && i < FItems.Count(); ++i) same = FromQString(combo->itemText(i)) == FItems[i];
  if (same) return;
  // Keep the edit field's text and the selection (when it still exists) across the refill.
  const QString text = combo->currentText();
  const int index = combo->currentIndex();
  combo->blockSignals(true);
  combo->clear();
  for (const std::string& item : FItems.Lines()) combo->addItem(ToQString(item));
  combo->setCurrentIndex(index < combo->count() ? index : -1);
  if (combo->isEditable()) combo->setEditText(text);
  combo->blockSignals(false);
}

int TComboBox::ItemIndex() const {
  SyncItems();
  const auto* combo = qobject_cast<const QComboBox*>(Widget());
  return combo != nullptr ? combo->currentIndex() : -1;
}

void TComboBox::SetItemIndex(int index) {
  SyncItems();
  auto* combo = qobject_cast<QComboBox*>(Widget());
  if (combo == nullptr) return;
  combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
  if (index < 0 && combo->isEditable()) combo->setEditText(QString());
}

std::string TComboBox::Text() const {
  const auto* combo = qobject_cast<const QComboBox*>(Widget());
  return combo != nullptr ? FromQString(combo->currentText()) : std::string();
}

void TComboBox::SetText(const std::string& text) {
  SyncItems();
  auto* combo = qobject_cast<QComboBox*>(Widget());
  if (combo == nullptr) return;
  if (combo->isEditable()) {
    combo->setEditText(ToQString(text));
  } else {
    // Without an edit field the text can only be one of the entries.
    combo->setCurrentIndex(combo->findText(ToQString(text), Qt::MatchExactly));
  }
}

void TComboBox::SetStyle(TComboBoxStyle style) {
  FStyle = style;
  if (auto* combo = qobject_cast<QComboBox*>(Widget())) combo->setEditable(style != csDropDownList);
  if (auto* combo = qobject_cast<QComboBox*>(Widget()); combo != nullptr && combo->lineEdit() != nullptr) {
    combo->setInsertPolicy(QComboBox::NoInsert);
  }
}

void TComboBox::Loaded() {
  TWinControl::Loaded();
  SyncItems();
}
