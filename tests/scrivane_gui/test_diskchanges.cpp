// A document's file changed on disk behind its window: by another program, or by another
// window on the same file. Saving asks before it overwrites; the window offers to reload.
#include <QScrollBar>

#include "scrivane_fixture.h"

using namespace scrivane;
using tarvex::MsgResult;

namespace {

class DiskChangeTest : public ScrivaneTest {
 protected:
  void Activate(frmScrivane* w) {
    main->mdiArea->setActiveSubWindow(main->SubWindowOf(w));
    tarvex::test::ProcessEvents();
  }
  // Goes to the other window and comes back to `w`.
  void ComeBack(frmScrivane* other, frmScrivane* w) { Activate(other), Activate(w); }
  static bool BarShown(frmScrivane* w) { return !w->barDisk->isHidden(); }
  static QString Asked(const QString& title) {
    return title + QStringLiteral(" has changed on disk since it was opened. Overwrite it?");
  }
};

// Save asks before it overwrites a file that changed since it was read or written, No keeps
// the document unsaved; two windows on one file are covered by the same question.
TEST_F(DiskChangeTest, SaveAsksBeforeOverwritingAChangedFile) {
  const QString path = WriteFile("f.cog", "one\r\n");
  Start(path);
  frmScrivane* w = main->ActiveCog();
  Type(w, "x");
  tarvex::test::WriteBytes(path, "changed elsewhere\r\n");
  prompts.Clear({MsgResult::No});
  main->mnuFileSave_Click();
  ASSERT_EQ(prompts.Messages(), std::vector<QString>{Asked("f.cog")});
  EXPECT_EQ(prompts.records[0].buttons, tarvex::MsgButtons::YesNo);
  EXPECT_TRUE(w->bMod && w->Caption() == "f.cog*");
  EXPECT_EQ(ReadFile(path), QByteArray("changed elsewhere\r\n"));
  // The close prompt's Yes goes through the same question; No there keeps the window.
  prompts.messageAnswers = {MsgResult::Yes, MsgResult::No};
  main->mnuFileClose_Click();
  EXPECT_TRUE(main->colCogs.contains(w) && w->bMod);
  prompts.Clear({MsgResult::Yes});
  main->mnuFileSave_Click();
  EXPECT_TRUE(!w->bMod && ReadFile(path) == "xone\r\n");
  main->mnuFileSave_Click();  // its own save is not a change on disk
  EXPECT_EQ(prompts.Messages().size(), 1u);

  // A second window on the same file: its save makes the first one's stale.
  main->OpenFile(path);
  frmScrivane* w2 = main->ActiveCog();
  ASSERT_NE(w, w2);
  Type(w2, "2");
  Type(w, "1");
  prompts.Clear();
  Save(w2);
  EXPECT_TRUE(prompts.records.empty());
  prompts.messageAnswers = {MsgResult::No};
  Save(w);
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{Asked("f.cog")});
  EXPECT_EQ(ReadFile(path), QByteArray("2xone\r\n"));
  // Save All asks for the stale window only.
  prompts.Clear({MsgResult::OK, MsgResult::OK, MsgResult::No, MsgResult::OK});
  main->mnuFileSaveAll_Click();
  EXPECT_EQ(prompts.Messages(),
            (std::vector<QString>{"2", path + " f.cog*", Asked("f.cog"), path + " f.cog"}));
  EXPECT_EQ(ReadFile(path), QByteArray("2xone\r\n"));
  // A file deleted since is simply written again.
  QFile::remove(path);
  prompts.Clear();
  Save(w);
  EXPECT_TRUE(prompts.records.empty() && ReadFile(path) == "x1one\r\n");
}

