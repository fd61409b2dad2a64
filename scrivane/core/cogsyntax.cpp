#include "scrivane/core/cogsyntax.h"

#include <algorithm>

#include "common/text.h"
#include "scrivane/core/shell.h"

namespace scrivane {

namespace {

bool IsWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }
bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool IsHexDigit(QChar c) {
  return IsDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

bool OneOf(QStringView word, std::initializer_list<const char16_t*> list) {
  for (const char16_t* w : list)
    if (word.compare(QStringView(w), Qt::CaseInsensitive) == 0) return true;
  return false;
}

bool IsFlowWord(QStringView w) {
  return OneOf(w, {u"if", u"else", u"while", u"do", u"for", u"return", u"call", u"stop"});
}

bool IsSymbolType(QStringView w) {
  static const QStringList types = SymbolTypeNames();
  for (const QString& t : types)
    if (w.compare(t, Qt::CaseInsensitive) == 0) return true;
  // The game reads "float" as "flex".
  return w.compare(u"float", Qt::CaseInsensitive) == 0;
}

int WordEnd(QStringView line, int i) {
  while (i < line.size() && IsWordChar(line[i])) ++i;
  return i;
}

// A sign belongs to the number after it when no operand stands before it ("x = -1", "f(1, -2)"
// but not "a-1" or "f(x)-1").
bool SignMayStart(QStringView line, int i) {
  int p = i - 1;
  while (p >= 0 && IsBlank(line[p])) --p;
  if (p < 0) return true;
  const QChar c = line[p];
  return !(IsWordChar(c) || c == QLatin1Char(')') || c == QLatin1Char(']') || c == QLatin1Char('"') ||
           c == QLatin1Char('.'));
}

// The end of the number that starts at i, or -1 when none starts there. A run of digits that
// runs on into letters ("00gen4", "3do") is a word, not a number.
int NumberEnd(QStringView line, int i) {
  const int n = int(line.size());
  int p = i;
  if ((line[p] == QLatin1Char('-') || line[p] == QLatin1Char('+')) && SignMayStart(line, p)) ++p;
  if (p >= n) return -1;
  const bool digitFirst = IsDigit(line[p]);
  if (!digitFirst && !(line[p] == QLatin1Char('.') && p + 1 < n && IsDigit(line[p + 1]))) return -1;
  if (digitFirst && line[p] == QLatin1Char('0') && p + 2 < n && (line[p + 1] == QLatin1Char('x') || line[p + 1] == QLatin1Char('X')) &&
      IsHexDigit(line[p + 2])) {
    p += 2;
    while (p < n && IsHexDigit(line[p])) ++p;
  } else {
    while (p < n && IsDigit(line[p])) ++p;
    if (p < n && line[p] == QLatin1Char('.')) {
      ++p;
      while (p < n && IsDigit(line[p])) ++p;
    }
  }
  if (p < n && IsWordChar(line[p])) return -1;
  return p;
}

// The word of a section line and the state it leads to, or the state unchanged.
CogState SectionChange(QStringView line, CogState s, bool* isSection) {
  *isSection = false;
  auto starts = [&](const char16_t* w) { return line.startsWith(QStringView(w), Qt::CaseInsensitive); };
  CogState next = s;
  if (s == CogState::BeforeSymbols && starts(u"symbols")) next = CogState::InSymbols;
  else if ((s == CogState::BeforeSymbols || s == CogState::InSymbols || s == CogState::InCode) && starts(u"code")) next = CogState::InCode;
  else if (s == CogState::InSymbols && starts(u"end")) next = CogState::InCode;
  else if (s == CogState::InCode && starts(u"end")) next = CogState::After;
  else return s;
  *isSection = true;
  return next;
}

}  // namespace

CogWords::CogWords(const QStringList& verbs) : verbs_(verbs) {
  // Hashed rather than sorted: the reference's verbs are put in at every start.
  set_.reserve(size_t(verbs_.size()));
  for (const QString& v : std::as_const(verbs_))
    if (!v.isEmpty()) set_.insert(v);
}

bool CogWords::IsVerb(QStringView word) const { return set_.count(word) != 0; }

CogState TokenizeCogLine(QStringView line, CogState before, const CogWords& words, std::vector<CogSpan>& spans) {
  spans.clear();
  if (int(before) < 0 || int(before) >= kCogStateCount) before = CogState::BeforeSymbols;
  const int n = int(line.size());
  auto add = [&](int start, int end, CogSpanKind k) { spans.push_back(CogSpan{start, end - start, k}); };

  bool isSection = false;
  // The first line may open the symbols section too: a script may start right with it.
  const CogState after = SectionChange(line, before == CogState::TextStart ? CogState::BeforeSymbols : before, &isSection);
  // The section word may itself be the line's last word: the rest is coloured as usual.
  int i = 0;
  if (isSection) {
    i = WordEnd(line, 0);
    add(0, i, CogSpanKind::Section);
  }
  const bool inSymbols = !isSection && before == CogState::InSymbols;
  // A fragment without sections (lines before any section line) is coloured as code.
  const bool inCode = !isSection && (before == CogState::InCode || before == CogState::BeforeSymbols ||
                                     before == CogState::TextStart);

  // The first word of a line: a type name in the symbols section, a label in the code section.
  int first = i;
  while (first < n && IsBlank(line[first])) ++first;
  if (!isSection && first < n && IsWordStart(line[first])) {
    const int end = WordEnd(line, first);
    const QStringView word = line.mid(first, end - first);
    if (inSymbols && IsSymbolType(word) && (end == n || !IsWordChar(line[end]))) {
      add(first, end, CogSpanKind::SymbolType);
      i = end;
    } else if (inCode) {
      int colon = end;
      while (colon < n && IsBlank(line[colon])) ++colon;
      if (colon < n && line[colon] == QLatin1Char(':')) {
        add(first, colon + 1, CogSpanKind::Label);
        i = colon + 1;
      }
    }
  }

  while (i < n) {
    const QChar c = line[i];
    if (c == QLatin1Char('#') || (c == QLatin1Char('/') && i + 1 < n && line[i + 1] == QLatin1Char('/'))) {
      add(i, n, CogSpanKind::Comment);
      break;
    }
    if (c == QLatin1Char('"')) {
      const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
      const int end = close < 0 ? n : int(close) + 1;
      add(i, end, CogSpanKind::String);
      i = end;
      continue;
    }
    if (IsWordStart(c)) {
      const int end = WordEnd(line, i);
      if (inCode) {
        const QStringView word = line.mid(i, end - i);
        if (IsFlowWord(word)) add(i, end, CogSpanKind::Flow);
        else if (words.IsVerb(word)) add(i, end, CogSpanKind::Verb);
      }
      i = end;
      continue;
    }
    if (IsDigit(c) || c == QLatin1Char('.') || c == QLatin1Char('-') || c == QLatin1Char('+')) {
      const int end = NumberEnd(line, i);
      if (end > i) {
        add(i, end, CogSpanKind::Number);
        i = end;
        continue;
      }
      if (IsDigit(c)) {  // digits running into letters: skip the whole word
        i = WordEnd(line, i);
        continue;
      }
    }
    ++i;
  }
  return after;
}

CogState CogStateAfter(QStringView line, CogState before) {
  if (int(before) < 0 || int(before) >= kCogStateCount) before = CogState::BeforeSymbols;
  if (before == CogState::TextStart) before = CogState::BeforeSymbols;  // the first line may open the symbols
  bool isSection = false;
  return SectionChange(line, before, &isSection);
}

CogState CogSections::BeforeIn(const std::vector<Change>& changes, int line) {
  if (line <= 0) return CogState::TextStart;
  const auto it = std::lower_bound(changes.begin(), changes.end(), line, [](const Change& c, int l) { return c.line < l; });
  return it == changes.begin() ? CogState::BeforeSymbols : std::prev(it)->after;
}

CogState CogSections::Before(int line) const { return BeforeIn(changes_, line); }

bool CogSections::Changed(int first, int last, int delta, int lineCount, const LineReader& read) {
  first = std::max(first, 0);
  last = std::min(last, lineCount - 1);
  const std::vector<Change> old = std::move(changes_);
  changes_.clear();
  for (const Change& c : old)
    if (c.line < first) changes_.push_back(c);
  CogState state = BeforeIn(changes_, first);
  auto step = [&](int line) {
    const CogState after = CogStateAfter(read(line), state);
    if (after != state && (line > 0 || after != CogState::BeforeSymbols)) changes_.push_back(Change{line, after});
    state = after;
  };
  for (int line = first; line <= last && state != CogState::After; ++line) step(line);
  // Below the edit the lines are those of before, moved by delta: once the state agrees with
  // the one before the edit at the same line, the old section lines hold from there on.
  const bool kept = last + 1 >= lineCount || state == BeforeIn(old, last + 1 - delta);
  for (int line = last + 1; line < lineCount && state != CogState::After; ++line) {
    const int was = line - delta;
    if (state == BeforeIn(old, was)) {
      for (const Change& c : old)
        if (c.line >= was) changes_.push_back(Change{c.line + delta, c.after});
      return kept;
    }
    step(line);
  }
  return kept;
}

}  // namespace scrivane
