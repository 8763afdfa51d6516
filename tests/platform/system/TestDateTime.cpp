#include <gtest/gtest.h>

#include "platform/system/DateTime.h"
#include "platform/system/Exceptions.h"

namespace {

struct DateCase {
  int Year, Month, Day;
  double Serial;
};

}  // namespace

TEST(DateTime, EncodeDateCountsDaysFromTheZeroDate) {
  const DateCase cases[] = {
      {1899, 12, 30, 0},  {1899, 12, 31, 1},       {1900, 1, 1, 2},        {1899, 12, 29, -1},
      {1900, 3, 1, 61},   {2000, 1, 1, 36526},     {2004, 1, 15, 38001},   {2000, 2, 29, 36585},
      {1, 1, 1, -693593}, {9999, 12, 31, 2958465}, {1858, 11, 17, -15018}, {1970, 1, 1, 25569},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Year << "-" << c.Month << "-" << c.Day);
    EXPECT_EQ(EncodeDate(c.Year, c.Month, c.Day), c.Serial);
    int y = 0, m = 0, d = 0;
    DecodeDate(c.Serial, y, m, d);
    EXPECT_EQ(y, c.Year);
    EXPECT_EQ(m, c.Month);
    EXPECT_EQ(d, c.Day);
  }
}

TEST(DateTime, EncodeDateRefusesDaysThatDoNotExist) {
  const DateCase cases[] = {
      {1900, 2, 29, 0}, {2100, 2, 29, 0}, {2003, 2, 29, 0}, {2004, 4, 31, 0}, {2004, 13, 1, 0},
      {2004, 0, 1, 0},  {2004, 1, 0, 0},  {0, 1, 1, 0},     {10000, 1, 1, 0}, {-5, 1, 1, 0},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Year << "-" << c.Month << "-" << c.Day);
    TDateTime date = 123;
    EXPECT_FALSE(TryEncodeDate(c.Year, c.Month, c.Day, date));
    EXPECT_EQ(date, 123) << "a refused date leaves the output alone";
    try {
      EncodeDate(c.Year, c.Month, c.Day);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
  }
}

TEST(DateTime, LeapYearsFollowTheGregorianRules) {
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2004));
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_FALSE(IsLeapYear(2003));
  EXPECT_EQ(DaysInAMonth(2004, 2), 29);
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2004, 12), 31);
  EXPECT_EQ(DaysInAMonth(2004, 13), 0);
}

TEST(DateTime, EncodeTimeIsTheFractionOfTheDay) {
  EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0.0);
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_DOUBLE_EQ(EncodeTime(13, 30, 5, 0), (13 * 3600 + 30 * 60 + 5) / 86400.0);
  EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 86399999 / 86400000.0);

  const int bad[][4] = {{24, 0, 0, 0},   {0, 60, 0, 0}, {0, 0, 60, 0},
                        {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, -1, 0}};
  for (const auto& t : bad) {
    SCOPED_TRACE(testing::Message() << t[0] << ":" << t[1] << ":" << t[2] << "." << t[3]);
    TDateTime time = 7;
    EXPECT_FALSE(TryEncodeTime(t[0], t[1], t[2], t[3], time));
    EXPECT_EQ(time, 7);
    try {
      EncodeTime(t[0], t[1], t[2], t[3]);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), "Invalid argument to time encode");
    }
  }
}

TEST(DateTime, DecodeGivesBackEveryPartOfAMoment) {
  struct Moment {
    int Y, Mo, D, H, Mi, S, Ms;
  };
  const Moment moments[] = {
      {2004, 1, 15, 13, 30, 5, 0},  {1899, 12, 30, 0, 0, 0, 1},      {1899, 12, 29, 6, 0, 0, 0},
      {1800, 1, 1, 12, 0, 0, 0},    {9999, 12, 31, 23, 59, 59, 999}, {1, 1, 1, 0, 0, 0, 0},
      {2024, 2, 29, 13, 14, 15, 0}, {1972, 6, 30, 23, 59, 59, 0},
  };
  for (const Moment& m : moments) {
    SCOPED_TRACE(testing::Message() << m.Y << "-" << m.Mo << "-" << m.D << " " << m.H << ":" << m.Mi << ":"
                                    << m.S << "." << m.Ms);
    const TDateTime value = EncodeDateTime(m.Y, m.Mo, m.D, m.H, m.Mi, m.S, m.Ms);
    int y, mo, d, h, mi, s, ms;
    DecodeDateTime(value, y, mo, d, h, mi, s, ms);
    EXPECT_EQ(y, m.Y);
    EXPECT_EQ(mo, m.Mo);
    EXPECT_EQ(d, m.D);
    EXPECT_EQ(h, m.H);
    EXPECT_EQ(mi, m.Mi);
    EXPECT_EQ(s, m.S);
    EXPECT_EQ(ms, m.Ms);
  }
}

TEST(DateTime, DatesBeforeTheZeroDateCarryTheirTimeAsAPositiveFraction) {
  EXPECT_EQ(EncodeDateTime(1899, 12, 29, 6, 0, 0, 0), -1.25);
  const TDayAndTime split = SplitDateTime(-1.25);
  EXPECT_EQ(split.Day, -1);
  EXPECT_EQ(split.MSecs, 6 * 3600 * 1000);
  EXPECT_EQ(JoinDateTime(-1, 6 * 3600 * 1000), -1.25);
  EXPECT_EQ(JoinDateTime(38001, 12 * 3600 * 1000), 38001.5);
}

TEST(DateTime, ATimeThatRoundsToMidnightBelongsToTheNextDay) {
  int y, mo, d, h, mi, s, ms;
  DecodeDateTime(38001.9999999999, y, mo, d, h, mi, s, ms);
  EXPECT_EQ(y, 2004);
  EXPECT_EQ(mo, 1);
  EXPECT_EQ(d, 16);
  EXPECT_EQ(h, 0);
  EXPECT_EQ(mi, 0);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(ms, 0);
  DecodeDate(-1.9999999999, y, mo, d);
  EXPECT_EQ(d, 30) << "late on 29 December 1899 rounds to the zero date";
  EXPECT_EQ(mo, 12);
}

TEST(DateTime, ValuesOutsideTheCalendarDecodeToZeroParts) {
  const double values[] = {-693594.0, 2958466.0, 1e300, -1e300};
  for (double v : values) {
    SCOPED_TRACE(v);
    int y = 1, m = 1, d = 1;
    DecodeDate(v, y, m, d);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(d, 0);
  }
}
