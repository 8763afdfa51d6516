#include "textcatalogue/DcintlHolders.h"

#include "platform/components/TypeInfo.h"

// The tables list each holder's texts in declared order with the catalogue's default text; the order is
// the one in which streaming lists them, so keep it when adding or moving a line.

using F = TdcFilterDialogIntl;
static const TdcHolderText<F> kFilterDialogTexts[] = {
    {"BtnViewSummary", &F::BtnViewSummary, "View Su&mmary"},
    {"BtnViewSummaryHint", &F::BtnViewSummaryHint, "View summary of current search criteria"},
    {"BtnNewSearch", &F::BtnNewSearch, "&New Search"},
    {"BtnNewSearchHint", &F::BtnNewSearchHint, "Start a new search"},
    {"FieldOrderLabel", &F::FieldOrderLabel, "Field Order"},
    {"FieldOrderHint", &F::FieldOrderHint,
     "Sort field list alphabetically or in their natural logical order"},
    {"AlphabeticLabel", &F::AlphabeticLabel, "Alpha&betic"},
    {"LogicalLabel", &F::LogicalLabel, "&Logical"},
    {"AllFieldsLabel", &F::AllFieldsLabel, "&All"},
    {"SearchedFieldsLabel", &F::SearchedFieldsLabel, "&Searched"},
    {"StartingRangeLabel", &F::StartingRangeLabel, "&Starting Range"},
    {"EndingRangeLabel", &F::EndingRangeLabel, "En&ding Range"},
    {"StartingRangeHint", &F::StartingRangeHint, "Enter starting range for field"},
    {"EndingRangeHint", &F::EndingRangeHint, "Enter ending range for field"},
    {"BtnClearMin", &F::BtnClearMin, "&Clear"},
    {"BtnClearMax", &F::BtnClearMax, "Cl&ear"},
    {"BtnClearFilterValue", &F::BtnClearFilterValue, "&Clear"},
    {"BtnClearMinHint", &F::BtnClearMinHint, "Clear starting range for field"},
    {"BtnClearMaxHint", &F::BtnClearMaxHint, "Clear ending range for field"},
    {"BtnClearFilterValueHint", &F::BtnClearFilterValueHint, "Clear the current field's search value"},
    {"ByValueLabel", &F::ByValueLabel, "By &Value"},
    {"ByRangeLabel", &F::ByRangeLabel, "By &Range"},
    {"FieldValueLabel", &F::FieldValueLabel, "Field &Value"},
    {"FieldValueHint", &F::FieldValueHint, "Enter field's search value"},
    {"SearchTypeLabel", &F::SearchTypeLabel, "Search Type"},
    {"SearchTypeHint", &F::SearchTypeHint, "Specify how the Field Value should be compared"},
    {"MatchExactLabel", &F::MatchExactLabel, "&Exact Match"},
    {"MatchStartLabel", &F::MatchStartLabel, "&Partial Match at Beginning"},
    {"MatchAnyLabel", &F::MatchAnyLabel, "Partial Match Any&where"},
    {"CaseSensitiveLabel", &F::CaseSensitiveLabel, "Case Sensi&tive"},
    {"CaseSensitiveHint", &F::CaseSensitiveHint, "Searching is case-sensitive"},
    {"NonMatchingLabel", &F::NonMatchingLabel, "N&on-matching records"},
    {"NonMatchingHint", &F::NonMatchingHint, "Show records that do not match the field value criteria"},
    {"SummaryFieldLabel", &F::SummaryFieldLabel, "Field"},
    {"SummarySearchLabel", &F::SummarySearchLabel, "Search Type"},
    {"SummaryValueLabel", &F::SummaryValueLabel, "Value"},
    {"SummaryCaption", &F::SummaryCaption, nullptr},
    {"FieldsLabel", &F::FieldsLabel, "&Fields"},
    {"ValueRangeTabHint", &F::ValueRangeTabHint, "Search fields by value or by range"},
    {"AllSearchedTabHint", &F::AllSearchedTabHint, "Show all fields or only currently searched fields"},
    {"ViewSummaryNotText", &F::ViewSummaryNotText, "NOT"},
};

