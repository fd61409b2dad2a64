// What the main window shows around the text: the caret's place and the file's line-end style
// in the status bar, and where the windows open.
#include <QMenu>

#include "scrivane_fixture.h"

using namespace scrivane;

TEST_F(ScrivaneTest, StatusBarFollowsTheCaretOfTheActiveDocument) {
  Start(WriteFile(QStringLiteral("lf.cog"), "symbols\n\tint x\nend\n"));
  tarvex::test::ProcessEvents();
  frmScrivane* w = main->ActiveCog();
  ASSERT_TRUE(w);
  EXPECT_EQ(main->lblLineEnd->text(), QStringLiteral("LF"));
  // model position (CR LF counts two) -> shown position; a tab is one column
  const struct { qsizetype pos; const char* shown; } moves[] = {
      {0, "Ln 1, Col 1"}, {7, "Ln 1, Col 8"}, {9, "Ln 2, Col 1"}, {10, "Ln 2, Col 2"}, {15, "Ln 2, Col 7"}, {20, "Ln 3, Col 4"}};
  for (const auto& m : moves) {
    w->txtMain->SetSelStart(m.pos);
    EXPECT_EQ(main->lblCaretPos->text(), QString::fromLatin1(m.shown)) << m.pos;
  }
  // A second document takes over the bar; closing every document empties it.
  main->mnuFileNew_Click();
  EXPECT_EQ(main->lblLineEnd->text() + ' ' + main->lblCaretPos->text(), QStringLiteral("CRLF Ln 1, Col 1"));
  main->mnuFileClose_Click();
  main->mnuFileClose_Click();
  tarvex::test::ProcessEvents();
  EXPECT_TRUE(main->lblCaretPos->text().isEmpty());
}

// The main window opens where it was and stores where it is; the first document fills the
// area, the next opens offset to fill the rest; the Window menu tiles and lists the windows.
TEST_F(ScrivaneTest, WindowsOpenWhereTheyWereTileAndAreListed) {
  using namespace tarvex::prefs;
  for (auto [pref, v] : {std::pair{&WindowLeft, 20}, {&WindowTop, 30}, {&WindowWidth, 640}, {&WindowHeight, 480}})
    pref->Set(v);
  Start();
  EXPECT_EQ(main->geometry(), QRect(20, 30, 640, 480));
  QSize area = main->mdiArea->viewport()->size();
  EXPECT_EQ(main->SubWindowOf(main->colCogs[0])->geometry(), QRect(QPoint(0, 0), area));
  main->mnuFileNew_Click();
  const QRect second = main->SubWindowOf(main->colCogs[1])->geometry();
  EXPECT_GT(second.left(), 0);
  EXPECT_EQ(second.bottomRight(), QRect(QPoint(0, 0), area).bottomRight());
  main->resize(1200, 800);
  main->mnuFileNew_Click();
  tarvex::test::ProcessEvents();
  area = main->mdiArea->viewport()->size();
  main->mnuWindowTileVertical->trigger();
  int x = 0;
  for (auto* w : main->colCogs) {
    const QRect g = main->SubWindowOf(w)->geometry();
    EXPECT_EQ(QPoint(g.left(), g.height()), QPoint(x, area.height()));
    x += g.width();
  }
  EXPECT_EQ(x, area.width());
  main->mnuWindowTileHorizontal->trigger();
  for (auto* w : main->colCogs) EXPECT_EQ(main->SubWindowOf(w)->width(), area.width());
  emit main->mnuWindow->aboutToShow();
  QStringList listed;
  for (QAction* a : main->mnuWindow->actions())
    if (a->isCheckable()) listed << a->text() + (a->isChecked() ? "+" : "");
  EXPECT_EQ(listed, (QStringList{"&1 Cog 1", "&2 Cog 2", "&3 Cog 3+"}));
  main->setGeometry(40, 50, 600, 400);
  main->close();
  EXPECT_EQ(QRect(WindowLeft.Get(), WindowTop.Get(), WindowWidth.Get(), WindowHeight.Get()), QRect(40, 50, 600, 400));
}
