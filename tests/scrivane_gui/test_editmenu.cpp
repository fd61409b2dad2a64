// The Edit menu through the real windows: keys reach the menu items, answers come from the
// scripted prompts.
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

#include "scrivane/gui/frmchksyn.h"
#include "scrivane_fixture.h"

using namespace scrivane;

namespace {

using SelPair = std::pair<qsizetype, qsizetype>;

class EditMenuTest : public ScrivaneTest {
 protected:
  // Starts with one document holding `text`, not modified, the caret at `caret`.
  frmScrivane* StartWith(const QString& text, qsizetype caret = 0) {
    Start();
    main->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(main.get()));
    frmScrivane* w = main->CurrentCog();
    w->txtMain->SetText(text);
    w->MarkClean();
    w->txtMain->SetSelStart(caret);
    w->txtMain->setFocus();
    prompts.Clear();
    return w;
  }
  void Key(frmScrivane* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(w->txtMain, Qt::Key(key), mods);
    tarvex::test::ProcessEvents();
  }
  static SelPair Sel(frmScrivane* w) { return {w->txtMain->SelStart(), w->txtMain->SelLength()}; }
  bool FindNextOn() const { return main->mnuEdit[2]->isEnabled(); }
};

TEST_F(EditMenuTest, CtrlBSelectsTheBraceBlock) {
  frmScrivane* w = StartWith("x = {a {b}\r\n c} y", 4);
  Key(w, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(Sel(w), SelPair(4, 11));
  w->txtMain->SetSelStart(2);
  Key(w, Qt::Key_B, Qt::ControlModifier);
  EXPECT_EQ(w->txtMain->SelText(), "=");  // not a brace: that one character stays selected
  EXPECT_FALSE(w->bMod);
}

// Find, Find Next to the end; a word not found and a cancelled box still enable Find Next.
TEST_F(EditMenuTest, FindThenFindNextUntilNotFound) {
  frmScrivane* w = StartWith("door\r\nDoor x door");
  EXPECT_FALSE(FindNextOn());
  prompts.inputAnswers = {"DOOR"};
  Key(w, Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(Sel(w), SelPair(0, 4));
  for (const SelPair& s : {SelPair(6, 4), SelPair(13, 4)}) {
    EXPECT_TRUE(FindNextOn());
    Key(w, Qt::Key_F3);
    EXPECT_EQ(Sel(w), s);
  }
  EXPECT_TRUE(prompts.Messages().empty());
  Key(w, Qt::Key_F3);
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"\"DOOR\" not found."});
  EXPECT_FALSE(FindNextOn());
  EXPECT_EQ(Sel(w), SelPair(13, 4));
  Key(w, Qt::Key_F3);  // disabled: nothing happens
  EXPECT_EQ(prompts.Messages().size(), 1u);
}

TEST_F(EditMenuTest, FindOfAnAbsentOrCancelledWordStillEnablesFindNext) {
  frmScrivane* w = StartWith("abc abc");
  prompts.inputAnswers = {"q", "abc", ""};
  Key(w, Qt::Key_F, Qt::ControlModifier);
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"\"q\" not found."});
  EXPECT_TRUE(FindNextOn());
  Key(w, Qt::Key_F, Qt::ControlModifier);
  Key(w, Qt::Key_F, Qt::ControlModifier);  // cancelled: the empty word is stored, no search
  EXPECT_TRUE(w->sW.isEmpty());
  EXPECT_EQ(prompts.Messages().size(), 1u);
  EXPECT_TRUE(FindNextOn());
  Key(w, Qt::Key_F3);
  EXPECT_EQ(prompts.Messages().back(), "\"\" not found.");
  EXPECT_FALSE(FindNextOn());
}

TEST_F(EditMenuTest, FindNextUsesTheFindStateOfTheActiveWindow) {
  frmScrivane* one = StartWith("ab ab");
  prompts.inputAnswers = {"ab"};
  Key(one, Qt::Key_F, Qt::ControlModifier);
  main->mnuFileNew->trigger();
  frmScrivane* two = main->CurrentCog();
  ASSERT_NE(one, two);
  two->txtMain->setFocus();
  Key(two, Qt::Key_F3);  // the second window has no word of its own
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"\"\" not found."});
  main->mdiArea->setActiveSubWindow(main->SubWindowOf(one));
  main->mnuEdit[2]->setEnabled(true);
  one->txtMain->setFocus();
  Key(one, Qt::Key_F3);
  EXPECT_EQ(Sel(one), SelPair(3, 2));
}