std::span<const TdcHolderText<TdcFilterDialogIntl>> TdcFilterDialogIntl::Texts() {
  return kFilterDialogTexts;
}

using R = TdcDBRichEditIntl;
static const TdcHolderText<R> kRichEditTexts[] = {
    {"FontNameComboHint", &R::FontNameComboHint, "Font | Changes the font of the selection"},
    {"FontSizeComboHint", &R::FontSizeComboHint, "Font Size | Changes the font size of the selection"},
    {"NewButtonHint", &R::NewButtonHint, "New | Creates a new document"},
    {"LoadButtonHint", &R::LoadButtonHint, "Load | Load from file"},
    {"SaveAsButtonHint", &R::SaveAsButtonHint, "Save As | Save to file"},
    {"PrintButtonHint", &R::PrintButtonHint, "Print | Prints the active document"},
    {"FindButtonHint", &R::FindButtonHint, "Find | Finds the specified text"},
    {"CutButtonHint", &R::CutButtonHint, "Cut | Cuts the selection and puts it on the Clipboard"},
    {"CopyButtonHint", &R::CopyButtonHint, "Copy | Copies the selection and puts it on the Clipboard"},
    {"UndoButtonHint", &R::UndoButtonHint, "Undo | Reverses the last action"},
    {"RedoButtonHint", &R::RedoButtonHint, "Redo | Reverses the last undo action"},
    {"PasteButtonHint", &R::PasteButtonHint, "Paste | Inserts Clipboard contents"},
    {"BoldButtonHint", &R::BoldButtonHint, "Bold | Makes the selection bold (toggle)"},
    {"ColorButtonHint", &R::ColorButtonHint, "Color | Formats the selection with a color"},
    {"UnderlineButtonHint", &R::UnderlineButtonHint,
     "Underline | Formats the selection with a continuous underline (toggle)"},
    {"ItalicButtonHint", &R::ItalicButtonHint, "Italic | Makes the selection italic (toggle)"},
    {"LeftButtonHint", &R::LeftButtonHint, "Align Left | Left-justifies paragraph (toggle)"},
    {"CenterButtonHint", &R::CenterButtonHint, "Center | Center-justifies paragraph (toggle)"},
    {"RightButtonHint", &R::RightButtonHint, "Align Right | Right-justifies paragraph (toggle)"},
    {"JustifyButtonHint", &R::JustifyButtonHint, "Justify | Full Justification for paragraph (toggle)"},
    {"BulletButtonHint", &R::BulletButtonHint, "Bullets | Inserts a bullet on this line (toggle)"},
    {"HighlightButtonHint", &R::HighlightButtonHint, "Highlight Text | Makes the selection highlighted"},
    {"SaveExitHint", &R::SaveExitHint, "Save And Exit | Saves changes and exits editor"},
    {"PageSetupHint", &R::PageSetupHint, "Page Setup | Changes page layout settings"},
    {"ExitHint", &R::ExitHint, "Exit"},
    {"ClearHint", &R::ClearHint, "Erases the Selection"},
    {"SelectAllHint", &R::SelectAllHint, "Selects all of the text"},
    {"FindNextHint", &R::FindNextHint, "Repeats the last find"},
    {"ReplaceHint", &R::ReplaceHint, "Replaces specific text with different text"},
    {"InsertObjectHint", &R::InsertObjectHint, "Inserts new embedded object"},
    {"SpellCheckHint", &R::SpellCheckHint, "Check spelling"},
    {"ToolbarHint", &R::ToolbarHint, "Shows or hides the toolbar"},
    {"FormatBarHint", &R::FormatBarHint, "Shows or hides the format bar"},
    {"ViewStatusBarHint", &R::ViewStatusBarHint, "Shows or hides the status bar"},
    {"OptionsHint", &R::OptionsHint, "Sets options"},
    {"FontHint", &R::FontHint, "Selects font for current selection"},
    {"ParagraphHint", &R::ParagraphHint, "Formats current or selected paragraph(s)"},
    {"TabsHint", &R::TabsHint, "Sets tabs"},
    {"CAPLockCaption", &R::CAPLockCaption, "CAP"},
    {"NUMLockCaption", &R::NUMLockCaption, "NUM"},
};

