#include "platform/system/DateTime.h"

#include <cmath>

#include "platform/system/Exceptions.h"

namespace {

// Days from 1 March of year 0 (proleptic Gregorian) arithmetic: exact for every year of the range.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;  // 0 is 1 January 1970
}

void CivilFromDays(int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const int64_t dayOfEra = days - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// 30 December 1899 counted from 1 January 1970.
constexpr int64_t ZeroDateOffset = -25569;

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInAMonth(int year, int month) {
  static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12) return false;
  if (day < 1 || day > DaysInAMonth(year, month)) return false;
  date = static_cast<TDateTime>(DaysFromCivil(year, month, day) - ZeroDateOffset);
  return true;
}

TDateTime EncodeDate(int year, int month, int day) {
  TDateTime date = 0;
  if (!TryEncodeDate(year, month, day, date)) throw EConvertError("Invalid argument to date encode");
  return date;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& time) {
  if (hour < 0 || hour >= HoursPerDay || minute < 0 || minute >= 60 || second < 0 || second >= 60 ||
      msec < 0 || msec >= 1000)
    return false;
  time = static_cast<TDateTime>(((hour * 60 + minute) * 60 + second) * 1000 + msec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(int hour, int minute, int second, int msec) {
  TDateTime time = 0;
  if (!TryEncodeTime(hour, minute, second, msec, time))
    throw EConvertError("Invalid argument to time encode");
  return time;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) { return date < 0 ? date - time : date + time; }

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, second, msec));
}

TDayAndTime SplitDateTime(TDateTime value) {
  if (!std::isfinite(value)) return {0, 0};
  const double whole = std::trunc(value);
  int64_t day = static_cast<int64_t>(std::fmax(std::fmin(whole, 1e15), -1e15));
  auto msecs = static_cast<int64_t>(std::llround(std::fabs(value - whole) * MSecsPerDay));
  if (msecs >= MSecsPerDay) {
    // A time that rounds up to midnight is the start of the next calendar day, before the zero date
    // as well (-1.9999999 is late on 29 December, so it becomes day 0, 30 December).
    msecs = 0;
    day += 1;
  }
  return {day, static_cast<int>(msecs)};
}

TDateTime JoinDateTime(int64_t day, int msecs) {
  return ComposeDateTime(static_cast<TDateTime>(day), static_cast<TDateTime>(msecs) / MSecsPerDay);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day) {
  const TDayAndTime split = SplitDateTime(value);
  if (split.Day < MinDateTimeDay || split.Day > MaxDateTimeDay) {
    year = month = day = 0;
    return;
  }
  CivilFromDays(split.Day + ZeroDateOffset, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec) {
  int rest = SplitDateTime(value).MSecs;
  msec = rest % 1000;
  rest /= 1000;
  second = rest % 60;
  rest /= 60;
  minute = rest % 60;
  hour = rest / 60;
}

void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute, int& second,
                    int& msec) {
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, msec);
}
