#include "scrivane/core/cogref.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <unordered_map>

#include "common/ansicodec.h"
#include "common/files.h"
#include "common/text.h"
#include "scrivane/core/bramwise.h"

namespace scrivane {

namespace {

constexpr int kNamedProblems = 5;  // how many skipped lines the start-up message names

// The keys' hash, for keys compared ignoring case (KeyEqual): of their length and of their
// first and last characters only, since a reference line is long and its start (the
// function's name) tells most apart.
struct KeyEndsHash {
  size_t operator()(QStringView v) const {
    constexpr qsizetype kEnds = 12;
    const KeyHash whole;
    if (v.size() <= 2 * kEnds) return whole(v);
    return whole(v.first(kEnds)) * 1000003u ^ whole(v.last(kEnds)) ^ size_t(v.size());
  }
};

}  // namespace

QString CogRefCategoryTag() { return QStringLiteral("parent"); }

bool IsCategoryTag(const QString& tag) { return tarvex::SameText(tag, CogRefCategoryTag()); }

CogRefData ParseCogRef(const QString& text) {
  CogRefData data;
  // Every key used so far, any letter case, with the index of its category (-1 for a
  // function); the keys are views into the text.
  std::unordered_map<QStringView, int, KeyEndsHash, KeyEqual> keys;
  keys.reserve(1024);
  int current = -1;  // index of the current category, -1 before the first one
  const auto skip = [&data](qsizetype index, const QString& reason) {
    data.problems.push_back({int(index + 1), reason});
  };

  // Line by line, each ended by CR LF, LF or a lone CR; a line end closes the line before it,
  // it does not start an empty last line. The next CR and the next LF are each looked for
  // again only once the lines have passed the one found, so the text is searched once for
  // each, whichever line ends it uses.
  const QStringView all(text);
  const qsizetype size = all.size();
  qsizetype nextCr = -1, nextLf = -1;  // positions at or after pos, or size for none
  const auto next = [&all, size](char16_t c, qsizetype from) {
    const qsizetype at = all.indexOf(QChar(c), from);
    return at < 0 ? size : at;
  };
  qsizetype pos = 0;
  for (qsizetype i = 0; pos < size; ++i) {
    if (nextCr < pos) nextCr = next(u'\r', pos);
    if (nextLf < pos) nextLf = next(u'\n', pos);
    const qsizetype end = std::min(nextCr, nextLf);
    const QStringView line = all.sliced(pos, end - pos);
    pos = end + (end == nextCr && nextLf == end + 1 ? 2 : 1);
    if (i == 0) continue;  // the header, whatever it holds
    if (line.size() == 3 && line.compare(u"EOF", Qt::CaseInsensitive) == 0) break;
    if (line.trimmed().isEmpty()) {
      skip(i, QStringLiteral("blank line"));
      continue;
    }
    if (line.startsWith(u'.')) {
      const QStringView name = line.sliced(1);
      if (name.isEmpty()) {
        skip(i, QStringLiteral("category line without a name"));
        continue;
      }
      const auto [found, fresh] = keys.try_emplace(name, int(data.categories.size()));
      if (!fresh) {
        if (found->second >= 0) current = found->second;
        skip(i, QStringLiteral("category \"%1\" appears twice").arg(name));
        continue;
      }
      current = found->second;
      data.categories.push_back({name.toString(), {}});
      continue;
    }
    const qsizetype paren = line.indexOf(u'(');
    if (paren < 0) {
      skip(i, QStringLiteral("function line without \"(\""));
      continue;
    }
    const QStringView name = line.first(paren);
    if (current < 0) {
      skip(i, QStringLiteral("function \"%1\" comes before the first category").arg(name));
      continue;
    }
    if (!keys.try_emplace(line, -1).second) {
      skip(i, QStringLiteral("function line \"%1\" appears twice").arg(name));
      continue;
    }
    const QString whole = line.toString();
    data.categories[size_t(current)].functions.push_back({whole, name.toString(), whole});
  }
  return data;
}

CogRefData LoadCogRefFile(const QString& path, bool* exists) {
  const bool found = QFileInfo(path).isFile();
  if (exists) *exists = found;
  if (!found) return {};
  QByteArray bytes;
  QString error;
  if (!tarvex::ReadWholeFile(path, &bytes, &error)) {
    CogRefData data;
    data.problems.push_back({0, QStringLiteral("the file could not be read (%1)").arg(error)});
    return data;
  }
  return ParseCogRef(tarvex::DecodeAnsi(bytes));
}

QString FormatCogRefProblems(const std::vector<CogRefProblem>& problems) {
  QStringList parts;
  int skipped = 0;
  for (const CogRefProblem& p : problems) {
    if (p.line <= 0)
      parts << QStringLiteral("cogref.dat: %1.").arg(p.reason);
    else
      ++skipped;
  }
  if (skipped > 0) {
    parts << (skipped == 1 ? QStringLiteral("1 line of cogref.dat was skipped:")
                           : QStringLiteral("%1 lines of cogref.dat were skipped:").arg(skipped));
    int named = 0;
    for (const CogRefProblem& p : problems) {
      if (p.line <= 0) continue;
      if (named == kNamedProblems) break;
      parts << QStringLiteral("Line %1: %2").arg(p.line).arg(p.reason);
      ++named;
    }
    if (skipped > named) parts << QStringLiteral("... and %1 more.").arg(skipped - named);
  }
  return parts.join(QLatin1Char('\n'));
}

QString SignatureOf(const QString& tag) {
  const qsizetype bar = tag.indexOf(QLatin1Char('|'));
  return bar < 0 ? tag : tag.left(bar);
}

QString DescriptionOf(const QString& tag) {
  const qsizetype p = tarvex::InStrExact(tag, QStringLiteral("|"));  // 1-based, 0 when absent
  if (p == 0) return tag;
  return tarvex::WithoutFirst(tag, p);
}

}  // namespace scrivane
