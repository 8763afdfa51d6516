// Labels, push buttons, single-line edits and combo boxes.
#pragma once

#include <string>

#include "platform/system/StringList.h"
#include "platform/ui/Controls.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
const TEnumInfo& AlignmentInfo();

// A text on the form, painted with DrawText: '&' underlines the next character, lines break only at
// line breaks. With AutoSize the label takes the size of its text.
class TCustomLabel : public TControl {
  Q_CLASS(TCustomLabel, TControl)

  explicit TCustomLabel(TComponent* owner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment alignment);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool autoSize);

  // The text the label shows (a data-aware label shows its field's).
  virtual std::string LabelText() const { return Caption(); }

  void Paint(TCanvas& canvas) override;
  void Loaded() override;

 protected:
  void CaptionChanged() override;
  void FontChanged() override;
  void AdjustBounds();

 private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
};

class TLabel : public TCustomLabel {
  Q_CLASS(TLabel, TCustomLabel)
  using TCustomLabel::TCustomLabel;
};

// A push button. A click sets the form's ModalResult to the button's (ending a modal showing when it
// is not 0) and then runs OnClick. Enter presses the Default button, Escape the Cancel button.
class TButton : public TWinControl {
  Q_CLASS(TButton, TWinControl)

  explicit TButton(TComponent* owner);

  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }

  // What a press of the button does; exceptions reach the caller.
  virtual void Click();

  TNotifyEvent OnClick;

 protected:
  bool AcceptsFocus() const override { return true; }
  void CaptionChanged() override;

 private:
  bool FDefault = false;
  bool FCancel = false;
  int FModalResult = 0;
};

// A single-line text field.
class TEdit : public TWinControl {
  Q_CLASS(TEdit, TWinControl)

  explicit TEdit(TComponent* owner);

  std::string Text() const override;
  void SetText(const std::string& text) override;

 protected:
  bool AcceptsFocus() const override { return true; }
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };
const TEnumInfo& ComboBoxStyleInfo();

// A drop-down list with an edit field (csDropDown) or without (csDropDownList). Items may be changed
// freely; the list on screen follows them whenever the combo box is used.
class TComboBox : public TWinControl {
  Q_CLASS(TComboBox, TWinControl)

  explicit TComboBox(TComponent* owner);

  TStringList& Items() { return FItems; }
  const TStringList& Items() const { return FItems; }
  void SetItems(const TStringList& items);

  // The selected entry, -1 when none. Setting it puts the entry's text into the edit field.
  int ItemIndex() const;
  void SetItemIndex(int index);

  // The edit field's text. Setting it leaves the selected entry as it is.
  std::string Text() const override;
  void SetText(const std::string& text) override;

  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle style);

  void Loaded() override;
  // Brings the list on screen in line with Items.
  void SyncItems() const;

 protected:
  bool AcceptsFocus() const override { return true; }

 private:
  TStringList FItems;
  TComboBoxStyle FStyle = csDropDown;
};
