#include <gtest/gtest.h>

#include "platform/data/FbClient.h"
#include "platform/system/DateTime.h"

namespace {

struct TTimestampCase {
  const char* Name;
  TDateTime Value;
  int Date;            // days since 17 November 1858
  unsigned Time;       // 1/10000 s since midnight
  TDateTime ReadBack;  // the value the stored timestamp reads as
};

TEST(FbClientTest, DateTimesConvertToAndFromServerTimestamps) {
  const TDateTime noon2000 = EncodeDateTime(2000, 1, 1, 12, 0, 0, 0);
  const TTimestampCase cases[] = {
      {"the zero date", 0, 15018, 0, 0},
      {"1 January 2000 at noon", noon2000, 51544, 432000000, noon2000},
      {"29 February 2024 13:14:15", EncodeDateTime(2024, 2, 29, 13, 14, 15, 0), 60369, 476550000,
       EncodeDateTime(2024, 2, 29, 13, 14, 15, 0)},
      {"before the zero date the fraction still counts forward", -1.25, 15017, 216000000, -1.25},
      {"just before midnight rounds into the next day", 1.0 - 1e-10, 15019, 0, 1.0},
      {"a day before the zero date rounding to its midnight", -1.0 - (1.0 - 1e-10), 15018, 0, 0},
      {"1 January 0001", EncodeDate(1, 1, 1), -678575, 0, EncodeDate(1, 1, 1)},
  };
  for (const TTimestampCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const ISC_TIMESTAMP timestamp = fbclient::DateTimeToTimestamp(c.Value);
    EXPECT_EQ(timestamp.timestamp_date, c.Date);
    EXPECT_EQ(timestamp.timestamp_time, c.Time);
    EXPECT_EQ(fbclient::TimestampToDateTime(timestamp), c.ReadBack);
  }
}

TEST(FbClientTest, EveryTenThousandthOfASecondOfADayRoundTrips) {
  for (unsigned time = 0; time < 864000000u; time += 8640001u) {
    const ISC_TIMESTAMP timestamp{60000, time};
    const ISC_TIMESTAMP back = fbclient::DateTimeToTimestamp(fbclient::TimestampToDateTime(timestamp));
    ASSERT_EQ(back.timestamp_date, 60000) << time;
    ASSERT_EQ(back.timestamp_time, time);
  }
}

}  // namespace
