// The text holders of the data-aware controls' catalogue: one persistent object per control or dialog family.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/components/Object.h"

// One text property of a holder, in declared order: its published name, its field, and the text that the
// catalogue's construction puts there (nullptr where the text stays empty).
template <class THolder>
struct TdcHolderText {
  const char* Name;
  std::string THolder::*Field;
  const char* DefaultText;
};

// Copies every text of a holder's table from one holder into another; the holders themselves stay apart.
template <class THolder>
void CopyHolderTexts(const THolder& source, THolder& target) {
  for (const TdcHolderText<THolder>& text : THolder::Texts()) target.*text.Field = source.*text.Field;
}

// Puts the catalogue's default texts of entries [first, last) into a holder.
template <class THolder>
void FillHolderTexts(THolder& holder, std::size_t first = 0, std::size_t last = SIZE_MAX) {
  std::span<const TdcHolderText<THolder>> texts = THolder::Texts();
  for (std::size_t i = first; i < texts.size() && i < last; ++i)
    if (texts[i].DefaultText != nullptr) holder.*texts[i].Field = texts[i].DefaultText;
}

// Every holder is built empty by its plain construction (texts empty, numbers 0, switches False); the
// catalogue fills it. Only the navigator holders fill themselves.

class TdcFilterDialogIntl : public TPersistent {
  Q_CLASS(TdcFilterDialogIntl, TPersistent)

  std::string BtnViewSummary, BtnViewSummaryHint, BtnNewSearch, BtnNewSearchHint, FieldOrderLabel,
      FieldOrderHint, AlphabeticLabel, LogicalLabel, AllFieldsLabel, SearchedFieldsLabel, StartingRangeLabel,
      EndingRangeLabel, StartingRangeHint, EndingRangeHint, BtnClearMin, BtnClearMax, BtnClearFilterValue,
      BtnClearMinHint, BtnClearMaxHint, BtnClearFilterValueHint, ByValueLabel, ByRangeLabel, FieldValueLabel,
      FieldValueHint, SearchTypeLabel, SearchTypeHint, MatchExactLabel, MatchStartLabel, MatchAnyLabel,
      CaseSensitiveLabel, CaseSensitiveHint, NonMatchingLabel, NonMatchingHint, SummaryFieldLabel,
      SummarySearchLabel, SummaryValueLabel, SummaryCaption, FieldsLabel, ValueRangeTabHint,
      AllSearchedTabHint, ViewSummaryNotText;

  static std::span<const TdcHolderText<TdcFilterDialogIntl>> Texts();
};

class TdcRichEditMenuLabels : public TPersistent {
  Q_CLASS(TdcRichEditMenuLabels, TPersistent)

  std::string FileCaption, LoadCaption, SaveAsCaption, SaveExitCaption, PrintCaption, PageSetupCaption,
      ExitCaption, EditCaption, UndoCaption, CutCaption, CopyCaption, PasteCaption, ClearCaption,
      SelectallCaption, FindCaption, FindNextCaption, ReplaceCaption, InsertObjectCaption, ToolCaption,
      SpellCheckCaption, InsertCaption, RulerCaption, RedoCaption, ViewCaption, ToolbarCaption,
      FormatBarCaption, ViewStatusBarCaption, OptionsCaption, FormatCaption, FontCaption, BulletStyleCaption,
      ParagraphCaption, TabsCaption, HelpCaption;

  static std::span<const TdcHolderText<TdcRichEditMenuLabels>> Texts();
};

class TdcRichEditPopupMenuLabels : public TPersistent {
  Q_CLASS(TdcRichEditPopupMenuLabels, TPersistent)

  std::string EditCaption, ViewCaption, CutCaption, CopyCaption, PasteCaption, FontCaption,
      BulletStyleCaption, BoldCaption, ItalicCaption, UnderlineCaption, ParagraphCaption, TabsCaption,
      FindCaption, ReplaceCaption, InsertObjectCaption, ObjectPropertiesCaption, SpellCheckCaption;

  static std::span<const TdcHolderText<TdcRichEditPopupMenuLabels>> Texts();
};

class TdcRichEditParagraphDlg : public TPersistent {
  Q_CLASS(TdcRichEditParagraphDlg, TPersistent)

  std::string ParagraphDlgCaption, IndentationGroupBoxCaption, LeftEditHint, RightEditHint, FirstLineEditHint,
      AlignmentHint, LeftEditCaption, RightEditCaption, FirstLineEditCaption, SpacingGroupCaption,
      BeforeParagraphCaption, AfterParagraphCaption, WithinParagraphCaption, WithinParagraphAtCaption,
      AlignmentCaption, AlignLeft, AlignRight, AlignCenter, AlignJustify, SpacingSingle, Spacing1_5,
      SpacingDouble, SpacingAtLeast, SpacingExactly, SpacingMultiple;
  int32_t HelpContext = 0;  // declared last

  static std::span<const TdcHolderText<TdcRichEditParagraphDlg>> Texts();
};

class TdcRichEditTabDlg : public TPersistent {
  Q_CLASS(TdcRichEditTabDlg, TPersistent)

  std::string TabDlgCaption;
  int32_t HelpContext = 0;  // declared second, straight after the caption
  std::string TabGroupBoxCaption, SetTabButtonCaption, ClearTabButtonCaption, ClearAllButtonCaption,
      TabPositionEditHint, ListBoxHint, SetButtonHint, ClearButtonHint, ClearAllButtonHint;

  static std::span<const TdcHolderText<TdcRichEditTabDlg>> Texts();
};

// The rich-text editor's texts and its four sub-holders, which it owns from the moment they are handed to
// it; a holder built on its own has none and is destroyed without them.
class TdcDBRichEditIntl : public TPersistent {
  Q_CLASS(TdcDBRichEditIntl, TPersistent)

