// Date-time values: days counted from 30 December 1899 with the time of day as the fraction,
// and their encoding from and decoding into calendar parts.
#pragma once

#include <cstdint>

// 0 is 30 December 1899 at midnight; 1.25 is 31 December 1899 at 06:00. A date before the zero date
// is negative and carries its time of day as a positive fraction: -1.25 is 29 December 1899 at 06:00.
using TDateTime = double;

constexpr int HoursPerDay = 24;
constexpr int MinsPerDay = HoursPerDay * 60;
constexpr int SecsPerDay = MinsPerDay * 60;
constexpr int MSecsPerDay = SecsPerDay * 1000;

// The day number of 1 January 0001 and of 31 December 9999: the range EncodeDate gives.
constexpr int MinDateTimeDay = -693593;
constexpr int MaxDateTimeDay = 2958465;

bool IsLeapYear(int year);
// Days in a month of a year of the Gregorian calendar; 0 for a month outside 1 to 12.
int DaysInAMonth(int year, int month);

// A date of year 1 to 9999, month 1 to 12 and a day that exists in that month.
bool TryEncodeDate(int year, int month, int day, TDateTime& date);
// As TryEncodeDate; raises EConvertError "Invalid argument to date encode" when the date does not exist.
TDateTime EncodeDate(int year, int month, int day);

// A time of day of hour 0 to 23, minute 0 to 59, second 0 to 59 and millisecond 0 to 999.
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& time);
// As TryEncodeTime; raises EConvertError "Invalid argument to time encode" when the time does not exist.
TDateTime EncodeTime(int hour, int minute, int second, int msec);

// A date (from EncodeDate) and a time of day (from EncodeTime) as one value; on a date before the
// zero date the time is taken off, so that the value keeps its date and time.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
// Both encodings at once; raises EConvertError like EncodeDate and EncodeTime.
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec);

// The calendar parts of a value, rounded to the nearest millisecond (a time that rounds to midnight
// belongs to the next day). A value outside the range of EncodeDate gives 0 for year, month and day.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute, int& second,
                    int& msec);

// The value as a whole day number counted from the zero date and the milliseconds since that day's
// midnight, rounded as DecodeDate and DecodeTime round: the form in which databases store timestamps.
struct TDayAndTime {
  int64_t Day;
  int MSecs;
};
TDayAndTime SplitDateTime(TDateTime value);
// The inverse of SplitDateTime for msecs 0 to MSecsPerDay - 1.
TDateTime JoinDateTime(int64_t day, int msecs);
