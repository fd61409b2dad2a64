// The text box (CR LF counted as two) and its colouring.
#include <QSignalSpy>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <atomic>
#include <cstdlib>
#include <new>

#include "scrivane/gui/coghighlighter.h"
#include "scrivane/gui/linegutter.h"
#include "scrivane/gui/textbox.h"
#include "tests/support/test_env.h"

using namespace scrivane;

// The program's allocations, counted so that a step can tell work done for every line of the
// document from work done for a key.
static std::atomic<long> allocations{0};
void* operator new(std::size_t n) {
  ++allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return ++allocations, std::malloc(n ? n : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

TEST(TextBox, PositionsCountCrLfAsTwoAndSpecialCharactersSurvive) {
  TextBox box;
  box.SetText(QStringLiteral("ab\r\ncd\r\n\r\ne"));
  EXPECT_EQ(box.TextLength(), 11);
  struct { qsizetype model; int widget; qsizetype back; } cases[] = {
      {0, 0, 0}, {2, 2, 2}, {3, 2, 2} /* between CR and LF: the line end */, {4, 3, 4}, {6, 5, 6},
      {8, 6, 8} /* the empty line */, {10, 7, 10}, {11, 8, 11}, {99, 8, 11}, {-5, 0, 0}};
  for (auto c : cases) {
    EXPECT_EQ(box.ToWidget(c.model), c.widget) << c.model;
    EXPECT_EQ(box.ToModel(box.ToWidget(c.model)), c.back) << c.model;
  }
  box.SetSelStart(4);
  box.SetSelLength(6);
  EXPECT_EQ(box.SelText(), QStringLiteral("cd\r\n\r\n"));

  box.SetText(QStringLiteral("a\u00A0b\tc\u0081"));  // non-breaking space, tab, C1 control
  box.SetSelStart(1);
  box.SetSelLength(1);
  box.ReplaceSel(QStringLiteral("X\r\nY"));
  EXPECT_EQ(box.Text(), QStringLiteral("aX\r\nYb\tc\u0081"));
  EXPECT_EQ(box.SelStart(), 5);
  box.undo();
  QTest::keyClick(&box, Qt::Key_Y, Qt::ControlModifier);  // Ctrl+Y redoes
  EXPECT_EQ(box.Text(), QStringLiteral("aX\r\nYb\tc\u0081"));
}

// Apply is one edit with one change event and one undo step, the same with the colouring on:
// a colouring pass of its own would show as a change once the event loop turned.
TEST(TextBox, ApplyIsOneEditWithOneChangeEventAndOneUndoStep) {
  // Without edits the model takes `after` as one range; with them, each edit is made on the
  // model in turn (a split, a join, a change on the joined line, then one back at the start).
  struct Edit { int start, length; const char* text; };
  struct { const char* before; const char* after; std::vector<Edit> edits = {}; } cases[] = {
      {"symbols\r\nthing x\r\nend\r\n", "SYMBOLS\r\nthing player\r\nint y\r\nend\r\n"},
      {"a\r\nb", "a\r\n\r\nb"}, {"a\r\n\r\nb", "a\r\nb"}, {"a\r\nb", "ab"}, {"ab", "a\r\nb"},
      {"", "x\r\n"}, {"x\r\n", ""}, {"same", "same"},
      {"ab\r\ncd\r\nef\r\ngh", "AX\r\nYb\r\nceF\r\ngh", {{1, 0, "X\r\nY"}, {9, 3, ""}, {10, 1, "F"}, {0, 1, "A"}}}};
  for (const bool coloured : {false, true}) for (const auto& c : cases) {
    TextBox box;
    if (coloured) new CogHighlighter(&box, std::make_shared<const CogWords>(), box.palette());
    box.SetText(QString::fromLatin1(c.before));
    TextModel m = box.Model();
    if (c.edits.empty()) m.SetText(QString::fromLatin1(c.after));
    for (const Edit& e : c.edits) m.SetSelStart(e.start), m.SetSelLength(e.length), m.ReplaceSel(QString::fromLatin1(e.text));
    const bool first = &c == &cases[0];
    if (first) m.SetSelStart(3), m.SetSelLength(4);
    QSignalSpy changes(&box, &QPlainTextEdit::textChanged);
    box.Apply(m);
    tarvex::test::ProcessEvents();
    EXPECT_EQ(box.Text(), QString::fromLatin1(c.after)) << c.before;
    EXPECT_EQ(changes.count(), QByteArray(c.before) == QByteArray(c.after) ? 0 : 1) << c.before;
    EXPECT_TRUE(!first || (box.SelStart() == 3 && box.SelLength() == 4)) << "selection";
    if (!box.document()->isUndoAvailable()) continue;
    box.undo();
    EXPECT_EQ(box.Text(), QString::fromLatin1(c.before));
    box.redo();
    EXPECT_EQ(box.Text(), QString::fromLatin1(c.after));
  }
}

// A long script is coloured as it is shown: wherever the box scrolls to, after loads and after
// edits that move a section line far above, every line on screen has the colours that colouring
// the whole text from the top gives it.
TEST(Colouring, EveryLineShownHasTheColoursOfTheWholeText) {
  const CogWords words({QStringLiteral("Sleep")});
  QStringList lines = {QStringLiteral("# big"), QStringLiteral("symbols"), QStringLiteral("thing t")};
  for (int i = 0; i < 3000; ++i) lines << QStringLiteral("int x%1 # %1").arg(i);
  lines << QStringLiteral("end") << QStringLiteral("code");
  for (int i = 0; i < 3000; ++i) lines << QStringLiteral("h%1: Sleep(0.5); return; // %1").arg(i);
  lines << QStringLiteral("end");
  TextBox box;
  box.resize(500, 300);
  new CogHighlighter(&box, std::make_shared<const CogWords>(words), box.palette());
  const std::vector<QTextCharFormat> formats = CogHighlighter::FormatsFor(box.palette());
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  box.SetText(lines.join(QStringLiteral("\r\n")));
  auto check = [&](const char* step) {
    box.viewport()->repaint();
    const int first = box.cursorForPosition(QPoint(0, 0)).blockNumber();
    const int last = box.cursorForPosition(QPoint(0, box.viewport()->height() - 1)).blockNumber();
    ASSERT_GT(last, first + 5) << step;
    CogState state = CogState::TextStart;
    std::vector<CogSpan> spans;
    for (int l = 0; l <= last; ++l) {
      const QString text = box.document()->findBlockByNumber(l).text();
      state = TokenizeCogLine(text, state, words, spans);
      if (l < first) continue;
      QList<QTextLayout::FormatRange> want;
      for (const CogSpan& s : spans) want.append({s.start, s.length, formats[size_t(s.kind)]});
      EXPECT_EQ(box.document()->findBlockByNumber(l).layout()->formats(), want) << step << ", line " << l;
    }
  };
  for (const qsizetype at : {qsizetype(0), box.TextLength() / 2, box.TextLength()}) {
    box.SetSelStart(at);
    check("scrolled");
  }
  box.SetSelStart(box.ToModel(box.document()->findBlockByNumber(1).position()));
  box.ReplaceSel(QStringLiteral("#"));  // no symbols section: its declarations go plain
  check("symbols line broken, at the edit");
  box.SetSelStart(box.TextLength() / 4);
  check("symbols line broken, far below");
  box.undo();
  check("undone");
  // Keys typed into a line narrower than the widest are coloured when the line is painted; a
  // line made the widest widens the scroll range, and taken back narrows it again.
  const int range = box.horizontalScrollBar()->maximum();
  box.SetSelStart(box.TextLength() / 2);
  box.ReplaceSel(QStringLiteral("Sleep(1); // "));
  check("typed");
  box.ReplaceSel(QString(200, QLatin1Char('w')));
  check("typed, the widest line");
  EXPECT_GT(box.horizontalScrollBar()->maximum(), range);
  box.undo();
  box.undo();
  check("typing undone");
  EXPECT_EQ(box.horizontalScrollBar()->maximum(), range);

  // Enter in the middle of the widest line, and undone, measure the lines they touch only, not
  // every line of the script (which gave each line a layout object): the scroll range is the
  // widest line's, narrower while it is split, as wide again when joined; a resize moves it by
  // the change of width, and the widest line taken out takes its width with it.
  box.SetText(lines.join(QStringLiteral("\r\n")));
  box.SetSelStart(box.ToModel(box.document()->findBlockByNumber(4).position()));
  box.ReplaceSel(QString(200, QLatin1Char('w')));
  check("the widest line near the top");
  const int wide = box.horizontalScrollBar()->maximum();
  box.SetSelStart(box.SelStart() - 100);
  const long before = allocations;
  QTest::keyClick(&box, Qt::Key_Return);
  check("the widest line split");
  EXPECT_LT(allocations - before, lines.size() / 3);
  EXPECT_LT(box.horizontalScrollBar()->maximum(), wide);
  EXPECT_GT(box.horizontalScrollBar()->maximum(), range);
  box.undo();
  check("split undone");
  EXPECT_EQ(box.horizontalScrollBar()->maximum(), wide);
  box.resize(box.width() + 100, box.height());
  EXPECT_EQ(box.horizontalScrollBar()->maximum(), wide - 100);
  box.SetSelStart(box.TextLength());
  box.ReplaceSel(QStringLiteral("\r\n") + QString(300, QLatin1Char('w')));
  check("the widest line at the end");
  EXPECT_GT(box.horizontalScrollBar()->maximum(), wide);
  box.SetSelStart(box.TextLength() - 302);
  box.SetSelLength(302);
  box.ReplaceSel(QString());
  check("the widest line taken out");
  EXPECT_EQ(box.horizontalScrollBar()->maximum(), wide - 100);
}

// The braces highlighted with the caret at `caret` (model position), as model positions.
static std::vector<qsizetype> HighlightedBraces(TextBox& box, qsizetype caret) {
  box.SetSelStart(caret);
  std::vector<qsizetype> at;
  const QList<QTextEdit::ExtraSelection> extras = box.extraSelections();
  for (qsizetype i = 1; i < extras.size(); ++i) at.push_back(box.ToModel(extras[i].cursor.selectionStart()));
  return at;
}

// The caret's model position; the braces highlighted (the caret's brace first), none when the
// brace has no partner. The partner is looked for within kBraceReach characters of the brace,
// line by line: one further away counts as none, so that a key typed next to a brace without a
// partner costs the same in a large script as in a small one.
TEST(TextBox, BraceNextToTheCaretAndItsPartnerAreHighlightedAcrossLines) {
  const QString line = QStringLiteral("    x = y; // 20 ch\r\n");  // 21 in the model, 20 in the widget
  const qsizetype near = kBraceReach / 20 - 2, far = kBraceReach / 20 + 2;
  const auto block = [&](qsizetype lines) { return QStringLiteral("{\r\n") + line.repeated(lines) + QStringLiteral("}"); };
  const struct { const char* name; QString text; qsizetype caret; std::vector<qsizetype> want; } cases[] = {
      {"after the caret", "x {a {b} c} y", 2, {2, 10}},
      {"before the caret", "x {a {b} c} y", 11, {10, 2}},
      {"after wins over before", "{}{}", 2, {2, 3}},
      {"nested, over CR LF lines", "a {\r\n  b {\r\n  }\r\n}\r\n", 2, {2, 17}},
      {"backward over CR LF lines", "a {\r\n  b {\r\n  }\r\n}\r\n", 18, {17, 2}},
      {"braces in comments count", "{ // }\r\n}", 0, {0, 5}},
      {"unmatched opening", "x {a {b} c", 2, {}},
      {"unmatched closing", "a}b", 2, {}},
      {"no brace", "abc", 1, {}},
      {"partner within reach", block(near), 0, {0, 3 + 21 * near}},
      {"partner within reach, backward", block(near), 4 + 21 * near, {3 + 21 * near, 0}},
      {"partner beyond reach", block(far), 0, {}},
      {"partner beyond reach, backward", block(far), 4 + 21 * far, {}},
  };
  TextBox box;
  for (const auto& c : cases) {
    box.SetText(c.text);
    EXPECT_EQ(HighlightedBraces(box, c.caret), c.want) << c.name;
  }
}
