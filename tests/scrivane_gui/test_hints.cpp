// The hints while typing through a real document window: real keys, the panels and the text.
#include <QLabel>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>

#include "scrivane/core/textops.h"
#include "scrivane_fixture.h"

using namespace scrivane;

namespace {

class HintsTest : public ScrivaneTest {
 protected:
  frmScrivane* StartAt(const QString& after) {
    Start();
    frmScrivane* w = main->CurrentCog();
    w->txtMain->SetSelStart(w->txtMain->Text().indexOf(after) + after.size());
    w->txtMain->setFocus();
    return w;
  }
  static QString LineOfCaret(frmScrivane* w) { return w->txtMain->textCursor().block().text(); }
};

TEST_F(HintsTest, MessageListPopsUnderTheCaretAndPutsTheName) {
  frmScrivane* w = StartAt("startup\r\n");
  QTest::keyClicks(w->txtMain, "message ");
  ASSERT_FALSE(w->picCogParams->isHidden());
  const QRect caret = w->txtMain->cursorRect().translated(w->txtMain->viewport()->mapTo(w, QPoint()));
  EXPECT_GT(w->picCogParams->y(), caret.top());
  // One pixel left of the character before the caret when the blank came: the "e".
  EXPECT_NEAR(w->picCogParams->x(), caret.left() - 1 - QFontMetrics(w->txtMain->font()).horizontalAdvance("e "), 1);
  QTest::keyClicks(w->txtMain, "act");
  EXPECT_EQ(w->lvwCogParams->currentItem()->text(0), "activate");
  QTest::keyClick(w->txtMain, Qt::Key_Return);
  EXPECT_TRUE(w->picCogParams->isHidden());
  EXPECT_TRUE(w->txtMain->Text().contains("startup\r\nmessage activate\r\n\r\n"));

  // From the list itself: Down gives it the focus, Tab puts the typed match in and no tab.
  QTest::keyClicks(w->txtMain, "message ac");
  QTest::keyClick(w->txtMain, Qt::Key_Down);
  EXPECT_TRUE(w->lvwCogParams->hasFocus());
  QTest::keyClick(w->lvwCogParams, Qt::Key_Down);
  QTest::keyClick(w->lvwCogParams, Qt::Key_Tab);
  EXPECT_EQ(LineOfCaret(w), "message activate");
  EXPECT_TRUE(w->txtMain->hasFocus());
}

TEST_F(HintsTest, FunctionHelpStripTakesRoomOnlyWhileShown) {
  frmScrivane* w = StartAt("startup:\r\n");
  const int full = w->txtMain->height();
  EXPECT_GE(full, w->height() - 2);
  QTest::keyClicks(w->txtMain, "  sleep(");
  ASSERT_FALSE(w->picMain->isHidden());
  EXPECT_EQ(w->lblHelp->text(), "Sleep(flex seconds)");
  EXPECT_TRUE(main->txtCogDesc->toPlainText().startsWith("Pauses this cog"));
  EXPECT_LT(w->txtMain->height(), full);
  QTest::keyClicks(w->txtMain, "f(1)");
  EXPECT_FALSE(w->picMain->isHidden());
  QTest::keyClick(w->txtMain, Qt::Key_ParenRight);
  EXPECT_TRUE(w->picMain->isHidden());
  EXPECT_EQ(w->txtMain->height(), full);
  QTest::keyClick(w->txtMain, Qt::Key_Backspace);  // over the ")" that closed it
  EXPECT_FALSE(w->picMain->isHidden());
  EXPECT_EQ(LineOfCaret(w), "  sleep(f(1)");
}

TEST_F(HintsTest, SectionMarksFollowRealEdits) {
  frmScrivane* w = StartAt("symbols\r\n");
  auto same = [w](const char* step) {
    const SectionMarks m = ScanSectionMarks(w->txtMain->Text());
    EXPECT_EQ(std::pair(qsizetype(w->lsym), qsizetype(w->lsymend)), std::pair(m.lsym, m.lsymend)) << step;
  };
  QTest::keyClick(w->txtMain, Qt::Key_Backspace);  // joins "symbols" with the blank line
  same("backspace over a line break");
  w->txtMain->SetSelStart(0);
  w->txtMain->insertPlainText("a\nend\nb\n");
  same("paste of lines above");
  w->txtMain->selectAll();
  w->txtMain->insertPlainText("x\nsymbols\ny");
  same("everything replaced");
}

}  // namespace
