#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include "scrivane/gui/textbox.h"

using namespace scrivane;

TEST(TextBox, TextAndPositionsCountCrLfAsTwo) {
  TextBox box;
  box.SetText(QStringLiteral("ab\r\ncd\r\n\r\ne"));
  EXPECT_EQ(box.Text(), QStringLiteral("ab\r\ncd\r\n\r\ne"));
  EXPECT_EQ(box.TextLength(), 11);
  // model position -> widget position -> model position at line starts and ends
  struct { qsizetype model; int widget; qsizetype back; } cases[] = {
      {0, 0, 0},  {2, 2, 2},    // end of line 1
      {3, 2, 2},                // between CR and LF: the end of the line
      {4, 3, 4},  {6, 5, 6},    // start and end of line 2
      {8, 6, 8},                // the empty line
      {10, 7, 10}, {11, 8, 11}, // last line, end of text
      {99, 8, 11}, {-5, 0, 0}};
  for (auto c : cases) {
    EXPECT_EQ(box.ToWidget(c.model), c.widget) << c.model;
    EXPECT_EQ(box.ToModel(box.ToWidget(c.model)), c.back) << c.model;
  }
  box.SetSelStart(4);
  box.SetSelLength(6);
  EXPECT_EQ(box.SelText(), QStringLiteral("cd\r\n\r\n"));
}

TEST(TextBox, MappingHoldsOnManyLines) {
  TextBox box;
  QString text;
  for (int i = 0; i < 500; ++i) text += QString(i % 7, QLatin1Char('x')) + QStringLiteral("\r\n");
  box.SetText(text);
  for (qsizetype m = 0; m <= text.size(); m += 3) {
    if (m > 0 && text[m - 1] == QLatin1Char('\r')) continue;  // inside a pair
    ASSERT_EQ(box.ToModel(box.ToWidget(m)), m);
  }
}

TEST(TextBox, ApplyIsOneEditWithOneChangeEventAndOneUndoStep) {
  TextBox box;
  box.SetText(QStringLiteral("symbols\r\nthing x\r\nend\r\n"));
  QSignalSpy changes(&box, &QPlainTextEdit::textChanged);
  TextModel m = box.Model();
  QString t = m.Text();
  t.replace(QStringLiteral("x"), QStringLiteral("player\r\nint y"));
  t.replace(QStringLiteral("symbols"), QStringLiteral("SYMBOLS"));
  m.SetText(t);
  m.SetSelStart(3);
  m.SetSelLength(4);
  box.Apply(m);
  EXPECT_EQ(box.Text(), t);
  EXPECT_EQ(changes.count(), 1);
  EXPECT_EQ(std::make_pair(box.SelStart(), box.SelLength()), std::make_pair(qsizetype(3), qsizetype(4)));
  box.undo();
  EXPECT_EQ(box.Text(), QStringLiteral("symbols\r\nthing x\r\nend\r\n"));
  box.redo();
  EXPECT_EQ(box.Text(), t);
}

TEST(TextBox, ApplyAcrossLineEndsKeepsPairsWhole) {
  struct { const char* before; const char* after; } cases[] = {
      {"a\r\nb", "a\r\n\r\nb"},  // a line inserted at a line end
      {"a\r\n\r\nb", "a\r\nb"},  // a line removed
      {"a\r\nb", "ab"},          // lines joined
      {"ab", "a\r\nb"},          // line split
      {"", "x\r\n"}, {"x\r\n", ""}, {"same", "same"},
  };
  for (auto c : cases) {
    TextBox box;
    box.SetText(QString::fromLatin1(c.before));
    TextModel m = box.Model();
    m.SetText(QString::fromLatin1(c.after));
    QSignalSpy changes(&box, &QPlainTextEdit::textChanged);
    box.Apply(m);
    EXPECT_EQ(box.Text(), QString::fromLatin1(c.after)) << c.before << " -> " << c.after;
    EXPECT_EQ(changes.count(), QByteArray(c.before) == QByteArray(c.after) ? 0 : 1) << c.before;
  }
}

TEST(TextBox, ReplaceSelAndSpecialCharactersSurvive) {
  TextBox box;
  const QString odd = QStringLiteral("a\u00A0b\tc\u0081");  // non-breaking space, tab, C1 control
  box.SetText(odd);
  EXPECT_EQ(box.Text(), odd);
  box.SetSelStart(1);
  box.SetSelLength(1);
  box.ReplaceSel(QStringLiteral("X\r\nY"));
  EXPECT_EQ(box.Text(), QStringLiteral("aX\r\nYb\tc\u0081"));
  EXPECT_EQ(box.SelStart(), 5);
}

TEST(TextBox, CtrlYRedoes) {
  TextBox box;
  box.SetText(QStringLiteral("abc"));
  box.SetSelStart(3);
  QTest::keyClicks(&box, QStringLiteral("d"));
  box.undo();
  EXPECT_EQ(box.Text(), QStringLiteral("abc"));
  QTest::keyClick(&box, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(box.Text(), QStringLiteral("abcd"));
}