TEST_F(EditMenuTest, ReplaceTheFirstOccurrenceAndReplaceAll) {
  frmScrivane* w = StartWith("x = x\r\n");
  // Either box cancelled: nothing is replaced, but both boxes were shown.
  prompts.inputAnswers = {"", "y", "x", "", "x", "yy", "x", "yy"};
  Key(w, Qt::Key_R, Qt::ControlModifier);
  main->mnuEdit[4]->trigger();
  EXPECT_EQ(prompts.records.size(), 4u);
  EXPECT_FALSE(w->bMod);
  // The match at the very first character is replaced; the next starts from the start again.
  Key(w, Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(w->txtMain->Text(), "yy = x\r\n");
  EXPECT_EQ(Sel(w), SelPair(2, 0));
  EXPECT_EQ(w->Caption(), "Cog 1*");
  Key(w, Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(w->txtMain->Text(), "yy = yy\r\n");
  w->txtMain->undo();
  EXPECT_EQ(w->txtMain->Text(), "yy = x\r\n");
  // Replace All: every case, one undo step.
  QString text;
  for (int i = 0; i < 300; ++i) text += QString("  Door%1 = door + DOOR;\r\n").arg(i);
  w->txtMain->SetText(text);
  prompts.inputAnswers = {"door", "gate"};
  main->mnuEdit[4]->trigger();
  QString want = text;
  want.replace("door", "gate", Qt::CaseInsensitive);
  EXPECT_EQ(w->txtMain->Text(), want);
  EXPECT_EQ(w->ipos, 0);
  EXPECT_EQ(Sel(w), SelPair(want.size() - 3, 0));  // after the last replacement
  w->txtMain->undo();
  EXPECT_EQ(w->txtMain->Text(), text);
}

TEST_F(EditMenuTest, EditCommandsWithoutADocumentDoNothing) {
  StartWith("x");
  main->mnuFileClose->trigger();
  tarvex::test::ProcessEvents();
  ASSERT_TRUE(main->colCogs.isEmpty());
  prompts.inputAnswers = {"x", "y", "x", "y", "x", "y"};
  main->mnuEdit[2]->setEnabled(true);
  main->EnableCheckSyntax();
  for (QAction* a : {main->mnuEdit[0], main->mnuEdit[1], main->mnuEdit[2], main->mnuEdit[3], main->mnuEdit[4],
                     main->mnuEditChkSyn})
    a->trigger();
  EXPECT_TRUE(prompts.records.empty());
  EXPECT_EQ(main->findChild<frmChkSyn*>(), nullptr);
}

TEST_F(EditMenuTest, CheckSyntaxItemIsHiddenUntilEnabled) {
  frmScrivane* w = StartWith("{\r\nsymbols\r\nend\r\n", 17);
  EXPECT_FALSE(main->mnuEditChkSyn->isVisible() || main->mnuEditBar1->isVisible() || main->mnuEditChkSyn->isEnabled());
  Key(w, Qt::Key_F2);
  EXPECT_EQ(main->findChild<frmChkSyn*>(), nullptr);

  main->EnableCheckSyntax();
  EXPECT_TRUE(main->mnuEditChkSyn->isVisible() && main->mnuEditBar1->isVisible() && main->mnuEditChkSyn->isEnabled());
  Type(w, "x");
  Key(w, Qt::Key_F2);
  auto* d = main->findChild<frmChkSyn*>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), "Check Syntax - Cog 1*");
  ASSERT_EQ(d->lstChkSyn->count(), 2);
  d->lstChkSyn_Click(1);  // "no code section", at the caret of check time, after the typed "x"
  EXPECT_EQ(Sel(w), SelPair(18, 0));

  // Open already: brought to the front, the list is not refreshed.
  w->txtMain->SetText("x\r\nsymbols\r\nend\r\ncode\r\nend");
  main->mnuEditChkSyn->trigger();
  EXPECT_EQ(main->findChildren<frmChkSyn*>().size(), 1);
  EXPECT_EQ(d->lstChkSyn->count(), 2);

  // After OK the next command loads it again and checks afresh.
  QTest::mouseClick(d->cmdOK, Qt::LeftButton);
  tarvex::test::ProcessEvents();
  EXPECT_EQ(main->findChild<frmChkSyn*>(), nullptr);
  main->mnuEditChkSyn->trigger();
  d = main->findChild<frmChkSyn*>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->lstChkSyn->count(), 0);
}

}  // namespace
