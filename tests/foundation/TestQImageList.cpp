#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "foundation/QImageList.h"

namespace {

struct TSizedCase {
  const char* Name;
  std::function<TQCustomImageList*()> Make;
  int Size;
  int First;
  int Last;
};

TEST(QImageListTest, EachClassMakesItsCellSizeAndRangeAndHoldsNoImages) {
  const TSizedCase cases[] = {
      {"TQCustomImageList", [] { return new TQCustomImageList(nullptr); }, 16, 0, -1},
      {"TQ16x16ImageList", [] { return new TQ16x16ImageList(nullptr); }, 16, 3000, 3088},
      {"TQ20x20ImageList", [] { return new TQ20x20ImageList(nullptr); }, 20, 2000, 2087},
      {"TQ24x24ImageList", [] { return new TQ24x24ImageList(nullptr); }, 24, 1000, 1087},
  };
  for (const TSizedCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::unique_ptr<TQCustomImageList> list(c.Make());
    EXPECT_EQ(list->ClassName(), c.Name);
    EXPECT_EQ(list->Width(), c.Size);
    EXPECT_EQ(list->Height(), c.Size);
    EXPECT_EQ(list->FirstResource(), c.First);
    EXPECT_EQ(list->LastResource(), c.Last);
    EXPECT_EQ(list->Count(), 0);
  }
}

TEST(QImageListTest, LoadingAtRunTimeDropsTheStoredImages) {
  TQ24x24ImageList list(nullptr);
  list.SetComponentStateFlag(csLoading, true);
  list.Add("BM-stored-one");
  list.Add("BM-stored-two");
  ASSERT_EQ(list.Count(), 2);
  list.Loaded();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.InState(csLoading));
  EXPECT_EQ(list.Width(), 24);
}

TEST(QImageListTest, InsideADesignerLoadingKeepsTheImages) {
  TQ16x16ImageList list(nullptr);
  list.SetComponentStateFlag(csDesigning, true);
  list.Add("BM-designed");
  list.Loaded();
  EXPECT_EQ(list.Count(), 1);
}

TEST(QImageListTest, ANewCellSizeEmptiesTheList) {
  TImageList list(nullptr);
  EXPECT_EQ(list.Width(), 16);
  EXPECT_EQ(list.Add("a"), 0);
  EXPECT_EQ(list.Add("b"), 1);
  list.SetHeight(16);  // unchanged: the images stay
  EXPECT_EQ(list.Count(), 2);
  list.SetWidth(32);
  EXPECT_EQ(list.Count(), 0);
  list.Add("c");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
