// The text operations on any text, caret, search position, word and replacement: every
// selection stays inside the text, Match Brace selects a balanced block, Find selects the
// first match from the search position, and Replace and Replace All end with exactly the
// result of the rule carried out one match at a time.
// Input: one byte of flags, one of caret, one of search position, then the text, the word
// and the replacement, separated by zero bytes.
#include <QList>

#include "common/text.h"
#include "fuzz/fuzz_check.h"
#include "scrivane/core/textops.h"

using namespace scrivane;

// The replace rule, one match and one edit at a time: search from ipos; with the edge check
// the match needs an edge (anything but a letter, a digit or an underscore, or the start or
// end of the text) on both sides; the next search starts one character after the match, or
// after the inserted text when the replacement holds the word after its first character.
static void ReplaceStepwise(TextModel& m, FindState& f, bool bAll, bool edges) {
  const auto isEdge = [](QChar c) { return !c.isLetterOrNumber() && c != u'_'; };
  const bool skip = tarvex::InStr(f.sR, f.sW, 2) > 0;
  do {
    if (f.ipos < 1 || (f.ipos = tarvex::InStr(m.Text(), f.sW, f.ipos)) < 1) return;
    const qsizetype ms = f.ipos - 1, end = ms + f.sW.size();
    const bool left = edges && ms > 0, right = edges && end < m.Length();
    const bool replaced = (!left || isEdge(m.Text()[ms - 1])) && (!right || isEdge(m.Text()[end]));
    m.SetSelStart(ms - left);
    m.SetSelLength(f.sW.size() + left + right);
    if (replaced) m.ReplaceSel(m.SelText().left(left) + f.sR + m.SelText().right(right));
    f.ipos += (replaced && skip) ? f.sR.size() : 1;
  } while (bAll);
}

static void CheckInside(const TextModel& m) {
  FUZZ_CHECK(m.SelStart() >= 0 && m.SelLength() >= 0 && m.SelStart() + m.SelLength() <= m.Length());
}

void FuzzOne(const uint8_t* data, size_t size) {
  if (size < 3) return;
  const bool bAll = data[0] & 1, edges = data[0] & 2;
  const QList<QByteArray> parts = FuzzBytes(data + 3, size - 3).split('\0');
  const QString text = tarvex::DecodeAnsi(parts[0]);
  const qsizetype caret = data[1] % (text.size() + 1);
  FindState start{tarvex::DecodeAnsi(parts.value(1)), tarvex::DecodeAnsi(parts.value(2)),
                  qsizetype(data[2] % (text.size() + 3)) - 1};

  TextModel m(text, caret);
  MatchBrace(m);
  CheckInside(m);
  const QString block = m.SelText();
  FUZZ_CHECK(m.SelStart() == caret && (block.size() < 2 || (block.front() == u'{' && block.back() == u'}')));
  for (qsizetype i = 0, depth = 0; block.size() > 1 && i < block.size(); ++i) {
    depth += block[i] == u'{' ? 1 : block[i] == u'}' ? -1 : 0;
    FUZZ_CHECK((depth == 0) == (i == block.size() - 1));
  }

  FindState f = start, wantF = start;
  TextModel found(text, caret), got(text, caret, 1), want(text, caret, 1);
  const TextOpResult r = FindWord(found, f);
  CheckInside(found);
  FUZZ_CHECK(r.showNotFound == (f.ipos < 1) && r.disableFindNext == r.showNotFound);
  FUZZ_CHECK(f.ipos < 1 || (found.SelStart() >= start.ipos - 1 && f.ipos == found.SelStart() + 2 &&
                            tarvex::SameText(found.SelText(), f.sW)));

  f = start;
  const TextOpResult rr = Replace(got, f, bAll, edges);
  ReplaceStepwise(want, wantF, bAll, edges);
  FUZZ_CHECK(got.Text() == want.Text() && f.ipos == wantF.ipos);
  FUZZ_CHECK(got.SelStart() == want.SelStart() && got.SelLength() == want.SelLength());
  FUZZ_CHECK(rr.textChanged || got.Text() == text);
  CheckInside(got);
}