  ~TdcDBRichEditIntl() override;

  std::string FontNameComboHint, FontSizeComboHint, NewButtonHint, LoadButtonHint, SaveAsButtonHint,
      PrintButtonHint, FindButtonHint, CutButtonHint, CopyButtonHint, UndoButtonHint, RedoButtonHint,
      PasteButtonHint, BoldButtonHint, ColorButtonHint, UnderlineButtonHint, ItalicButtonHint, LeftButtonHint,
      CenterButtonHint, RightButtonHint, JustifyButtonHint, BulletButtonHint, HighlightButtonHint,
      SaveExitHint, PageSetupHint, ExitHint, ClearHint, SelectAllHint, FindNextHint, ReplaceHint,
      InsertObjectHint, SpellCheckHint, ToolbarHint, FormatBarHint, ViewStatusBarHint, OptionsHint, FontHint,
      ParagraphHint, TabsHint, CAPLockCaption, NUMLockCaption;

  TdcRichEditMenuLabels* MenuLabels() const { return FMenuLabels.get(); }
  TdcRichEditPopupMenuLabels* PopupMenuLabels() const { return FPopupMenuLabels.get(); }
  TdcRichEditParagraphDlg* ParagraphDialog() const { return FParagraphDialog.get(); }
  TdcRichEditTabDlg* TabDialog() const { return FTabDialog.get(); }

  // Sub-holders are given once, while the catalogue is built, and are never replaced afterwards.
  void AdoptSubHolders(std::unique_ptr<TdcRichEditMenuLabels> menuLabels,
                       std::unique_ptr<TdcRichEditPopupMenuLabels> popupMenuLabels);
  void AdoptDialogHolders(std::unique_ptr<TdcRichEditParagraphDlg> paragraphDialog,
                          std::unique_ptr<TdcRichEditTabDlg> tabDialog);

  static std::span<const TdcHolderText<TdcDBRichEditIntl>> Texts();

 private:
  std::unique_ptr<TdcRichEditMenuLabels> FMenuLabels;
  std::unique_ptr<TdcRichEditPopupMenuLabels> FPopupMenuLabels;
  std::unique_ptr<TdcRichEditParagraphDlg> FParagraphDialog;
  std::unique_ptr<TdcRichEditTabDlg> FTabDialog;
};

// The navigator's eighteen button hints; this holder fills itself.
class TdcDBNavigatorIntlHints : public TPersistent {
  Q_CLASS(TdcDBNavigatorIntlHints, TPersistent)

  TdcDBNavigatorIntlHints();

  std::string FirstHint, PriorHint, NextHint, LastHint, InsertHint, DeleteHint, EditHint, PostHint,
      CancelHint, RefreshHint, PriorPageHint, NextPageHint, SaveBookmarkHint, RestoreBookmarkHint,
      RecordViewDialogHint, LocateDialogHint, FilterDialogHint, SearchDialogHint;

  static std::span<const TdcHolderText<TdcDBNavigatorIntlHints>> Texts();
};

// The navigator's confirmation text and its hints holder; it fills itself and owns the hints.
class TdcDBNavigatorIntl : public TPersistent {
  Q_CLASS(TdcDBNavigatorIntl, TPersistent)

  TdcDBNavigatorIntl();
  ~TdcDBNavigatorIntl() override;

  std::string ConfirmDeleteMessage;
  TdcDBNavigatorIntlHints* Hints() const { return FHints.get(); }

  static std::span<const TdcHolderText<TdcDBNavigatorIntl>> Texts();

 private:
  std::unique_ptr<TdcDBNavigatorIntlHints> FHints;
};

class TdcADOIntl : public TPersistent {
  Q_CLASS(TdcADOIntl, TPersistent)

  bool UseLocateWhenFindingValue = false;  // the catalogue sets True, its declared default
};

class TdcMonthCalendarIntl : public TPersistent {
  Q_CLASS(TdcMonthCalendarIntl, TPersistent)

  std::string PopupYearLabel, EnterYearPrompt;

  static std::span<const TdcHolderText<TdcMonthCalendarIntl>> Texts();
};

class TdcSearchDialogIntl : public TPersistent {
  Q_CLASS(TdcSearchDialogIntl, TPersistent)

  std::string SearchCharLabel, SearchCharShortLabel, SearchByLabel, StatusRecLabel, StatusOfLabel,
      SearchCharHint, SearchByHint;

  static std::span<const TdcHolderText<TdcSearchDialogIntl>> Texts();
};

class TdcLocateDialogIntl : public TPersistent {
  Q_CLASS(TdcLocateDialogIntl, TPersistent)

  std::string FieldValueLabel, SearchTypeLabel, CaseSensitiveLabel, MatchExactLabel, MatchStartLabel,
      MatchAnyLabel, FieldsLabel, BtnFirst, BtnNext, BtnCancel, BtnClose, FieldValueHint, CaseSensitiveHint,
      MatchExactHint, MatchStartHint, MatchAnyHint, BtnFirstHint, BtnNextHint, FieldNameHint;

  static std::span<const TdcHolderText<TdcLocateDialogIntl>> Texts();
};

class TdcUserMessagesIntl : public TPersistent {
  Q_CLASS(TdcUserMessagesIntl, TPersistent)

  std::string dcDBGridDiscardChanges, PictureValidateError, LocateNoMatches, LocateNoMoreMatches,
      MemoChangesWarning, RichEditExitWarning, RichEditClearWarning, RichEditSpellCheckComplete,
      RichEditMSWordNotFound, FilterDlgNoCriteria, RecordViewExitWarning;

  static std::span<const TdcHolderText<TdcUserMessagesIntl>> Texts();
};
