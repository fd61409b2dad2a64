// The everyday editing comforts through the real window: the Edit menu's clipboard and undo
// commands, zoom, Go to Line and indentation.
#include <QClipboard>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>

#include "scrivane/gui/findbar.h"
#include "scrivane/gui/linegutter.h"
#include "scrivane_fixture.h"

using namespace scrivane;

namespace {

class ComfortTest : public ScrivaneTest {
 protected:
  // Which of Undo, Redo, Cut, Copy, Paste, Select All are enabled, as letters.
  QString Enabled() const {
    QString s;
    const std::pair<QAction*, char> items[] = {{main->mnuEditUndo, 'U'}, {main->mnuEditRedo, 'R'}, {main->mnuEditCut, 'X'},
                                               {main->mnuEditCopy, 'C'}, {main->mnuEditPaste, 'V'}, {main->mnuEditSelectAll, 'A'}};
    for (auto [a, c] : items)
      if (a->isEnabled()) s += QLatin1Char(c);
    return s;
  }
};

}  // namespace

// The commands follow the text: nothing to undo at first, a selection enables Cut and Copy,
// the clipboard enables Paste; with no document all are off. The keys reach the text once.
TEST_F(ComfortTest, EditMenuCommandsFollowTheText) {
  QApplication::clipboard()->clear();
  frmScrivane* w = StartWith("alpha beta\r\ngamma");
  TextBox* box = w->txtMain;
  EXPECT_EQ(Enabled(), "A");
  Key(box, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(box->Text(), "alpha beta\r\ngamma");  // a loaded text has nothing to undo
  box->SetSelLength(5);
  EXPECT_EQ(Enabled(), "XCA");
  main->mnuEditCopy->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "alpha");
  EXPECT_EQ(Enabled(), "XCVA");
  main->mnuEditCut->trigger();
  EXPECT_EQ(box->Text(), " beta\r\ngamma");
  EXPECT_EQ(Enabled(), "UVA");
  box->SetSelStart(box->TextLength());
  main->mnuEditPaste->trigger();
  EXPECT_EQ(box->Text(), " beta\r\ngammaalpha");
  main->mnuEditUndo->trigger();
  main->mnuEditUndo->trigger();
  EXPECT_EQ(box->Text(), "alpha beta\r\ngamma");
  EXPECT_EQ(Enabled(), "RVA");
  Key(box, Qt::Key_Y, Qt::ControlModifier);  // redoes one step, not two
  EXPECT_EQ(box->Text(), " beta\r\ngamma");
  main->mnuEditSelectAll->trigger();
  EXPECT_EQ(box->SelLength(), box->TextLength());
  // In another field the keys are that field's: Ctrl+A selects the name typed there.
  main->txtVarName->setText("count");
  main->txtVarName->setFocus();
  Key(main->txtVarName, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(main->txtVarName->selectedText(), "count");
  EXPECT_EQ(box->Text(), " beta\r\ngamma");
  w->bMod = false;
  main->mnuFileClose_Click();
  tarvex::test::ProcessEvents();
  EXPECT_EQ(Enabled(), "");
  main->mnuEditUndo->trigger();  // nothing open: nothing happens
}

// Zoom changes the text and its line numbers of every window, new ones too, never the stored
// size; Ctrl+wheel steps by notches. A font chosen in the dialog is rounded to whole points and
// stored at once, the zoom kept on top of it in every window; a cancelled dialog changes nothing.
TEST_F(ComfortTest, ZoomFollowsKeysAndWheelAndLeavesTheStoredFont) {
  frmScrivane* w = StartWith("a\r\nb");
  TextBox* box = w->txtMain;
  auto* gutter = box->findChild<LineGutter*>();
  ASSERT_TRUE(gutter);
  const int base = box->font().pointSize(), gutterWidth = gutter->width();
  Key(box, Qt::Key_Plus, Qt::ControlModifier);
  Key(box, Qt::Key_Equal, Qt::ControlModifier);
  EXPECT_EQ(box->font().pointSize(), base + 2);
  EXPECT_GT(gutter->width(), gutterWidth);
  auto wheel = [&](int delta) {
    QWheelEvent e(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(box->viewport(), &e);
  };
  wheel(60);
  EXPECT_EQ(box->font().pointSize(), base + 2);  // half a notch: not yet
  wheel(60);
  wheel(-360);
  EXPECT_EQ(box->font().pointSize(), base);
  main->mnuFileNew_Click();
  EXPECT_EQ(main->CurrentCog()->txtMain->font().pointSize(), base);
  for (int i = 0; i < 200; ++i) main->Zoom(-1);
  EXPECT_EQ(box->font().pointSize(), std::min(base, 4));
  main->Zoom(1);
  EXPECT_GT(box->font().pointSize(), std::min(base, 4));  // the steps past the smallest size were not counted
  main->Zoom(0);
  main->Zoom(1);
  for (auto [size, stored] : {std::pair{10.5, 10}, {11.5, 12}}) {
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSizeF(size);
    chosen.setBold(true);
    prompts.fontAnswers = {chosen, std::nullopt};
    main->mnuViewFont_Click();
    main->mnuViewFont_Click();
    EXPECT_EQ(Stored("DefFontSize") + Stored("DefFontBold") + Stored("DefFontItalic"), QString::number(stored) + "TrueFalse");
    EXPECT_EQ(main->defaults.DefFontSize, stored);
    for (auto* other : main->colCogs) EXPECT_EQ(other->txtMain->font().pointSize(), stored + 1) << size;
  }
  Key(main->CurrentCog()->txtMain, Qt::Key_0, Qt::ControlModifier);
  EXPECT_EQ(box->font().pointSize(), 12);
  EXPECT_EQ(tarvex::prefs::DefFontSize.Get(), 12);
  // At the largest sizes the numbers stop growing: the gutter leaves the box to the text.
  QFont huge(QStringLiteral("DejaVu Sans Mono"));
  huge.setPointSize(300);
  prompts.fontAnswers = {huge};
  main->mnuViewFont_Click();
  ASSERT_EQ(box->font().pointSize(), 300);
  EXPECT_LT(gutter->width(), box->width() / 3) << box->width();
}

// Go to Line moves the caret to the line (and column) typed and centres the line; numbers past
// the end go to the end, other texts are refused with a message.
TEST_F(ComfortTest, GoToLineCentresTheLine) {
  QString text;
  for (int i = 1; i <= 300; ++i) text += QStringLiteral("line %1 text\r\n").arg(i);
  frmScrivane* w = StartWith(text);
  TextBox* box = w->txtMain;
  // The answer, the caret's line and column after it (1-based), and whether it was refused.
  struct Case { const char* answer; int line, column; bool refused; } cases[] = {
      {"150", 150, 1, false}, {" 7 : 3 ", 7, 3, false}, {"20:99", 20, 13, false}, {"9999", 301, 1, false},
      {"abc", 301, 1, true},  {"0", 301, 1, true},      {"12:0", 301, 1, true},   {"", 301, 1, false}};
  for (const Case& c : cases) {
    prompts.Clear();
    prompts.inputAnswers = {QString::fromLatin1(c.answer)};
    Key(box, Qt::Key_G, Qt::ControlModifier);
    const QTextCursor caret = box->textCursor();
    EXPECT_EQ(caret.blockNumber() + 1, c.line) << c.answer;
    EXPECT_EQ(caret.positionInBlock() + 1, c.column) << c.answer;
    EXPECT_EQ(prompts.Messages().size(), c.refused ? 1u : 0u) << c.answer;
    if (QString::fromLatin1(c.answer) == "150") {
      EXPECT_EQ(prompts.records.at(0).title, "Go to Line");
      const int middle = box->viewport()->height() / 2, y = box->cursorRect().center().y();
      EXPECT_LE(std::abs(y - middle), 2 * box->fontMetrics().height()) << y << " " << middle;
    }
  }
}

// Enter keeps the line's blanks; Tab and Shift+Tab on a selection of lines indent and unindent
// them, each one undo step, and every line keeps the line end it had in the file.
TEST_F(ComfortTest, IndentationKeepsLineEndsAndIsOneUndoStep) {
  const QString path = WriteFile(QStringLiteral("mixed.cog"), "a\r\n  b\nc\r\nd");
  Start(path);
  frmScrivane* w = main->CurrentCog();
  TextBox* box = w->txtMain;
  box->setFocus();
  box->SetSelStart(0);
  box->SetSelLength(9);  // "a", "  b" and a part of "c"
  Key(box, Qt::Key_Tab);
  EXPECT_EQ(box->Text(), "\ta\r\n\t  b\r\n\tc\r\nd");
  EXPECT_EQ(box->SelText(), "\ta\r\n\t  b\r\n\tc");
  Key(box, Qt::Key_Backtab, Qt::ShiftModifier);
  Key(box, Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(box->Text(), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(Undone(box), "a\r\n  b\r\nc\r\nd");
  EXPECT_EQ(Undone(box), "\ta\r\n\t  b\r\n\tc\r\nd");
  main->mnuFileSave_Click();
  EXPECT_EQ(ReadFile(path), QByteArray("\ta\r\n\t  b\n\tc\r\nd\r\n"));
  // A tab within one line's selection replaces it, as ever; Enter keeps the blanks before the caret.
  box->SetSelStart(6);
  box->SetSelLength(1);
  Key(box, Qt::Key_Tab);
  EXPECT_EQ(box->Text(), "\ta\r\n\t \tb\r\n\tc\r\nd");
  box->SetSelStart(8);
  Key(box, Qt::Key_Return);
  QTest::keyClicks(box, "x");
  EXPECT_EQ(box->Text(), "\ta\r\n\t \tb\r\n\t \tx\r\n\tc\r\nd");
  box->SetSelStart(4);
  Key(box, Qt::Key_Return);  // at the line's start: no blanks before the caret
  EXPECT_EQ(box->Text(), "\ta\r\n\r\n\t \tb\r\n\t \tx\r\n\tc\r\nd");
  EXPECT_EQ(Undone(box), "\ta\r\n\t \tb\r\n\t \tx\r\n\tc\r\nd");
  w->bMod = false;
}

// A file its owner may not write opens marked as such; Save goes to Save As at once (also for
// a file made read-only while open), and the copy saved elsewhere is an ordinary file again.
TEST_F(ComfortTest, ReadOnlyFileIsShownAndSaveOffersSaveAs) {
  const QString ro = WriteFile(QStringLiteral("ro.cog"), "abc\r\n"), rw = WriteFile(QStringLiteral("rw.cog"), "x\r\n");
  QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  Start(ro);
  frmScrivane* w = main->CurrentCog();
  EXPECT_EQ(w->Caption(), "ro.cog [read-only]");
  EXPECT_EQ(main->lblReadOnly->text(), "[read-only]");
  Type(w, "d");
  EXPECT_EQ(w->Caption(), "ro.cog [read-only]*");
  w->txtMain->setFocus();
  prompts.fileAnswers = {std::nullopt};  // Save As cancelled: still read-only and modified
  QTest::keyClick(w->txtMain, Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].kind, tarvex::test::PromptRecord::SaveFile);
  EXPECT_EQ(w->Caption(), "ro.cog [read-only]*");
  const QString copy = QDir::toNativeSeparators(files.filePath(QStringLiteral("copy.cog")));
  prompts.fileAnswers = {copy};
  QTest::keyClick(w->txtMain, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(ReadFile(ro), QByteArray("abc\r\n"));
  EXPECT_TRUE(ReadFile(copy).startsWith("dabc"));
  EXPECT_EQ(w->Caption() + "|" + main->lblReadOnly->text(), "copy.cog|");
  // Made read-only while open: the next Save asks for a new name instead of failing.
  main->OpenFile(rw);
  frmScrivane* other = main->CurrentCog();
  EXPECT_EQ(other->Caption(), "rw.cog");
  QFile::setPermissions(rw, QFileDevice::ReadOwner);
  prompts.Clear();
  main->mnuFileSave_Click();
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].kind, tarvex::test::PromptRecord::SaveFile);
  QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  QFile::setPermissions(rw, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// The find bar: filled with the word at the caret, incremental from the caret, Enter and
// Shift+Enter going round once with a note, every match marked, Match case and Whole word,
// Replace and Replace All as one undo step that keeps each line's end; Esc closes it.
TEST_F(ComfortTest, FindBarSearchesAsTypedAndReplaces) {
  const QString path = WriteFile(QStringLiteral("p.cog"), "player = GetLocalPlayerThing();\nPlayer x player;\r\nsetplayer\r\n");
  Start(path);
  frmScrivane* w = main->CurrentCog();
  TextBox* box = w->txtMain;
  FindBar* bar = main->findBar;
  main->activateWindow();
  box->setFocus();
  box->SetSelStart(2);
  Key(box, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(bar->isVisible());
  EXPECT_EQ(std::pair(bar->txtFind->hasFocus(), bar->txtFind->text()), std::pair(true, QString("player")));
  EXPECT_GE(bar->txtFind->width(), bar->txtFind->fontMetrics().averageCharWidth() * 20);  // the buttons leave it room
  EXPECT_EQ(box->MatchMarks().size(), 5);  // any case, inside words too
  // Typing searches from where the caret was: the first "pla" at or after position 2.
  bar->txtFind->clear();
  QTest::keyClicks(bar->txtFind, "pla");
  auto sel = [&] { return std::pair<int, int>(box->textCursor().selectionStart(), box->textCursor().selectionEnd()); };
  EXPECT_EQ(sel(), std::pair(17, 20));
  EXPECT_EQ(bar->lblNote->text(), "2 of 5");
  std::vector<std::pair<int, int>> hits;
  std::vector<QString> notes;
  for (auto mods : {Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier}) {
    Key(bar->txtFind, Qt::Key_Return, mods);
    hits.push_back(sel());
    notes.push_back(bar->lblNote->text());
  }
  EXPECT_EQ(hits, (std::vector<std::pair<int, int>>{{32, 35}, {41, 44}, {52, 55}, {0, 3}, {52, 55}}));
  EXPECT_EQ(notes, (std::vector<QString>{"3 of 5", "4 of 5", "5 of 5", "Wrapped around to the top", "Wrapped around to the bottom"}));
  // Whole word: "player" inside GetLocalPlayerThing and setplayer is left alone.
  bar->txtFind->setText("player");
  bar->chkWholeWord->setChecked(true);
  EXPECT_EQ(box->MatchMarks().size(), 3);
  bar->chkMatchCase->setChecked(true);
  EXPECT_EQ(box->MatchMarks().size(), 2);
  bar->chkMatchCase->setChecked(false);
  Key(main.get(), Qt::Key_H, Qt::ControlModifier);
  ASSERT_TRUE(bar->txtReplace->isVisible());
  bar->txtFind->setText("player");
  bar->txtReplace->setText("hero");
  box->SetSelStart(0);
  bar->ReplaceOne();  // not on a match yet: goes to the first
  EXPECT_EQ(sel(), std::pair(0, 6));
  Key(bar->txtReplace, Qt::Key_Return);
  EXPECT_EQ(box->Text().left(10), "hero = Get");
  EXPECT_EQ(sel(), std::pair(30, 36));  // on to the next match
  bar->cmdReplaceAll->click();
  EXPECT_EQ(bar->lblNote->text(), "2 replaced");
  EXPECT_EQ(box->Text(), "hero = GetLocalPlayerThing();\r\nhero x hero;\r\nsetplayer\r\n");
  EXPECT_TRUE(box->MatchMarks().isEmpty());
  EXPECT_EQ(Undone(box), "hero = GetLocalPlayerThing();\r\nPlayer x player;\r\nsetplayer\r\n");  // Replace All: one step
  box->redo();
  main->mnuFileSave_Click();
  EXPECT_TRUE(ReadFile(path).startsWith("hero = GetLocalPlayerThing();\nhero x hero;\r\nsetplayer\r\n"));
  Key(bar->txtFind, Qt::Key_Escape);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_TRUE(box->hasFocus());
  // The Edit menu's Replace All tells its count in the status bar.
  prompts.inputAnswers = {"hero", "x"};
  main->mnuEdit[4]->trigger();
  EXPECT_EQ(main->statusBar()->currentMessage(), "3 replaced");
}
