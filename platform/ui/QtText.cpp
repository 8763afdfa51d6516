#include "platform/ui/QtText.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QFile>

namespace {

// Bytes that are not part of a valid UTF-8 sequence travel as lone low surrogates U+DC80..U+DCFF, the
// same escape other toolkits use for undecodable file names. Valid UTF-8 never yields a lone surrogate
// (an encoded surrogate such as ED B2 80 is itself invalid and escaped byte by byte), so on the way back
// each lone one in that range is a byte again.
constexpr char16_t EscapeBase = 0xDC00;

bool IsEscape(char16_t c) { return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF; }

// Length of the valid UTF-8 sequence starting at p (1..4) with its code point in value, or 0 when the
// byte there starts none: overlong forms, surrogates and values above U+10FFFF are not valid.
int DecodeSequence(const unsigned char* p, size_t left, char32_t& value) {
  const unsigned char c = p[0];
  int length = 0;
  char32_t minimum = 0;
  if (c < 0x80) {
    value = c;
    return 1;
  }
  if ((c & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, value = c & 0x1F;
  } else if ((c & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, value = c & 0x0F;
  } else if ((c & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, value = c & 0x07;
  } else {
    return 0;
  }
  if (left < static_cast<size_t>(length)) return 0;
  for (int i = 1; i < length; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    value = (value << 6) | (p[i] & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// Walks text as ToQString reads it: visit(first byte, byte count, code point or the escape's unit)
// for each character; stops early when visit gives false.
template <class Visit>
void Decode(std::string_view text, Visit visit) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  size_t i = 0;
  while (i < text.size()) {
    char32_t value = 0;
    int length = DecodeSequence(p + i, text.size() - i, value);
    if (length == 0) {
      value = EscapeBase + p[i];
      length = 1;
    }
    if (!visit(i, static_cast<size_t>(length), value)) return;
    i += static_cast<size_t>(length);
  }
}

}  // namespace

QString ToQString(std::string_view text) {
  QString result;
  result.reserve(static_cast<qsizetype>(text.size()));
  Decode(text, [&](size_t, size_t, char32_t c) {
    if (QChar::requiresSurrogates(c)) {
      result.append(QChar(QChar::highSurrogate(c)));
      result.append(QChar(QChar::lowSurrogate(c)));
    } else {
      result.append(QChar(static_cast<char16_t>(c)));
    }
    return true;
  });
  return result;
}

std::string FromQString(const QString& text) {
  std::string result;
  result.reserve(static_cast<size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (IsEscape(unit)) {
      result.push_back(static_cast<char>(unit - EscapeBase));
      continue;
    }
    char32_t c = unit;
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
      c = QChar::surrogateToUcs4(unit, text[++i].unicode());
    } else if (QChar::isSurrogate(unit)) {
      // No byte string gives this lone half of a pair, so there are no bytes to give back.
      c = QChar::ReplacementCharacter;
    }
    AppendUtf8(result, c);
  }
  return result;
}

qsizetype QtPositionOfByte(std::string_view text, size_t byteIndex) {
  qsizetype position = 0;
  Decode(text, [&](size_t first, size_t length, char32_t c) {
    if (byteIndex < first + length) return false;
    position += QChar::requiresSurrogates(c) ? 2 : 1;
    return true;
  });
  return position;
}

std::string ResolveChosenPath(const QString& chosen) {
  std::string path = FromQString(chosen);
  struct stat info {};
  if (path.empty() || ::lstat(path.c_str(), &info) == 0) return path;
  // A name that Qt could not decode comes back with replacement characters: find, folder by folder,
  // the one entry that Qt shows under that name and take its real bytes.
  std::string resolved = path[0] == '/' ? "/" : "";
  size_t pos = path[0] == '/' ? 1 : 0;
  while (pos <= path.size()) {
    const size_t slash = path.find('/', pos);
    const std::string component =
        path.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
    std::string actual = component;
    const std::string folder = resolved.empty() ? "." : resolved;
    if (!component.empty() && ::lstat((folder + "/" + component).c_str(), &info) != 0) {
      if (DIR* dir = ::opendir(folder.c_str())) {
        const QString wanted = QFile::decodeName(QByteArray::fromStdString(component));
        int matches = 0;
        while (dirent* entry = ::readdir(dir)) {
          if (QFile::decodeName(QByteArray(entry->d_name)) == wanted) {
            actual = entry->d_name;
            ++matches;
          }
        }
        ::closedir(dir);
        if (matches != 1) return path;  // ambiguous or gone: leave the name as the user chose it
      }
    }
    resolved += actual;
    if (slash == std::string::npos) break;
    resolved += "/";
    pos = slash + 1;
  }
  return resolved;
}
