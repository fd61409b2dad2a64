#include "scrivane/core/coglang.h"

#include "common/prefs.h"
#include "common/text.h"

#include <QHash>
#include <algorithm>
#include <numeric>

namespace scrivane {
namespace {

constexpr auto kReturns = CogVerb::kReturns;
constexpr auto kNoValue = CogVerb::kNoValue;
constexpr auto kMayReturn = CogVerb::kMayReturn;
struct VerbRow {
  const char* name;
  int args, altArgs;
  CogVerb::Result result;
  int games;
};
struct MessageRow {
  const char* name;
  int games;
};
#include "scrivane/core/cogfacts_table.inc"

// A character lowered as QChar::toLower does, plain ASCII without the library's call (the
// verbs are put in order at their first use, early in the start).
char16_t Lowered(QChar c) {
  const char16_t u = c.unicode();
  if (u < 128) return tarvex::AsciiLower(u);
  return c.toLower().unicode();
}

// Two names compared as lower-case text, each character lowered on its own (the table's
// names are plain ASCII); <0, 0 or >0.
int CompareLowered(QStringView a, QStringView b) {
  const qsizetype n = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t x = Lowered(a[i]), y = Lowered(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// Built when first asked for, each table on its own: a new document's check needs the
// messages long before anything needs the verbs.
struct Verbs {
  std::vector<CogVerb> rows;  // in the table's order
  std::vector<int> byName;    // the rows in the order of their lower-case names
  Verbs() {
    rows.reserve(std::size(kVerbRows));
    for (const VerbRow& r : kVerbRows) rows.push_back({QString::fromLatin1(r.name), r.args, r.altArgs, r.result, r.games});
    byName.resize(rows.size());
    std::iota(byName.begin(), byName.end(), 0);
    // The table is written in that order already; it is sorted here only if it ever is not.
    const auto less = [this](int a, int b) { return CompareLowered(rows[size_t(a)].name, rows[size_t(b)].name) < 0; };
    if (!std::is_sorted(byName.begin(), byName.end(), less)) std::stable_sort(byName.begin(), byName.end(), less);
  }
  // The row whose name is `name` in any letter case, nullptr when there is none.
  const CogVerb* Find(QStringView name) const {
    const auto it = std::lower_bound(byName.begin(), byName.end(), name,
                                     [this](int i, QStringView k) { return CompareLowered(rows[size_t(i)].name, k) < 0; });
    return it != byName.end() && CompareLowered(rows[size_t(*it)].name, name) == 0 ? &rows[size_t(*it)] : nullptr;
  }
};

struct Messages {
  std::vector<CogMessage> rows;
  QHash<QString, int> byKey;
  Messages() {
    for (const MessageRow& r : kMessageRows) {
      byKey.insert(QString::fromLatin1(r.name).toLower(), int(rows.size()));
      rows.push_back({QString::fromLatin1(r.name), r.games});
    }
  }
};

const Verbs& TheVerbs() {
  static const Verbs t;
  return t;
}

const Messages& TheMessages() {
  static const Messages t;
  return t;
}

template <typename T>
const T* Find(const QHash<QString, int>& index, const std::vector<T>& rows, QStringView name) {
  const auto it = index.constFind(name.toString().toLower());
  return it == index.cend() ? nullptr : &rows[size_t(*it)];
}

}  // namespace

QString CogGameKey(CogGame game) {
  switch (game) {
    case CogGame::JK: return QStringLiteral("jk");
    case CogGame::MotS: return QStringLiteral("mots");
    default: return QStringLiteral("both");
  }
}

bool ParseCogGame(QStringView text, CogGame* game) {
  for (CogGame g : {CogGame::JK, CogGame::MotS, CogGame::Both}) {
    if (text.compare(CogGameKey(g), Qt::CaseInsensitive) == 0) {
      *game = g;
      return true;
    }
  }
  return false;
}

QString CogGameTitle(CogGame game) {
  switch (game) {
    case CogGame::JK: return QStringLiteral("JK");
    case CogGame::MotS: return QStringLiteral("MotS");
    default: return QStringLiteral("JK and MotS");
  }
}

CogGame CogGameSetting() {
  CogGame g = CogGame::Both;
  return ParseCogGame(tarvex::prefs::CheckGame.Get(), &g) ? g : CogGame::Both;
}

const std::vector<CogVerb>& CogVerbs() { return TheVerbs().rows; }
const std::vector<CogMessage>& CogMessages() { return TheMessages().rows; }
const CogVerb* FindCogVerb(QStringView name) { return TheVerbs().Find(name); }
const CogMessage* FindCogMessage(QStringView name) { return Find(TheMessages().byKey, TheMessages().rows, name); }

bool IsCogGlobalVariable(QStringView name) {
  return name.size() == 7 && name.first(6).compare(u"global", Qt::CaseInsensitive) == 0 && name[6] >= u'0' &&
         name[6] <= u'9';
}

int CogEditDistance(QStringView a, QStringView b, int limit) {
  const qsizetype n = a.size(), m = b.size();
  if (std::abs(n - m) > limit) return limit + 1;
  // Three rows of the classic table (the one before last is needed for swaps).
  std::vector<int> prev2(size_t(m + 1)), prev(size_t(m + 1)), cur(size_t(m + 1));
  for (qsizetype j = 0; j <= m; ++j) prev[size_t(j)] = int(j);
  for (qsizetype i = 1; i <= n; ++i) {
    cur[0] = int(i);
    int rowBest = cur[0];
    const QChar ca = a[i - 1].toLower();
    for (qsizetype j = 1; j <= m; ++j) {
      const QChar cb = b[j - 1].toLower();
      int d = std::min({prev[size_t(j)] + 1, cur[size_t(j - 1)] + 1, prev[size_t(j - 1)] + (ca == cb ? 0 : 1)});
      if (i > 1 && j > 1 && ca == b[j - 2].toLower() && a[i - 2].toLower() == cb) d = std::min(d, prev2[size_t(j - 2)] + 1);
      cur[size_t(j)] = d;
      rowBest = std::min(rowBest, d);
    }
    if (rowBest > limit) return limit + 1;
    std::swap(prev2, prev);
    std::swap(prev, cur);
  }
  return prev[size_t(m)] > limit ? limit + 1 : prev[size_t(m)];
}

}  // namespace scrivane