std::span<const TdcHolderText<TdcDBRichEditIntl>> TdcDBRichEditIntl::Texts() { return kRichEditTexts; }

using M = TdcRichEditMenuLabels;
static const TdcHolderText<M> kMenuLabelTexts[] = {
    {"FileCaption", &M::FileCaption, "&File"},
    {"LoadCaption", &M::LoadCaption, "&Load"},
    {"SaveAsCaption", &M::SaveAsCaption, "Save &As"},
    {"SaveExitCaption", &M::SaveExitCaption, "&Save and Exit"},
    {"PrintCaption", &M::PrintCaption, "&Print"},
    {"PageSetupCaption", &M::PageSetupCaption, "Page Set&up"},
    {"ExitCaption", &M::ExitCaption, "E&xit"},
    {"EditCaption", &M::EditCaption, "&Edit"},
    {"UndoCaption", &M::UndoCaption, "&Undo"},
    {"CutCaption", &M::CutCaption, "Cu&t"},
    {"CopyCaption", &M::CopyCaption, "&Copy"},
    {"PasteCaption", &M::PasteCaption, "&Paste"},
    {"ClearCaption", &M::ClearCaption, "Cle&ar"},
    {"SelectallCaption", &M::SelectallCaption, "Select A&ll"},
    {"FindCaption", &M::FindCaption, "&Find"},
    {"FindNextCaption", &M::FindNextCaption, "Find &Next"},
    {"ReplaceCaption", &M::ReplaceCaption, "R&eplace"},
    {"InsertObjectCaption", &M::InsertObjectCaption, "&Object..."},
    {"ToolCaption", &M::ToolCaption, "&Tools"},
    {"SpellCheckCaption", &M::SpellCheckCaption, "Check &Spelling"},
    {"InsertCaption", &M::InsertCaption, "&Insert"},
    {"RulerCaption", &M::RulerCaption, "&Ruler"},
    {"RedoCaption", &M::RedoCaption, nullptr},
    {"ViewCaption", &M::ViewCaption, "&View"},
    {"ToolbarCaption", &M::ToolbarCaption, "&Toolbar"},
    {"FormatBarCaption", &M::FormatBarCaption, "&Format Bar"},
    {"ViewStatusBarCaption", &M::ViewStatusBarCaption, "&Status Bar"},
    {"OptionsCaption", &M::OptionsCaption, "&Options"},
    {"FormatCaption", &M::FormatCaption, "F&ormat"},
    {"FontCaption", &M::FontCaption, "&Font"},
    {"BulletStyleCaption", &M::BulletStyleCaption, "&Bullet Style"},
    {"ParagraphCaption", &M::ParagraphCaption, "&Paragraph"},
    {"TabsCaption", &M::TabsCaption, "&Tabs"},
    {"HelpCaption", &M::HelpCaption, "Help"},
};

std::span<const TdcHolderText<TdcRichEditMenuLabels>> TdcRichEditMenuLabels::Texts() {
  return kMenuLabelTexts;
}

using P = TdcRichEditPopupMenuLabels;
static const TdcHolderText<P> kPopupMenuLabelTexts[] = {
    {"EditCaption", &P::EditCaption, "&Edit"},
    {"ViewCaption", &P::ViewCaption, "&View"},
    {"CutCaption", &P::CutCaption, "Cu&t"},
    {"CopyCaption", &P::CopyCaption, "&Copy"},
    {"PasteCaption", &P::PasteCaption, "&Paste"},
    {"FontCaption", &P::FontCaption, "&Font"},
    {"BulletStyleCaption", &P::BulletStyleCaption, "&Bullet Style"},
    {"BoldCaption", &P::BoldCaption, "B&old"},
    {"ItalicCaption", &P::ItalicCaption, "&Italic"},
    {"UnderlineCaption", &P::UnderlineCaption, "&Underline"},
    {"ParagraphCaption", &P::ParagraphCaption, "P&aragraph"},
    {"TabsCaption", &P::TabsCaption, "&Tabs"},
    {"FindCaption", &P::FindCaption, "Fin&d"},
    {"ReplaceCaption", &P::ReplaceCaption, "&Replace"},
    {"InsertObjectCaption", &P::InsertObjectCaption, "Insert &Object..."},
    {"ObjectPropertiesCaption", &P::ObjectPropertiesCaption, "Object P&roperties"},
    {"SpellCheckCaption", &P::SpellCheckCaption, "Check &Spelling"},
};

