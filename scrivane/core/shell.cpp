#include "scrivane/core/shell.h"

#include <QSet>
#include <algorithm>
#include <cmath>

#include "common/text.h"

namespace scrivane {

int NextWindowNumber(const QSet<int>& taken) {
  int n = int(taken.size()) + 1;
  while (taken.contains(n)) ++n;
  return n;
}

bool IsTemplatePath(const QString& path) { return path.right(3).toUpper() == QLatin1String("CGT"); }

QStringList ParseMessageList(const QString& text) {
  QStringList names;
  QSet<QString> seen;
  qsizetype pos = 0;
  QStringView line;
  tarvex::NextLine(text, &pos, &line);  // the first line is not a name
  while (tarvex::NextLine(text, &pos, &line)) {
    const QString name = line.toString();
    if (name.isEmpty() || seen.contains(name)) continue;
    seen.insert(name);
    names << name;
  }
  return names;
}

int RoundFontSize(double points) { return int(std::nearbyint(points)); }  // default mode: to even

QString CommandLineText(const QStringList& arguments) { return arguments.mid(1).join(QLatin1Char(' ')); }

QStringList SymbolTypeNames() {
  return {QStringLiteral("ai"),      QStringLiteral("cog"),      QStringLiteral("flex"),    QStringLiteral("int"),
          QStringLiteral("keyframe"), QStringLiteral("material"), QStringLiteral("message"), QStringLiteral("model"),
          QStringLiteral("sector"),  QStringLiteral("sound"),    QStringLiteral("surface"), QStringLiteral("template"),
          QStringLiteral("thing"),   QStringLiteral("vector")};
}

std::vector<QRect> CascadeRects(const QRect& area, int n, int step) {
  std::vector<QRect> out;
  if (n <= 0) return out;
  const int w = std::max(area.width() * 3 / 4, 1);
  const int h = std::max(area.height() * 3 / 4, 1);
  // Start over at the top left when the next window would leave the area.
  const int fit = std::max(1, std::min((area.width() - w) / std::max(step, 1), (area.height() - h) / std::max(step, 1)) + 1);
  for (int i = 0; i < n; ++i) {
    const int k = i % fit;
    out.emplace_back(area.left() + k * step, area.top() + k * step, w, h);
  }
  return out;
}

QRect StartWindowRect(const QRect& available, const QRect& stored) {
  if (stored.width() > 0 && stored.height() > 0) {
    const QRect strip(stored.left(), stored.top(), stored.width(), 24);
    const QRect seen = strip.intersected(available);
    if (seen.width() >= 100 && seen.height() >= 8) {
      QRect r(stored.topLeft(), stored.size().boundedTo(available.size()));
      r.moveLeft(std::clamp(r.left(), available.left(), available.right() + 1 - r.width()));
      r.moveTop(std::clamp(r.top(), available.top(), available.bottom() + 1 - r.height()));
      return r;
    }
  }
  const QSize size(available.width() * 4 / 5, available.height() * 4 / 5);
  return QRect(available.left() + (available.width() - size.width()) / 2,
               available.top() + (available.height() - size.height()) / 2, size.width(), size.height());
}

QRect NewDocumentRect(const QRect& area, int open, int step) {
  step = std::max(step, 1);
  const int fit = std::max(1, std::min(area.width(), area.height()) / 2 / step + 1);
  const int k = std::max(open, 0) % fit;
  return QRect(area.left() + k * step, area.top() + k * step, area.width() - k * step, area.height() - k * step);
}

namespace {
// Splits length into n parts whose sizes differ by at most one; the first parts get the extra.
std::vector<std::pair<int, int>> Split(int start, int length, int n) {
  std::vector<std::pair<int, int>> parts;
  const int base = length / n, extra = length % n;
  int pos = start;
  for (int i = 0; i < n; ++i) {
    const int size = base + (i < extra ? 1 : 0);
    parts.emplace_back(pos, size);
    pos += size;
  }
  return parts;
}
}  // namespace

std::vector<QRect> TileHorizontalRects(const QRect& area, int n) {
  std::vector<QRect> out;
  if (n <= 0) return out;
  for (auto [top, h] : Split(area.top(), area.height(), n)) out.emplace_back(area.left(), top, area.width(), h);
  return out;
}

std::vector<QRect> TileVerticalRects(const QRect& area, int n) {
  std::vector<QRect> out;
  if (n <= 0) return out;
  for (auto [left, w] : Split(area.left(), area.width(), n)) out.emplace_back(left, area.top(), w, area.height());
  return out;
}

std::vector<QRect> ArrangeIconRects(const QRect& area, int n, const QSize& icon) {
  std::vector<QRect> out;
  const int perRow = std::max(1, area.width() / std::max(icon.width(), 1));
  for (int i = 0; i < n; ++i) {
    const int row = i / perRow, col = i % perRow;
    out.emplace_back(area.left() + col * icon.width(), area.bottom() + 1 - (row + 1) * icon.height(), icon.width(),
                     icon.height());
  }
  return out;
}

int TwipsToPixels(int twips, double dpi) { return int(std::lround(twips * dpi / 1440.0)); }

}  // namespace scrivane
