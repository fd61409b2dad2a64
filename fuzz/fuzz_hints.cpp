// The hint decisions on random texts, carets and keys: every position they answer lies
// inside the text, the typed word never runs past its line, and the section marks kept edit
// by edit agree with a scan of the whole text.
#include "fuzz/fuzz_check.h"
#include "scrivane/core/hints.h"

using namespace scrivane;

void FuzzOne(const uint8_t* data, size_t size) {
  static const char* const pieces[] = {"message", "symbols", "end", "Sleep", " ", "\t", "\r\n", "\n", "\r", "(", ")", "x", "act"};
  static const int keys[] = {' ', '(', ')', '\t', '\r', 27, 'a', 'c', 't'};
  const QStringList messages{"activate", "activated", "startup"};
  FunctionHelpIndex functions;
  functions.Add(QStringLiteral("Sleep"), QStringLiteral("Sleep(flex seconds)|Pauses."));
  QString text;
  size_t i = 0;
  for (; i < size && data[i] != 0xff && text.size() < 4000; ++i) text += QLatin1String(pieces[data[i] % 13]);
  qsizetype caret = 0, sel = 0;  // no selection: the decisions only see its length
  HintPanels panels;
  SectionTracker tracker;
  tracker.Reset(TextLines(text));
  // A few hundred keys at most: each one is checked against the whole text.
  for (++i; i + 1 < size && i < 1000; i += 2) {
    const TextLines lines(text);
    const SectionMarks marks = tracker.Marks(lines), scanned = ScanSectionMarks(text);
    FUZZ_CHECK(marks.lsym == scanned.lsym && marks.lsymend == scanned.lsymend);
    const HintInput in{lines, caret, sel, qint32(marks.lsym), qint32(marks.lsymend), panels, messages, &functions};
    const int k = keys[data[i + 1] % 9];
    HintAnswer a;
    switch (data[i] % 6) {
      case 0: a = TextKeyDown(in, kKeyBack); break;
      case 1: a = TextKeyDown(in, kKeyDown); break;
      case 2: a = ListKeyPress(in, k); break;
      case 3: a = ListDblClick(in); break;
      case 4: caret = data[i + 1] % (text.size() + 1), sel = 0; continue;
      default: a = TextKeyPress(in, k); break;
    }
    const TypedWord t = TypedWordAt(lines, panels.lSpace);
    FUZZ_CHECK(!t.word.contains(QLatin1Char('\r')) && !t.word.contains(QLatin1Char('\n')));
    FUZZ_CHECK(t.replaceStart >= 0 && t.replaceStart <= t.replaceEnd && t.replaceEnd <= text.size());
    const WordBack w = SelectWordBack(lines, caret);
    FUZZ_CHECK(w.start >= 0 && w.length >= 0 && w.start + w.length <= caret);
    FUZZ_CHECK(!a.edit || (a.editStart >= 0 && a.editLength >= 0 && a.editStart + a.editLength <= text.size()));
    FUZZ_CHECK(!a.moveCaret || (a.caret >= 0 && a.caret <= text.size()));
    panels = a.panels;
    // Apply the answer, then type the key as the text box would.
    qsizetype at = a.edit ? a.editStart : caret, removed = a.edit ? a.editLength : a.moveCaret ? 0 : sel;
    const QString put = (a.edit ? a.editText : QString()) + (data[i] % 6 == 5 ? QString(QChar(k)) : QString());
    if (at > 0 && at < text.size() && text[at - 1] == QLatin1Char('\r') && text[at] == QLatin1Char('\n')) --at;
    text.replace(at, removed, put);
    caret = at + put.size();
    const TextLines after(text);
    tracker.Changed(after, after.LineAt(at), after.LineAt(caret));
  }
}