std::span<const TdcHolderText<TdcRichEditPopupMenuLabels>> TdcRichEditPopupMenuLabels::Texts() {
  return kPopupMenuLabelTexts;
}

using G = TdcRichEditParagraphDlg;
static const TdcHolderText<G> kParagraphDialogTexts[] = {
    {"ParagraphDlgCaption", &G::ParagraphDlgCaption, "Paragraph"},
    {"IndentationGroupBoxCaption", &G::IndentationGroupBoxCaption, "Indentation"},
    {"LeftEditHint", &G::LeftEditHint, "Left Indentation"},
    {"RightEditHint", &G::RightEditHint, "Right Indentation"},
    {"FirstLineEditHint", &G::FirstLineEditHint, "First Line of Paragraph Indentation"},
    {"AlignmentHint", &G::AlignmentHint, "Changes Alignment of Paragraph"},
    {"LeftEditCaption", &G::LeftEditCaption, "Left:"},
    {"RightEditCaption", &G::RightEditCaption, "Right:"},
    {"FirstLineEditCaption", &G::FirstLineEditCaption, "First line:"},
    {"SpacingGroupCaption", &G::SpacingGroupCaption, "Spacing"},
    {"BeforeParagraphCaption", &G::BeforeParagraphCaption, "&Before"},
    {"AfterParagraphCaption", &G::AfterParagraphCaption, "Aft&er"},
    {"WithinParagraphCaption", &G::WithinParagraphCaption, "Li&ne Spacing"},
    {"WithinParagraphAtCaption", &G::WithinParagraphAtCaption, "&At"},
    {"AlignmentCaption", &G::AlignmentCaption, "Alignment"},
    {"AlignLeft", &G::AlignLeft, "Left"},
    {"AlignRight", &G::AlignRight, "Right"},
    {"AlignCenter", &G::AlignCenter, "Center"},
    {"AlignJustify", &G::AlignJustify, "Justify"},
    {"SpacingSingle", &G::SpacingSingle, nullptr},
    {"Spacing1_5", &G::Spacing1_5, nullptr},
    {"SpacingDouble", &G::SpacingDouble, nullptr},
    {"SpacingAtLeast", &G::SpacingAtLeast, nullptr},
    {"SpacingExactly", &G::SpacingExactly, nullptr},
    {"SpacingMultiple", &G::SpacingMultiple, nullptr},
};

std::span<const TdcHolderText<TdcRichEditParagraphDlg>> TdcRichEditParagraphDlg::Texts() {
  return kParagraphDialogTexts;
}

using T = TdcRichEditTabDlg;
static const TdcHolderText<T> kTabDialogTexts[] = {
    {"TabDlgCaption", &T::TabDlgCaption, "Tab"},
    {"TabGroupBoxCaption", &T::TabGroupBoxCaption, "&Tab Stop Position"},
    {"SetTabButtonCaption", &T::SetTabButtonCaption, "Set"},
    {"ClearTabButtonCaption", &T::ClearTabButtonCaption, "Clear"},
    {"ClearAllButtonCaption", &T::ClearAllButtonCaption, "Clear All"},
    {"TabPositionEditHint", &T::TabPositionEditHint, "Tab Position Edit Box"},
    {"ListBoxHint", &T::ListBoxHint, "List of tabs and their positions"},
    {"SetButtonHint", &T::SetButtonHint, "Set a new tab position"},
    {"ClearButtonHint", &T::ClearButtonHint, "Clear the selected tab position"},
    {"ClearAllButtonHint", &T::ClearAllButtonHint, "Clear all the tabs"},
};

std::span<const TdcHolderText<TdcRichEditTabDlg>> TdcRichEditTabDlg::Texts() { return kTabDialogTexts; }

using N = TdcDBNavigatorIntl;
static const TdcHolderText<N> kNavigatorTexts[] = {
    {"ConfirmDeleteMessage", &N::ConfirmDeleteMessage, "Delete record?"},
};

