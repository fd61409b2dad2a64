// A coloured text box behaves exactly as an uncoloured one: the same text, selection, undo
// steps and change events; and colouring follows edits that change the section state.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "scrivane/gui/coghighlighter.h"
#include "scrivane/gui/textbox.h"
#include "tests/support/test_env.h"

using namespace scrivane;

namespace {

// The colour of the first character of a line, invalid when the line has no colouring there.
QColor ColourAt(const TextBox& box, int line, int column) {
  const QTextBlock b = box.document()->findBlockByNumber(line);
  for (const QTextLayout::FormatRange& r : b.layout()->formats())
    if (column >= r.start && column < r.start + r.length) return r.format.foreground().color();
  return QColor();
}

TEST(Colouring, ColouredBoxEditsAsAnUncolouredOne) {
  TextBox plain, coloured;
  auto words = std::make_shared<const CogWords>(QStringList{QStringLiteral("Sleep")});
  new CogHighlighter(coloured.document(), words, coloured.palette());
  QSignalSpy plainChanges(&plain, &QPlainTextEdit::textChanged), colouredChanges(&coloured, &QPlainTextEdit::textChanged);

  const auto steps = std::vector<std::function<void(TextBox&)>>{
      [](TextBox& b) { b.SetText(QStringLiteral("# x\r\nsymbols\r\nint a=1\r\nend\r\ncode\r\nstartup:\r\n  Sleep(0.5);\r\nend")); },
      [](TextBox& b) { b.SetSelStart(9); QTest::keyClicks(&b, QStringLiteral("  x")); },
      [](TextBox& b) { QTest::keyClick(&b, Qt::Key_Return); },
      [](TextBox& b) { b.SetSelStart(0); b.SetSelLength(3); b.ReplaceSel(QStringLiteral("symbols\r\nend")); },
      [](TextBox& b) { TextModel m = b.Model(); m.SetSelStart(20); m.ReplaceSel(QStringLiteral("\"#\" 12")); b.Apply(m); },
      [](TextBox& b) { b.undo(); },
      [](TextBox& b) { b.undo(); },
      [](TextBox& b) { b.redo(); },
      [](TextBox& b) { QTest::keyClick(&b, Qt::Key_Backspace); },
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    steps[i](plain);
    steps[i](coloured);
    tarvex::test::ProcessEvents();  // a colouring pass of its own would come now
    ASSERT_EQ(coloured.Text(), plain.Text()) << "step " << i;
    EXPECT_EQ(coloured.SelStart(), plain.SelStart()) << "step " << i;
    EXPECT_EQ(coloured.SelLength(), plain.SelLength()) << "step " << i;
    EXPECT_EQ(colouredChanges.count(), plainChanges.count()) << "step " << i;
    EXPECT_EQ(coloured.document()->isUndoAvailable(), plain.document()->isUndoAvailable()) << "step " << i;
    EXPECT_EQ(coloured.document()->availableUndoSteps(), plain.document()->availableUndoSteps()) << "step " << i;
  }
}

TEST(Colouring, EditsRecolourTheLinesWhoseStateChanged) {
  TextBox box;
  new CogHighlighter(box.document(), std::make_shared<const CogWords>(), box.palette());
  box.SetText(QStringLiteral("#\r\nsymbols\r\nthing t\r\nend\r\ncode\r\nx:\r\nend"));
  const QColor typeColour = ColourAt(box, 2, 0), endColour = ColourAt(box, 3, 0);
  ASSERT_TRUE(typeColour.isValid());
  ASSERT_TRUE(endColour.isValid());
  EXPECT_FALSE(ColourAt(box, 2, 6).isValid());  // the name is plain
  // Breaking the "symbols" line leaves no symbols section: the declaration and its end go plain.
  box.SetSelStart(3);
  box.ReplaceSel(QStringLiteral("#"));
  EXPECT_FALSE(ColourAt(box, 2, 0).isValid());
  EXPECT_FALSE(ColourAt(box, 3, 0).isValid());
  box.undo();
  EXPECT_EQ(ColourAt(box, 2, 0), typeColour);
  EXPECT_EQ(ColourAt(box, 3, 0), endColour);
}

}  // namespace
