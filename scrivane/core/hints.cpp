#include "scrivane/core/hints.h"

#include <algorithm>

#include "common/text.h"
#include "scrivane/core/cogref.h"
#include "scrivane/core/shell.h"

namespace scrivane {

namespace {

bool IsDelimiter(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool IsInsertKey(int k) { return k == 9 || k == 32 || k == 13; }

// The character before pos (pos > 0): a line feed at a line's start, the CR of a CR LF when pos
// stands between the two.
QChar CharBefore(const LineSource& lines, qsizetype pos) {
  const int n = lines.LineAt(pos);
  const qsizetype col = pos - lines.LineStart(n);
  if (col == 0) return QLatin1Char('\n');
  const QString line = lines.LineText(n);
  return col > line.size() ? QLatin1Char('\r') : line[col - 1];
}

QString TrimBlanks(QStringView s) {
  qsizetype b = 0, e = s.size();
  while (b < e && s[b] == QLatin1Char(' ')) ++b;
  while (e > b && s[e - 1] == QLatin1Char(' ')) --e;
  return s.mid(b, e - b).toString();
}

HintAnswer Unchanged(const HintInput& in) {
  HintAnswer a;
  a.panels = in.panels;
  return a;
}

}  // namespace

void FunctionHelpIndex::Add(const QString& name, const QString& tag) {
  if (!IsCategoryTag(tag)) pending_.emplace_back(name, tag);
}

const QString* FunctionHelpIndex::Find(const QString& name) const {
  for (const auto& [added, tag] : pending_) {
    const QString key = tarvex::FoldCase(added);
    if (!tags_.contains(key)) tags_.insert(key, tag);
  }
  pending_.clear();
  const auto it = tags_.constFind(tarvex::FoldCase(name));
  return it == tags_.constEnd() ? nullptr : &it.value();
}

WordBack SelectWordBack(const LineSource& lines, qsizetype caret) {
  WordBack r;
  caret = std::clamp<qsizetype>(caret, 0, lines.Length());
  r.start = caret;
  if (caret == 0) return r;
  const int n = lines.LineAt(caret);
  const qsizetype start = lines.LineStart(n);
  const QString line = lines.LineText(n);
  const qsizetype col = caret - start;
  if (col == 0 || col > line.size()) {  // a line feed or CR stands before the caret
    r.start = caret - 1;
    r.length = 1;
    r.text = CharBefore(lines, caret);
    return r;
  }
  qsizetype i = col - 1;
  while (i >= 0 && !IsDelimiter(line[i])) --i;
  if (i == col - 1) {
    r.start = caret - 1;
    r.length = 1;
  } else if (i > 0 || (i == 0 && n > 0)) {
    r.start = start + i + 1;
    r.length = col - i - 1;
  } else {
    // Back to the line's start: without the line feed in front of it, or from the text's
    // first character on the first line.
    r.start = start;
    r.length = col;
  }
  r.text = line.mid(r.start - start, r.length);
  return r;
}

TypedWord TypedWordAt(const LineSource& lines, qint32 lSpace) {
  TypedWord t;
  const qsizetype from = std::clamp<qsizetype>(qsizetype(lSpace) - 1, 0, lines.Length());
  const int n = lines.LineAt(from);
  const qsizetype start = lines.LineStart(n);
  const QString line = lines.LineText(n);
  const qsizetype col = std::min(from - start, line.size());
  qsizetype end = line.indexOf(QLatin1Char('\r'), col);
  if (end < 0) end = line.size();
  t.word = TrimBlanks(QStringView(line).mid(col, end - col));
  t.replaceEnd = start + end;
  t.replaceStart = std::min(from + 1, t.replaceEnd);
  return t;
}

int FirstItemStartingWith(const QStringList& items, const QString& prefix) {
  for (int i = 0; i < items.size(); ++i)
    if (items[i].startsWith(prefix, Qt::CaseInsensitive)) return i;
  return -1;
}

HintAnswer InsertParam(const HintInput& in, bool matchTyped) {
  HintAnswer a = Unchanged(in);
  const TypedWord t = TypedWordAt(in.lines, in.panels.lSpace);
  const int match = FirstItemStartingWith(in.messages, t.word);
  if (!t.word.isEmpty() && match >= 0) {
    const int current = matchTyped ? match : in.panels.listCurrent;
    if (current >= 0 && current < in.messages.size()) {
      a.edit = true;
      a.editStart = t.replaceStart;
      a.editLength = t.replaceEnd - t.replaceStart;
      a.editText = in.messages[current];
    }
    a.scrollTo = 0;
    a.panels.listCurrent = -1;
  }
  a.panels.listUp = false;
  return a;
}

HintAnswer FindParam(const HintInput& in, int keyascii) {
  HintAnswer a = Unchanged(in);
  const QString w = TypedWordAt(in.lines, in.panels.lSpace).word + QChar(char16_t(keyascii));
  const int match = FirstItemStartingWith(in.messages, w);
  a.panels.listCurrent = match;
  a.scrollTo = match;
  return a;
}

HintAnswer TextKeyDown(const HintInput& in, int keyCode) {
  HintAnswer a = Unchanged(in);
  HintPanels& s = a.panels;
  if ((keyCode == kKeyUp || keyCode == kKeyDown) && s.listUp) {
    a.focusList = true;
    a.swallowKey = true;
    return a;
  }
  if (keyCode != kKeyBack) return a;
  if (s.listUp) {
    s.listUp = false;
    return a;
  }
  const qsizetype p = std::min(in.selStart, in.lines.Length());
  if (in.selLength > 0 || p <= 0) return a;
  // A line break before the caret goes as one unit, with no hint involved.
  const QChar ch = CharBefore(in.lines, p);
  if (ch == QLatin1Char('\n') || ch == QLatin1Char('\r')) return a;
  if (s.intParens == 0 && ch == QLatin1Char('(')) s.helpUp = false;
  if (ch == QLatin1Char('(') && s.helpUp) --s.intParens;
  if (ch == QLatin1Char(')') && s.helpUp) ++s.intParens;
  // The strip comes back with the text it last had; one that never had any stays hidden.
  if (s.intParens == 0 && ch == QLatin1Char(')') && s.hasHelp) s.helpUp = true;
  return a;
}

HintAnswer TextKeyPress(const HintInput& in, int keyascii) {
  if (in.panels.listUp) return IsInsertKey(keyascii) ? InsertParam(in, true) : FindParam(in, keyascii);
  HintAnswer a = Unchanged(in);
  HintPanels& s = a.panels;
  const qsizetype c = std::min(in.selStart, in.lines.Length());
  if (keyascii == 32) {
    if (in.lsym != 0 && in.lsymend != 0 && c > in.lsym && c < in.lsymend) {
      a.moveCaret = true;
      a.caret = c;
      if (SelectWordBack(in.lines, c).text.contains(QLatin1String("message"), Qt::CaseInsensitive)) {
        s.lSpace = qint32(c + 1);
        s.listUp = true;
        a.showPopup = true;
      }
    }
    return a;
  }
  if (keyascii == '(') {
    if (s.helpUp) {
      ++s.intParens;
      return a;
    }
    a.moveCaret = true;
    a.caret = c;
    const QString* tag = in.functions ? in.functions->Find(SelectWordBack(in.lines, c).text) : nullptr;
    if (tag) {
      a.newHelp = true;
      a.helpText = SignatureOf(*tag);
      a.description = DescriptionOf(*tag);
      s.helpUp = s.hasHelp = true;
    }
    return a;
  }
  if (keyascii == ')') {
    if (s.intParens == 0) s.helpUp = false;
    else if (s.helpUp) --s.intParens;
  }
  return a;
}

HintAnswer ListKeyPress(const HintInput& in, int keyascii) {
  if (!in.panels.listUp) return Unchanged(in);
  return IsInsertKey(keyascii) ? InsertParam(in, true) : FindParam(in, keyascii);
}

HintAnswer ListDblClick(const HintInput& in) { return InsertParam(in, false); }

QRect PopupRect(const QRect& charBefore, bool charBeforeUsable, const QRect& caret, int lineHeight, double dpiY,
                const QRect& area, const QSize& panel) {
  const QRect& at = charBeforeUsable ? charBefore : caret;
  // Sideways inside the area as far as the panel fits; a wider panel keeps its left edge.
  const int x = std::max(area.left(), std::min(at.left() - 1, area.left() + area.width() - panel.width()));
  // The line being typed, top and bottom (exclusive), whichever of the two rectangles it is known by.
  const int lineTop = std::min(at.top(), caret.top());
  const int lineBottom = std::max(at.top() + lineHeight, caret.top() + caret.height());
  const int below = std::max(at.top() + lineHeight - 1 + TwipsToPixels(100, dpiY), lineBottom);
  const int areaBottom = area.top() + area.height();
  const int roomBelow = areaBottom - below, roomAbove = lineTop - area.top();
  if (panel.height() <= roomBelow) return {x, below, panel.width(), panel.height()};
  if (panel.height() <= roomAbove) return {x, lineTop - panel.height(), panel.width(), panel.height()};
  if (roomBelow >= roomAbove) return {x, below, panel.width(), std::max(roomBelow, lineHeight)};
  return {x, lineTop - roomAbove, panel.width(), roomAbove};
}

}  // namespace scrivane