std::span<const TdcHolderText<TdcDBNavigatorIntl>> TdcDBNavigatorIntl::Texts() { return kNavigatorTexts; }

using H = TdcDBNavigatorIntlHints;
static const TdcHolderText<H> kNavigatorHintTexts[] = {
    {"FirstHint", &H::FirstHint, "Move to first record"},
    {"PriorHint", &H::PriorHint, "Move to prior record"},
    {"NextHint", &H::NextHint, "Move to next record"},
    {"LastHint", &H::LastHint, "Move to last record"},
    {"InsertHint", &H::InsertHint, "Insert new record"},
    {"DeleteHint", &H::DeleteHint, "Delete current record"},
    {"EditHint", &H::EditHint, "Edit current record"},
    {"PostHint", &H::PostHint, "Post changes of current record"},
    {"CancelHint", &H::CancelHint, "Cancel changes made to current record"},
    {"RefreshHint", &H::RefreshHint, "Refresh the contents of the dataset"},
    {"PriorPageHint", &H::PriorPageHint, "Move backward %d records"},
    {"NextPageHint", &H::NextPageHint, "Move forward %d records"},
    {"SaveBookmarkHint", &H::SaveBookmarkHint, "Bookmark current record"},
    {"RestoreBookmarkHint", &H::RestoreBookmarkHint, "Go back to saved bookmark"},
    {"RecordViewDialogHint", &H::RecordViewDialogHint, "View current record"},
    {"LocateDialogHint", &H::LocateDialogHint, "Locate a specific record"},
    {"FilterDialogHint", &H::FilterDialogHint, "Filter the dataset"},
    {"SearchDialogHint", &H::SearchDialogHint, "Search the dataset"},
};

std::span<const TdcHolderText<TdcDBNavigatorIntlHints>> TdcDBNavigatorIntlHints::Texts() {
  return kNavigatorHintTexts;
}

using C = TdcMonthCalendarIntl;
static const TdcHolderText<C> kMonthCalendarTexts[] = {
    {"PopupYearLabel", &C::PopupYearLabel, "Edit Year"},
    {"EnterYearPrompt", &C::EnterYearPrompt, "Enter Valid Year"},
};

std::span<const TdcHolderText<TdcMonthCalendarIntl>> TdcMonthCalendarIntl::Texts() {
  return kMonthCalendarTexts;
}

using S = TdcSearchDialogIntl;
static const TdcHolderText<S> kSearchDialogTexts[] = {
    {"SearchCharLabel", &S::SearchCharLabel, "&Search Characters"},
    {"SearchCharShortLabel", &S::SearchCharShortLabel, "&Search Char"},
    {"SearchByLabel", &S::SearchByLabel, "Search &By"},
    {"StatusRecLabel", &S::StatusRecLabel, "Rec #"},
    {"StatusOfLabel", &S::StatusOfLabel, "of"},
    {"SearchCharHint", &S::SearchCharHint, "Enter characters for incremental search"},
    {"SearchByHint", &S::SearchByHint, "Incremental searching and sorting order"},
};

std::span<const TdcHolderText<TdcSearchDialogIntl>> TdcSearchDialogIntl::Texts() {
  return kSearchDialogTexts;
}

using L = TdcLocateDialogIntl;
static const TdcHolderText<L> kLocateDialogTexts[] = {
    {"FieldValueLabel", &L::FieldValueLabel, "Field &Value"},
    {"SearchTypeLabel", &L::SearchTypeLabel, "&Search Type"},
    {"CaseSensitiveLabel", &L::CaseSensitiveLabel, "&Case-sensitive"},
    {"MatchExactLabel", &L::MatchExactLabel, "&Exact Match"},
    {"MatchStartLabel", &L::MatchStartLabel, "&Partial Match at Beginning"},
    {"MatchAnyLabel", &L::MatchAnyLabel, "Partial Match &Anywhere"},
    {"FieldsLabel", &L::FieldsLabel, "&Fields"},
    {"BtnFirst", &L::BtnFirst, "Fi&rst"},
    {"BtnNext", &L::BtnNext, "&Next"},
    {"BtnCancel", &L::BtnCancel, "Cancel"},
    {"BtnClose", &L::BtnClose, "Close"},
    {"FieldValueHint", &L::FieldValueHint, "Enter field's search value"},
    {"CaseSensitiveHint", &L::CaseSensitiveHint, "Searching is case-sensitive"},
    {"MatchExactHint", &L::MatchExactHint, "Match occurs only if there is an exact match"},
    {"MatchStartHint", &L::MatchStartHint, "Match occurs if the start of the field's value matches"},
    {"MatchAnyHint", &L::MatchAnyHint, "Match occurs if any part of the field matches"},
    {"BtnFirstHint", &L::BtnFirstHint, "Find first match"},
    {"BtnNextHint", &L::BtnNextHint, "Find next match from current record"},
    {"FieldNameHint", &L::FieldNameHint, "Select the field to search on"},
};

