// Crossing between the system's byte strings and Qt's strings without losing a byte.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// The one rule for every text that crosses into Qt and back (captions, edit texts, list items, hints,
// message texts, file paths): the bytes are read as UTF-8, so names in UTF-8 show and match as typed;
// each byte that is not part of a valid UTF-8 sequence travels as U+DC80..U+DCFF (U+DC00 + the byte)
// and comes back as that byte. Every byte string survives the round trip.
QString ToQString(std::string_view text);
std::string FromQString(const QString& text);

// The position in ToQString(text) of the character that holds the byte at byteIndex; the length of
// that string when byteIndex is at or past the end of text.
qsizetype QtPositionOfByte(std::string_view text, size_t byteIndex);

// The path of a file or folder chosen in a Qt dialog. Qt shows a name that is not valid UTF-8 with
// replacement characters; such a path is mapped back, folder by folder, to the entry's real bytes.
std::string ResolveChosenPath(const QString& chosen);
