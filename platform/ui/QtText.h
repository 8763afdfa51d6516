// Crossing between the system's single-byte text and Qt's strings without losing a byte.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// Texts (captions, messages, hints) are single-byte; Latin-1 maps every byte to one character and back.
QString ToQString(std::string_view text);
std::string FromQString(const QString& text);

// File paths go through Qt's own file-name encoding, so a path of any bytes survives the round trip.
QString PathToQString(std::string_view path);
std::string PathFromQString(const QString& path);

// The path of a file or folder chosen in a Qt dialog. Qt shows a name that is not valid UTF-8 with
// replacement characters; such a path is mapped back, folder by folder, to the entry's real bytes.
std::string ResolveChosenPath(const QString& chosen);