std::span<const TdcHolderText<TdcLocateDialogIntl>> TdcLocateDialogIntl::Texts() {
  return kLocateDialogTexts;
}

using U = TdcUserMessagesIntl;
static const TdcHolderText<U> kUserMessageTexts[] = {
    {"dcDBGridDiscardChanges", &U::dcDBGridDiscardChanges, "Discard changes to this record?"},
    {"PictureValidateError", &U::PictureValidateError, "Invalid characters. Field : "},
    {"LocateNoMatches", &U::LocateNoMatches, "No matches found"},
    {"LocateNoMoreMatches", &U::LocateNoMoreMatches, "No more matches found"},
    {"MemoChangesWarning", &U::MemoChangesWarning,
     "Changes have been made!  Are you sure you wish to cancel?"},
    {"RichEditExitWarning", &U::RichEditExitWarning,
     "Changes have been made!  Do you wish to save your changes?"},
    {"RichEditClearWarning", &U::RichEditClearWarning, "Clear entire text?"},
    {"RichEditSpellCheckComplete", &U::RichEditSpellCheckComplete, "The spell check is complete."},
    {"RichEditMSWordNotFound", &U::RichEditMSWordNotFound, "Unable to start Microsoft Word's Spell Checker."},
    {"FilterDlgNoCriteria", &U::FilterDlgNoCriteria, "You have not selected any search criteria"},
    {"RecordViewExitWarning", &U::RecordViewExitWarning,
     "Changes have been made!  Do you wish to save your changes?"},
};

std::span<const TdcHolderText<TdcUserMessagesIntl>> TdcUserMessagesIntl::Texts() { return kUserMessageTexts; }

// The navigator holders are the only ones that carry their texts wherever they are created.

TdcDBNavigatorIntlHints::TdcDBNavigatorIntlHints() { FillHolderTexts(*this); }

TdcDBNavigatorIntl::TdcDBNavigatorIntl() {
  FillHolderTexts(*this);
  FHints = std::make_unique<TdcDBNavigatorIntlHints>();
}

TdcDBNavigatorIntl::~TdcDBNavigatorIntl() { FHints.reset(); }

TdcDBRichEditIntl::~TdcDBRichEditIntl() {
  FMenuLabels.reset();
  FPopupMenuLabels.reset();
  FParagraphDialog.reset();
  FTabDialog.reset();
}

void TdcDBRichEditIntl::AdoptSubHolders(std::unique_ptr<TdcRichEditMenuLabels> menuLabels,
                                        std::unique_ptr<TdcRichEditPopupMenuLabels> popupMenuLabels) {
  FMenuLabels = std::move(menuLabels);
  FPopupMenuLabels = std::move(popupMenuLabels);
}

void TdcDBRichEditIntl::AdoptDialogHolders(std::unique_ptr<TdcRichEditParagraphDlg> paragraphDialog,
                                           std::unique_ptr<TdcRichEditTabDlg> tabDialog) {
  FParagraphDialog = std::move(paragraphDialog);
  FTabDialog = std::move(tabDialog);
}

// Published properties, in declared order. Texts declare no default, so a stored holder writes every
// one that is not empty; the help contexts declare 0 and the ADO option True.

template <class THolder>
static void PublishTexts(TClassBuilder<THolder>& builder, std::size_t first = 0,
                         std::size_t last = SIZE_MAX) {
  std::span<const TdcHolderText<THolder>> texts = THolder::Texts();
  for (std::size_t i = first; i < texts.size() && i < last; ++i)
    builder.String(texts[i].Name, texts[i].Field, texts[i].Field);
}

