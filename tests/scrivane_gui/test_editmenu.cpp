// The Edit menu through the real windows: keys reach the menu items, answers come from the
// scripted prompts.
#include <QListWidget>

#include "scrivane/gui/frmchksyn.h"
#include "scrivane_fixture.h"

using namespace scrivane;

namespace {

using SelPair = std::pair<qsizetype, qsizetype>;

class EditMenuTest : public ScrivaneTest {
 protected:
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

// Find and Find Next with the word of the active window, to the end and past it; an absent
// word and a cancelled box (the empty word is stored, no search) leave Find Next on.
TEST_F(EditMenuTest, FindAndFindNext) {
  frmScrivane* one = StartWith("door\r\nDoor x door");
  EXPECT_FALSE(FindNextOn());
  prompts.inputAnswers = {"DOOR", "q", ""};
  Key(one, Qt::Key_F, Qt::ControlModifier);
  std::vector<SelPair> hits{Sel(one)};
  main->mnuFileNew->trigger();
  frmScrivane* two = main->CurrentCog();
  two->txtMain->setFocus();
  Key(two, Qt::Key_F3);  // the second window has no word of its own
  main->mdiArea->setActiveSubWindow(main->SubWindowOf(one));
  main->mnuEdit[2]->setEnabled(true);
  one->txtMain->setFocus();
  for (int i = 0; i < 3; ++i) Key(one, Qt::Key_F3), hits.push_back(Sel(one));  // the last one finds nothing
  EXPECT_EQ(hits, (std::vector<SelPair>{{0, 4}, {6, 4}, {13, 4}, {13, 4}}));
  EXPECT_FALSE(FindNextOn());
  Key(one, Qt::Key_F3);  // disabled: nothing happens
  Key(one, Qt::Key_F, Qt::ControlModifier);
  Key(one, Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(one->sW.isEmpty() && FindNextOn());
  Key(one, Qt::Key_F3);
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{"\"\" not found.", "\"DOOR\" not found.", "\"q\" not found.",
                                                       "\"\" not found."}));
  EXPECT_FALSE(FindNextOn());
}

// (Replace All in thousands of places as one undo step: LineEndsTest; its rules: Replace.FollowsTheRunRules.)
TEST_F(EditMenuTest, ReplaceTheFirstOccurrenceAndReplaceAll) {
  frmScrivane* w = StartWith("x = x\r\n");
  // Either box cancelled: nothing is replaced, but both boxes were shown.
  prompts.inputAnswers = {"", "y", "x", "", "x", "yy", "x", "yy"};
  Key(w, Qt::Key_R, Qt::ControlModifier);
  main->mnuEdit[4]->trigger();
  EXPECT_TRUE(prompts.records.size() == 4u && !w->bMod);
  // The match at the very first character is replaced; the next starts from the start again.
  Key(w, Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(w->txtMain->Text() + w->Caption(), "yy = x\r\nCog 1*");
  EXPECT_EQ(Sel(w), SelPair(2, 0));
  Key(w, Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(w->txtMain->Text(), "yy = yy\r\n");
  EXPECT_EQ(Undone(w->txtMain), "yy = x\r\n");
}

// Check Syntax lists the findings of the active document; clicks and keys on the list move
// that document's caret without taking the focus. A second command only brings the open
// dialog to the front; after OK the next one checks afresh.
TEST_F(EditMenuTest, CheckSyntaxMovesTheCaretOfTheActiveDocument) {
  frmScrivane* one = StartWith("{ x\r\nsymbols\r\nend\r\n{ }\r\n// a comment line\r\n{", 6);
  main->EnableCheckSyntax();
  Key(one, Qt::Key_F2);
  auto* d = main->findChild<frmChkSyn*>();
  ASSERT_TRUE(d && QTest::qWaitForWindowExposed(d));
  EXPECT_EQ(d->windowTitle(), "Check Syntax - Cog 1");
  QListWidget* list = d->lstChkSyn;
  QStringList entries;
  for (int i = 0; i < list->count(); ++i)
    entries << list->item(i)->text() + ' ' + QString::number(list->item(i)->data(Qt::UserRole).value<qsizetype>());
  EXPECT_EQ(entries.join('|'), "{ not matched 0|{ not matched 43|no code section 6");
  list->setFocus();
  EXPECT_EQ(Sel(one), SelPair(6, 0));  // neither filling the list nor focusing it chooses anything
  const auto click = [&] { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center()); };
  click();
  EXPECT_EQ(Sel(one), SelPair(43, 0));
  one->txtMain->SetSelStart(3);
  click();  // the same entry again moves the caret again
  EXPECT_TRUE(Sel(one) == SelPair(43, 0) && list->hasFocus());
  main->mnuFileNew->trigger();  // the active document now, shorter than the stored position
  frmScrivane* two = main->CurrentCog();
  two->txtMain->SetText("x\r\nsymbols\r\nend\r\ncode\r\nend");
  QTest::keyClick(list, Qt::Key_Up);
  EXPECT_EQ(Sel(two), SelPair(0, 0));
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_TRUE(Sel(two) == SelPair(two->txtMain->TextLength(), 0) && Sel(one) == SelPair(43, 0));

  main->mnuEditChkSyn->trigger();
  EXPECT_TRUE(main->findChildren<frmChkSyn*>().size() == 1 && list->count() == 3);
  QTest::mouseClick(d->cmdOK, Qt::LeftButton);
  tarvex::test::ProcessEvents();
  EXPECT_EQ(main->findChild<frmChkSyn*>(), nullptr);
  main->mnuEditChkSyn->trigger();
  d = main->findChild<frmChkSyn*>();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->lstChkSyn->count(), 0);
}

}  // namespace
