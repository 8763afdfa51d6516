#include <gtest/gtest.h>

#include <string>

#include "textcatalogue/DcintlHolders.h"

namespace {

// How many texts a holder class declares, and how many of them the catalogue fills.
template <class THolder>
std::pair<size_t, size_t> TextCounts() {
  size_t set = 0;
  for (const auto& text : THolder::Texts())
    if (text.DefaultText != nullptr) ++set;
  return {THolder::Texts().size(), set};
}

// Every text of a holder, joined, so that one comparison shows every text that is not empty.
template <class THolder>
std::string AllTexts(const THolder& holder) {
  std::string all;
  for (const auto& text : THolder::Texts()) all += holder.*text.Field;
  return all;
}

}  // namespace

TEST(DcintlHolders, EachHolderDeclaresItsTextsAndTheCatalogueFillsAllButTheEmptyOnes) {
  struct TCase {
    const char* Holder;
    std::pair<size_t, size_t> Counts;
    std::pair<size_t, size_t> Expected;
  };
  const TCase cases[] = {
      {"TdcFilterDialogIntl", TextCounts<TdcFilterDialogIntl>(), {41, 40}},
      {"TdcDBRichEditIntl", TextCounts<TdcDBRichEditIntl>(), {40, 40}},
      {"TdcRichEditMenuLabels", TextCounts<TdcRichEditMenuLabels>(), {34, 33}},
      {"TdcRichEditPopupMenuLabels", TextCounts<TdcRichEditPopupMenuLabels>(), {17, 17}},
      {"TdcRichEditParagraphDlg", TextCounts<TdcRichEditParagraphDlg>(), {25, 19}},
      {"TdcRichEditTabDlg", TextCounts<TdcRichEditTabDlg>(), {10, 10}},
      {"TdcDBNavigatorIntl", TextCounts<TdcDBNavigatorIntl>(), {1, 1}},
      {"TdcDBNavigatorIntlHints", TextCounts<TdcDBNavigatorIntlHints>(), {18, 18}},
      {"TdcMonthCalendarIntl", TextCounts<TdcMonthCalendarIntl>(), {2, 2}},
      {"TdcSearchDialogIntl", TextCounts<TdcSearchDialogIntl>(), {7, 7}},
      {"TdcLocateDialogIntl", TextCounts<TdcLocateDialogIntl>(), {19, 19}},
      {"TdcUserMessagesIntl", TextCounts<TdcUserMessagesIntl>(), {11, 11}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Holder);
    EXPECT_EQ(c.Counts, c.Expected);
  }
}

TEST(DcintlHolders, HoldersBuiltOnTheirOwnAreEmpty) {
  EXPECT_EQ(AllTexts(TdcFilterDialogIntl()), "");
  EXPECT_EQ(AllTexts(TdcRichEditMenuLabels()), "");
  EXPECT_EQ(AllTexts(TdcRichEditPopupMenuLabels()), "");
  EXPECT_EQ(AllTexts(TdcRichEditTabDlg()), "");
  EXPECT_EQ(AllTexts(TdcMonthCalendarIntl()), "");
  EXPECT_EQ(AllTexts(TdcSearchDialogIntl()), "");
  EXPECT_EQ(AllTexts(TdcLocateDialogIntl()), "");
  EXPECT_EQ(AllTexts(TdcUserMessagesIntl()), "");

  TdcRichEditParagraphDlg paragraph;
  EXPECT_EQ(AllTexts(paragraph), "");
  EXPECT_EQ(paragraph.HelpContext, 0);

  // Only the catalogue gives the option its declared default; the plain holder holds False.
  EXPECT_FALSE(TdcADOIntl().UseLocateWhenFindingValue);

  auto richEdit = std::make_unique<TdcDBRichEditIntl>();
  EXPECT_EQ(AllTexts(*richEdit), "");
  EXPECT_EQ(richEdit->MenuLabels(), nullptr);
  EXPECT_EQ(richEdit->PopupMenuLabels(), nullptr);
  EXPECT_EQ(richEdit->ParagraphDialog(), nullptr);
  EXPECT_EQ(richEdit->TabDialog(), nullptr);
  richEdit.reset();  // with no sub-holders to free
}

TEST(DcintlHolders, NavigatorHoldersFillThemselvesWhereverTheyAreMade) {
  TdcDBNavigatorIntlHints hints;
  EXPECT_EQ(hints.FirstHint, "Move to first record");
  EXPECT_EQ(hints.SearchDialogHint, "Search the dataset");
  // The paging hints keep the record-count placeholder as it is: the controls format it, not the holder.
  EXPECT_EQ(hints.PriorPageHint, "Move backward %d records");
  EXPECT_EQ(hints.NextPageHint, "Move forward %d records");

  TdcDBNavigatorIntl navigator;
  EXPECT_EQ(navigator.ConfirmDeleteMessage, "Delete record?");
  ASSERT_NE(navigator.Hints(), nullptr);
  EXPECT_EQ(navigator.Hints()->LastHint, "Move to last record");
  EXPECT_EQ(navigator.Hints()->NextPageHint, "Move forward %d records");
}
