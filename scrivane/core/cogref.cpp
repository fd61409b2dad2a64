#include "scrivane/core/cogref.h"

#include <QFileInfo>
#include <QHash>
#include <QStringList>

#include "common/ansicodec.h"
#include "common/files.h"
#include "common/text.h"
#include "scrivane/core/lineends.h"

namespace scrivane {

namespace {

constexpr int kNamedProblems = 5;  // how many skipped lines the start-up message names

}  // namespace

QString CogRefCategoryTag() { return QStringLiteral("parent"); }

bool IsCategoryTag(const QString& tag) { return tarvex::SameText(tag, CogRefCategoryTag()); }

CogRefData ParseCogRef(const QString& text) {
  CogRefData data;
  QStringList lines = NormalizeLineEnds(text).text.split(QStringLiteral("\r\n"));
  // A line end closes the line before it; it does not start an empty last line.
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();

  // Every key used so far, case-folded, with the index of its category (-1 for a function).
  QHash<QString, int> keys;
  int current = -1;  // index of the current category, -1 before the first one
  const auto skip = [&data](qsizetype index, const QString& reason) {
    data.problems.push_back({int(index + 1), reason});
  };

  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QString& line = lines[i];
    if (tarvex::SameText(line, QStringLiteral("EOF"))) break;
    if (line.trimmed().isEmpty()) {
      skip(i, QStringLiteral("blank line"));
      continue;
    }
    if (line.startsWith(QLatin1Char('.'))) {
      const QString name = line.mid(1);
      if (name.isEmpty()) {
        skip(i, QStringLiteral("category line without a name"));
        continue;
      }
      const QString key = tarvex::FoldCase(name);
      const auto found = keys.constFind(key);
      if (found != keys.constEnd()) {
        if (found.value() >= 0) current = found.value();
        skip(i, QStringLiteral("category \"%1\" appears twice").arg(name));
        continue;
      }
      current = int(data.categories.size());
      keys.insert(key, current);
      data.categories.push_back({name, {}});
      continue;
    }
    const qsizetype paren = line.indexOf(QLatin1Char('('));
    if (paren < 0) {
      skip(i, QStringLiteral("function line without \"(\""));
      continue;
    }
    const QString name = line.left(paren);
    if (current < 0) {
      skip(i, QStringLiteral("function \"%1\" comes before the first category").arg(name));
      continue;
    }
    const QString key = tarvex::FoldCase(line);
    if (keys.contains(key)) {
      skip(i, QStringLiteral("function line \"%1\" appears twice").arg(name));
      continue;
    }
    keys.insert(key, -1);
    data.categories[size_t(current)].functions.push_back({line, name, line});
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
