#include "scrivane/core/cogref.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <vector>

#include "common/ansicodec.h"
#include "common/files.h"
#include "common/text.h"
#include "scrivane/core/bramwise.h"

namespace scrivane {

namespace {

constexpr int kNamedProblems = 5;  // how many skipped lines the start-up message names

// Every key used so far, any letter case (KeyEqual), each with a number: views into the text
// in an open table, so that adding a key allocates nothing. The hash is of the key's length
// and of its first and last characters only, since a reference line is long and its start
// (the function's name) tells most apart.
class KeyTable {
 public:
  explicit KeyTable(qsizetype expected) {
    size_t n = 64;
    while (n < size_t(expected) * 2) n *= 2;
    slots_.resize(n);
  }
  // The number kept for the key, after adding the key with `number` unless an equal key is
  // there; and whether it was added.
  std::pair<int, bool> Add(QStringView key, int number) {
    if (used_ * 2 >= slots_.size()) Grow();
    const size_t hash = Hash(key);
    Slot* slot = Find(key, hash);
    if (slot->used) return {slot->number, false};
    *slot = {key, hash, number, true};
    ++used_;
    return {number, true};
  }

 private:
  struct Slot {
    QStringView key;
    size_t hash = 0;
    int number = 0;
    bool used = false;
  };
  static size_t Hash(QStringView v) {
    constexpr qsizetype kEnds = 12;
    const KeyHash whole;
    if (v.size() <= 2 * kEnds) return whole(v);
    return whole(v.first(kEnds)) * 1000003u ^ whole(v.last(kEnds)) ^ size_t(v.size());
  }
  Slot* Find(QStringView key, size_t hash) {
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& s = slots_[i];
      if (!s.used || (s.hash == hash && KeyEqual()(s.key, key))) return &s;
    }
  }
  void Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& s : old)
      if (s.used) *Find(s.key, s.hash) = s;
  }
  std::vector<Slot> slots_;
  size_t used_ = 0;
};

}  // namespace

QString CogRefCategoryTag() { return QStringLiteral("parent"); }

bool IsCategoryTag(const QString& tag) { return tarvex::SameText(tag, CogRefCategoryTag()); }

CogRefData ParseCogRef(const QString& text) {
  CogRefData data;
  // Every key used so far with the index of its category (-1 for a function). About one line
  // in a hundred characters.
  KeyTable keys(text.size() / 100 + 16);
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
      const auto [number, fresh] = keys.Add(name, int(data.categories.size()));
      if (!fresh) {
        if (number >= 0) current = number;
        skip(i, QStringLiteral("category \"%1\" appears twice").arg(name));
        continue;
      }
      current = number;
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
    if (!keys.Add(line, -1).second) {
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
