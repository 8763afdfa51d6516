#include "platform/ui/DrawText.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "platform/ui/QtText.h"

namespace {

TPrefixedLine ParsePrefixes(const std::string& line, bool prefixes) {
  TPrefixedLine result;
  if (!prefixes) {
    result.Shown = line;
    return result;
  }
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '&') {
      result.Shown.push_back(line[i]);
    } else if (i + 1 < line.size() && line[i + 1] == '&') {
      result.Shown.push_back('&');
      ++i;
    } else if (i + 1 < line.size()) {
      result.Underlined.push_back(result.Shown.size());
      result.Shown.push_back(line[++i]);
    }
    // A lone ampersand at the very end prefixes nothing and is not drawn.
  }
  return result;
}

}  // namespace

std::vector<TPrefixedLine> LayoutDrawText(const std::string& text, unsigned format) {
  const bool prefixes = (format & DT_NOPREFIX) == 0;
  std::vector<TPrefixedLine> lines;
  if ((format & DT_SINGLELINE) != 0) {
    std::string joined;
    for (char c : text) {
      if (c != '\r' && c != '\n') joined.push_back(c);
    }
    lines.push_back(ParsePrefixes(joined, prefixes));
    return lines;
  }
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(ParsePrefixes(current, prefixes));
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current.push_back(c);
    }
  }
  lines.push_back(ParsePrefixes(current, prefixes));
  return lines;
}

int DrawText(TCanvas& canvas, const std::string& text, const TRect& rect, unsigned format) {
  QPainter* painter = canvas.RequirePainter();
  const std::vector<TPrefixedLine> lines = LayoutDrawText(text, format);
  const QFont font = canvas.Font().ToQFont();
  const QFontMetrics metrics(font);
  const int lineHeight = metrics.height();
  const int textHeight = lineHeight * static_cast<int>(lines.size());

  int y = rect.Top;
  if ((format & DT_SINGLELINE) != 0 && (format & DT_VCENTER) != 0) {
    y = rect.Top + (rect.Height() - lineHeight) / 2;
  }

  painter->save();
  if ((format & DT_NOCLIP) == 0) {
    painter->setClipRect(QRect(rect.Left, rect.Top, rect.Width(), rect.Height()), Qt::IntersectClip);
  }
  const QColor textColor = ToQColor(canvas.Font().Color());
  const bool opaque = canvas.Brush().Style() == bsSolid;
  const QColor background = ToQColor(canvas.Brush().Color());
  for (const TPrefixedLine& line : lines) {
    const QString shown = ToQString(line.Shown);
    const int width = metrics.horizontalAdvance(shown);
    int x = rect.Left;
    if ((format & DT_CENTER) != 0) {
      x = rect.Left + (rect.Width() - width) / 2;
    } else if ((format & DT_RIGHT) != 0) {
      x = rect.Right - width;
    }
    if (opaque) painter->fillRect(QRect(x, y, width, lineHeight), background);
    painter->setPen(textColor);
    painter->setFont(font);
    const int baseline = y + metrics.ascent();
    painter->drawText(QPoint(x, baseline), shown);
    // Underlines are drawn under the whole line's glyphs, so that prefixes never shift the text.
    for (size_t index : line.Underlined) {
      // The prefix stands before a byte; the character underlined is the one that byte belongs to.
      const qsizetype at = QtPositionOfByte(line.Shown, index);
      if (at >= shown.size()) continue;
      const qsizetype length = shown.at(at).isHighSurrogate() && at + 1 < shown.size() ? 2 : 1;
      const int from = x + metrics.horizontalAdvance(shown.left(at));
      const int width = metrics.horizontalAdvance(shown.mid(at, length));
      painter->fillRect(
          QRect(from, baseline + metrics.underlinePos(), width, std::max(1, metrics.lineWidth())), textColor);
    }
    y += lineHeight;
  }
  painter->restore();
  return textHeight;
}
