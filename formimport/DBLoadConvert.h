// The loader's conversions of a column element's text into the value written to the database:
// numbers, timestamps, escaped text and blob data (plain or Base64).
#pragma once

#include <cstdint>
#include <string>

#include "formimport/DBLoadFields.h"
#include "platform/data/DataValue.h"
#include "platform/system/DateTime.h"

// Reads a decimal number: everything before the first digit is skipped, a minus sign right before
// that digit (or before a point right before it) makes it negative, and the first character that
// does not belong to the digits and one fraction ends it. A text without digits gives 0.
double ParseNumber(const std::string& s);

// ParseNumber rounded to the nearest whole number, halves to the even neighbour. The number is never cut
// to fit an integer type: whether it fits its column is for the conversion to that column to say.
double ParseInteger(const std::string& s);

// The number ParseNumber reads, as decimal digits: "-12.50" for "abc-12.50x", "0.5" for ".5", "0" for a
// text without digits. Nothing is rounded, so a scaled column can take it digit by digit.
std::string NumberText(const std::string& s);

// Reads yyyymmdd, optionally followed by hhmmss. An unreadable or impossible date gives 0 (the zero
// date); an unreadable or impossible time gives the date alone. Characters after the 14th are ignored.
TDateTime ParseTimestamp(const std::string& s);

// Turns the file's escapes of a CHAR or VARCHAR value back into characters, in place: "\\" is a
// backslash, "\r" a carriage return, "\n" a line feed, byte 0xA6 a vertical bar. Rich text (longer
// than three characters and beginning with "{\r") stands for itself.
void UnescapeText(std::string& s);

// One blob value is decoded at a time: BlobCursor points into the text being decoded, which ends at
// its first NUL character. SetBlobSource's text must stay unchanged and alive until decoding ends.
extern const char* BlobCursor;
void SetBlobSource(const std::string& s);
// Decodes the value at BlobCursor (plain text when it begins with "{", otherwise Base64, up to the
// first vertical bar) into result and moves BlobCursor past the value and its bar.
void DecodeBlob(std::string& result);
// The plain-text case of DecodeBlob: leading blanks skipped, then everything up to the first bar.
void ReadPlainBlob(std::string& result);

// Base64 alphabet values 0 to 63 by character code, 64 for the pad character "=", 255 for any other
// code; codes 128 to 255 have no entry and count as invalid.
extern const unsigned char Base64DecodeTable[128];
constexpr unsigned char Base64Pad = 64;
constexpr unsigned char Base64Invalid = 255;

// The value that a column's text stands for, read as the column's kind reads it (the column must be of
// a kind the loader handles). It is not yet converted to the column: the field or parameter that takes
// it does that, and refuses a number that does not fit. Text is taken as it stands (the caller cuts and
// unescapes it); blob text is decoded.
TDataValue ReadColumnText(const TFieldInfo& field, const std::string& text);
