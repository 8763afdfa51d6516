#include <gtest/gtest.h>

#include <functional>

#include "platform/data/DBErrors.h"
#include "platform/data/Param.h"

namespace {

TEST(ParamTest, AValueReadsBackInEachView) {
  struct TCase {
    const char* Name;
    std::function<void(TParam&)> Set;
    TFieldType Type;
    int Integer;
    const char* Text;
    double Float;
  };
  const TCase cases[] = {
      {"integer", [](TParam& p) { p.SetAsInteger(-42); }, ftInteger, -42, "-42", -42.0},
      {"string", [](TParam& p) { p.SetAsString(" 17 "); }, ftString, 17, " 17 ", 17.0},
      {"float", [](TParam& p) { p.SetAsFloat(2.5); }, ftFloat, 3, "2.5", 2.5},
      {"scaled", [](TParam& p) { p.SetValue(TDataValue::OfScaled(-1005, -2)); }, ftBCD, -10, "-10.05",
       -10.05},
      {"date-time", [](TParam& p) { p.SetAsDateTime(EncodeDateTime(2024, 2, 29, 13, 14, 15, 0)); },
       ftDateTime, 0, "2024-02-29 13:14:15", EncodeDateTime(2024, 2, 29, 13, 14, 15, 0)},
      {"blob", [](TParam& p) { p.SetAsBlob(std::string("a\0b", 3)); }, ftBlob, 0, nullptr, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TParam param("p");
    EXPECT_FALSE(param.Bound());
    c.Set(param);
    EXPECT_TRUE(param.Bound());
    EXPECT_FALSE(param.IsNull());
    EXPECT_EQ(param.DataType(), c.Type);
    if (c.Text) {
      EXPECT_EQ(param.AsString(), c.Text);
    }
    if (c.Type == ftDateTime) {
      EXPECT_EQ(param.AsDateTime(), c.Float);
      EXPECT_THROW(param.AsInteger(), EDatabaseError);
    } else if (c.Type == ftBlob) {
      EXPECT_EQ(param.AsBlob(), std::string("a\0b", 3));
    } else {
      EXPECT_EQ(param.AsInteger(), c.Integer);
      EXPECT_EQ(param.AsFloat(), c.Float);
    }
  }
}

TEST(ParamTest, ClearMakesANullAndKeepsTypeAndBound) {
  TParam param("p");
  param.SetAsString("x");
  param.Clear();
  EXPECT_TRUE(param.IsNull());
  EXPECT_TRUE(param.Bound());
  EXPECT_EQ(param.DataType(), ftString);
  EXPECT_EQ(param.AsString(), "");
  EXPECT_EQ(param.AsInteger(), 0);
}

TEST(ParamTest, TextThatIsNoNumberOrANumberBeyond32BitsIsAnError) {
  TParam param("p");
  param.SetAsString("abc");
  try {
    param.AsInteger();
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid integer value");
  }
  try {
    param.AsFloat();
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
  }
  // Never cut to its low 32 bits.
  param.SetAsString("4294967297");
  try {
    param.AsInteger();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "4294967297 is not a valid value for parameter 'p'");
  }
}

TEST(ParamTest, RebuildingKeepsTheValuesOfNamesItHeld) {
  TParams params;
  params.Rebuild({"a", "B", "A"});
  ASSERT_EQ(params.Count(), 2);
  params.ParamByName("A").SetAsInteger(1);
  params.ParamByName("b").SetAsInteger(2);
  params.Rebuild({"c", "b"});
  ASSERT_EQ(params.Count(), 2);
  EXPECT_EQ(params[0].Name(), "c");
  EXPECT_FALSE(params[0].Bound());
  EXPECT_EQ(params[1].AsInteger(), 2);
  EXPECT_EQ(params.FindParam("a"), nullptr);
  EXPECT_THROW(params[2], EListError);
}

}  // namespace
