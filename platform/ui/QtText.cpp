#include "platform/ui/QtText.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QByteArray>
#include <QFile>
#include <QStringDecoder>

namespace {

// Bytes that are not part of a valid UTF-8 sequence travel as lone low surrogates U+DC80..U+DCFF, the
// same escape other toolkits use for undecodable file names, so that they come back as the same byte.
constexpr char16_t EscapeBase = 0xDC00;

bool IsValidUtf8(std::string_view bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return !decoder.hasError();
}

// Length of the valid UTF-8 sequence starting at p (1..4), or 0 when the byte there starts none.
int SequenceLength(const unsigned char* p, size_t left) {
  const unsigned char c = p[0];
  int length = 0;
  unsigned minimum = 0;
  unsigned value = 0;
  if (c < 0x80) return 1;
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

}  // namespace

QString ToQString(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string FromQString(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString PathToQString(std::string_view path) {
  if (IsValidUtf8(path))
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
  QString result;
  const auto* p = reinterpret_cast<const unsigned char*>(path.data());
  size_t i = 0;
  while (i < path.size()) {
    const int length = SequenceLength(p + i, path.size() - i);
    if (length == 0) {
      result.append(QChar(static_cast<char16_t>(EscapeBase + p[i])));
      ++i;
    } else {
      result.append(QString::fromUtf8(reinterpret_cast<const char*>(p + i), length));
      i += static_cast<size_t>(length);
    }
  }
  return result;
}

std::string PathFromQString(const QString& path) {
  bool escaped = false;
  for (const QChar c : path) {
    if (c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF) {
      escaped = true;
      break;
    }
  }
  if (!escaped) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
  }
  std::string result;
  qsizetype start = 0;
  auto flush = [&](qsizetype end) {
    const QByteArray run = QFile::encodeName(path.mid(start, end - start));
    result.append(run.constData(), static_cast<size_t>(run.size()));
  };
  for (qsizetype i = 0; i < path.size(); ++i) {
    const char16_t c = path[i].unicode();
    if (c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF) {
      flush(i);
      result.push_back(static_cast<char>(c - EscapeBase));
      start = i + 1;
    }
  }
  flush(path.size());
  return result;
}

std::string ResolveChosenPath(const QString& chosen) {
  std::string path = PathFromQString(chosen);
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