// Coming to a window whose file changed shows a bar in that window, never a dialog; Ignore
// keeps it away for that change, Reload reads the file keeping caret and scroll position.
TEST_F(DiskChangeTest, ActivationOffersReloadInABarWithoutDialogs) {
  QByteArray text;
  for (int i = 1; i <= 300; ++i) text += "line " + QByteArray::number(i) + "\r\n";
  const QString path = WriteFile("long.cog", text), other = WriteFile("other.cog", "o\r\n");
  Start(path);
  frmScrivane* w = main->ActiveCog();
  w->txtMain->SetSelStart(text.indexOf("line 200") + 3);
  const qsizetype caret = w->txtMain->SelStart();
  const int scrolled = w->txtMain->verticalScrollBar()->value();
  ASSERT_GT(scrolled, 0);
  main->OpenFile(other);
  frmScrivane* o = main->ActiveCog();
  tarvex::test::WriteBytes(path, "new first line\r\n" + text);
  prompts.Clear();
  Activate(w);
  EXPECT_TRUE(BarShown(w) && !BarShown(o));
  EXPECT_TRUE(w->lblDisk->text().startsWith("long.cog has changed on disk."));
  EXPECT_GE(w->txtMain->y(), w->barDisk->height());  // the bar is above the text, not over it
  ComeBack(o, w);
  EXPECT_TRUE(prompts.records.empty());
  // Ignore: gone, also when the window is activated again, until the file changes again.
  w->cmdIgnore->click();
  EXPECT_FALSE(BarShown(w));
  ComeBack(o, w);
  EXPECT_FALSE(BarShown(w));
  tarvex::test::WriteBytes(path, "changed again\r\n" + text);
  ComeBack(o, w);
  ASSERT_TRUE(BarShown(w));
  // Reload of an unedited document: no question, same caret and view, not modified.
  w->cmdReload->click();
  EXPECT_TRUE(prompts.records.empty());
  EXPECT_TRUE(!BarShown(w) && !w->bMod && w->txtMain->Text().startsWith("changed again\r\nline 1\r\n"));
  EXPECT_EQ(w->txtMain->SelStart(), caret);
  EXPECT_EQ(w->txtMain->verticalScrollBar()->value(), scrolled);
  // An edited document asks first; No keeps the edits.
  Type(w, "edit");
  tarvex::test::WriteBytes(path, "third\r\n");
  ComeBack(o, w);
  ASSERT_TRUE(BarShown(w));
  EXPECT_TRUE(w->lblDisk->text().contains("drops the changes"));
  prompts.messageAnswers = {MsgResult::No, MsgResult::Yes};
  w->cmdReload->click();
  EXPECT_TRUE(w->bMod && w->txtMain->Text().contains("edit") && BarShown(w));
  w->cmdReload->click();
  EXPECT_EQ(prompts.Messages(), std::vector<QString>(2, "Reload long.cog and drop the changes made here?"));
  EXPECT_TRUE(!w->bMod && w->txtMain->Text() == "third\r\n" && w->Caption() == "long.cog");
  // Saving after a reload overwrites without asking: the window knows the file again.
  prompts.Clear();
  Save(w);
  EXPECT_TRUE(prompts.records.empty());
  // A file deleted behind the window: the bar says so (nothing to reload), the document counts
  // as modified so that closing asks, Ignore keeps the bar away, and Save writes the file again.
  QFile::remove(path);
  ComeBack(o, w);
  ASSERT_TRUE(BarShown(w));
  EXPECT_EQ(w->lblDisk->text(), "long.cog is no longer on disk. Saving writes it again.");
  EXPECT_TRUE(w->cmdReload->isHidden() && w->bMod && w->Caption() == "long.cog*");
  w->cmdIgnore->click();
  ComeBack(o, w);
  EXPECT_TRUE(!BarShown(w) && w->bMod);
  main->mnuFileSave_Click();
  EXPECT_TRUE(prompts.records.empty() && !w->bMod && ReadFile(path) == "third\r\n");
  QFile::remove(path);
  ComeBack(o, w);
  EXPECT_TRUE(BarShown(w) && w->cmdReload->isHidden());
  tarvex::test::WriteBytes(path, "back\r\n");
  ComeBack(o, w);
  EXPECT_TRUE(BarShown(w) && !w->cmdReload->isHidden() && w->lblDisk->text().startsWith("long.cog has changed"));
}

// The other program is left and Scrivane is come back to: the active document is checked.
TEST_F(DiskChangeTest, ComingBackToTheProgramChecksTheActiveDocument) {
  const QString path = WriteFile("f.cog", "one\r\n");
  Start(path);
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  frmScrivane* w = main->ActiveCog();
  QWidget elsewhere;
  elsewhere.show();
  elsewhere.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
  tarvex::test::WriteBytes(path, "two words\r\n");
  EXPECT_FALSE(BarShown(w));
  main->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  EXPECT_TRUE(BarShown(w));
}

}  // namespace