template <class THolder>
static TMetaClass TextHolderClass(const char* name) {
  TClassBuilder<THolder> builder(name);
  PublishTexts(builder);
  return builder;
}

const TMetaClass& TdcFilterDialogIntl::StaticClass() {
  static const TMetaClass cls = TextHolderClass<TdcFilterDialogIntl>("TdcFilterDialogIntl");
  return cls;
}

const TMetaClass& TdcRichEditMenuLabels::StaticClass() {
  static const TMetaClass cls = TextHolderClass<TdcRichEditMenuLabels>("TdcRichEditMenuLabels");
  return cls;
}

const TMetaClass& TdcRichEditPopupMenuLabels::StaticClass() {
  static const TMetaClass cls = TextHolderClass<TdcRichEditPopupMenuLabels>("TdcRichEditPopupMenuLabels");
  return cls;
}

const TMetaClass& TdcRichEditParagraphDlg::StaticClass() {
  static const TMetaClass cls = [] {
    TClassBuilder<G> builder("TdcRichEditParagraphDlg");
    PublishTexts(builder);
    builder.Integer("HelpContext", &G::HelpContext, &G::HelpContext).Default(0);
    return TMetaClass(builder);
  }();
  return cls;
}

const TMetaClass& TdcRichEditTabDlg::StaticClass() {
  static const TMetaClass cls = [] {
    TClassBuilder<T> builder("TdcRichEditTabDlg");
    PublishTexts(builder, 0, 1);
    builder.Integer("HelpContext", &T::HelpContext, &T::HelpContext).Default(0);
    PublishTexts(builder, 1);
    return TMetaClass(builder);
  }();
  return cls;
}

const TMetaClass& TdcDBRichEditIntl::StaticClass() {
  static const TMetaClass cls = [] {
    TClassBuilder<R> builder("TdcDBRichEditIntl");
    PublishTexts(builder);
    builder.Object("MenuLabels", &R::MenuLabels)
        .Object("PopupMenuLabels", &R::PopupMenuLabels)
        .Object("ParagraphDialog", &R::ParagraphDialog)
        .Object("TabDialog", &R::TabDialog);
    return TMetaClass(builder);
  }();
  return cls;
}

const TMetaClass& TdcDBNavigatorIntlHints::StaticClass() {
  static const TMetaClass cls = TextHolderClass<TdcDBNavigatorIntlHints>("TdcDBNavigatorIntlHints");
  return cls;
}

const TMetaClass& TdcDBNavigatorIntl::StaticClass() {
  static const TMetaClass cls = [] {
    TClassBuilder<N> builder("TdcDBNavigatorIntl");
    PublishTexts(builder);
    builder.Object("Hints", &N::Hints);
    return TMetaClass(builder);
  }();
  return cls;
}

const TMetaClass& TdcADOIntl::StaticClass() {
  static const TMetaClass cls =
      TClassBuilder<TdcADOIntl>("TdcADOIntl")
          .Boolean("UseLocateWhenFindingValue", &TdcADOIntl::UseLocateWhenFindingValue,
                   &TdcADOIntl::UseLocateWhenFindingValue)
          .Default(true);
  return cls;
}

const TMetaClass& TdcMonthCalendarIntl::StaticClass() {
  static const TMetaClass cls = TextHolderClass<TdcMonthCalendarIntl>("TdcMonthCalendarIntl");
  return cls;
}

const TMetaClass& TdcSearchDialogIntl::StaticClass() {
  static const TMetaClass cls = TextHolderClass<TdcSearchDialogIntl>("TdcSearchDialogIntl");
  return cls;
}

const TMetaClass& TdcLocateDialogIntl::StaticClass() {
  static const TMetaClass cls = TextHolderClass<TdcLocateDialogIntl>("TdcLocateDialogIntl");
  return cls;
}

const TMetaClass& TdcUserMessagesIntl::StaticClass() {
  static const TMetaClass cls = TextHolderClass<TdcUserMessagesIntl>("TdcUserMessagesIntl");
  return cls;
}
