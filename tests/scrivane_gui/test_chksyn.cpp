// The syntax checker's dialog over text boxes standing in for document windows.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "scrivane/gui/frmchksyn.h"
#include "scrivane/gui/textbox.h"
#include "tests/support/test_env.h"

using scrivane::frmChkSyn;
using scrivane::TextBox;

namespace {

class ChkSynTest : public ::testing::Test {
 protected:
  void SetUp() override {
    one.SetText("{ x\r\nsymbols\r\nend\r\n{ }\r\n// a comment line\r\n{");
    two.SetText("x\r\nsymbols\r\nend\r\ncode\r\nend\r\n");
  }
  // The active document is whichever `active` points at when the dialog asks.
  scrivane::ChkSynDocument Access() {
    return {[this] { return captions.value(active); },
            [this] { return active->Text(); },
            [this] { return active->SelStart(); },
            [this](qsizetype p) {
              active->SetSelStart(p);
              ++caretMoves;
            }};
  }
  std::vector<std::pair<QString, qsizetype>> Entries(const frmChkSyn& d) const {
    std::vector<std::pair<QString, qsizetype>> e;
    for (int i = 0; i < d.lstChkSyn->count(); ++i)
      e.emplace_back(d.lstChkSyn->item(i)->text(), d.lstChkSyn->item(i)->data(Qt::UserRole).value<qsizetype>());
    return e;
  }
  void ClickEntry(frmChkSyn& d, int row) {
    QListWidget* l = d.lstChkSyn;
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(row)).center());
  }

  TextBox one, two;
  QHash<TextBox*, QString> captions{{&one, "Cog 1*"}, {&two, "door.cog"}};
  TextBox* active = &one;
  int caretMoves = 0;
};

TEST_F(ChkSynTest, LoadSetsTheCaptionAndListsTheFindingsInOrder) {
  one.SetSelStart(6);
  frmChkSyn d(Access());
  EXPECT_EQ(d.windowTitle(), "Check Syntax - Cog 1*");
  const std::vector<std::pair<QString, qsizetype>> want = {
      {"{ not matched", 0}, {"{ not matched", 43}, {"no code section", 6}};
  EXPECT_EQ(Entries(d), want);
  EXPECT_EQ(caretMoves, 0);  // filling the list moves nothing
  EXPECT_TRUE(d.txtSym->text().isEmpty());
  EXPECT_FALSE(d.isModal());
}

TEST_F(ChkSynTest, ClickAndKeyboardMoveTheCaretWithoutTakingTheFocus) {
  frmChkSyn d(Access());
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  d.lstChkSyn->setFocus();
  EXPECT_EQ(caretMoves, 0);  // the list taking the focus chooses nothing

  ClickEntry(d, 1);
  EXPECT_EQ(one.SelStart(), 43);
  one.SetSelStart(3);
  ClickEntry(d, 1);  // the same entry again moves the caret again
  EXPECT_EQ(one.SelStart(), 43);

  // The other document is active now; its text is shorter than the stored position.
  active = &two;
  QTest::keyClick(d.lstChkSyn, Qt::Key_Up);
  EXPECT_EQ(two.SelStart(), 0);
  QTest::keyClick(d.lstChkSyn, Qt::Key_Down);
  EXPECT_EQ(two.SelStart(), two.Text().size());
  EXPECT_EQ(one.SelStart(), 43);
  EXPECT_TRUE(d.lstChkSyn->hasFocus());

  QPointer<frmChkSyn> shown = new frmChkSyn(Access());
  shown->show();
  QTest::mouseClick(shown->cmdOK, Qt::LeftButton);
  tarvex::test::ProcessEvents();
  EXPECT_TRUE(shown.isNull());  // OK closes and unloads
}

}  // namespace
