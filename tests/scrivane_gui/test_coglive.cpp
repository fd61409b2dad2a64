// The script checked while it is edited, in the window: marks in the text and gutter, the
// Problems list and the status bar's count, and the commands that find their way by the
// script's names (definition, uses, completion, rename).
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QListWidget>
#include <QMenu>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleHints>
#include <QTabWidget>
#include <QAbstractItemModelTester>
#include <QToolButton>
#include <QTableView>

#include "scrivane/gui/coglive.h"
#include "scrivane/gui/cogtools.h"
#include "scrivane/gui/findbar.h"
#include "scrivane/gui/linegutter.h"
#include "scrivane_fixture.h"

using namespace scrivane;

namespace {

const QString kScript = QStringLiteral(
    "symbols\nflex offlight=0.5\nthing lamp\nmessage startup\nend\ncode\n"
    "startup:\n  ThingLight(lamp, oflight, 0.1);   # offlight in a comment\n"
    "  Print(\"offlight\");\n  ThingLight(lamp, offlight, 0.1);\n  return;\nend\n");

// Puts the caret at a position of the widget's text (one character per line end).
void Put(frmScrivane* w, int position) {
  QTextCursor c(w->txtMain->document());
  c.setPosition(position);
  w->txtMain->setTextCursor(c);
}

CogLive* Checked(frmScrivane* w) {
  CogLive* live = CogLive::Of(w->txtMain);
  EXPECT_TRUE(QTest::qWaitFor([&] { return live->IsCurrent(); }, 5000));
  return live;
}

// How many pixels of the colour lie in the band under the text range.
int PixelsUnder(TextBox* box, int start, int end, QColor colour) {
  QTextCursor c(box->document());
  c.setPosition(start);
  const QRect a = box->cursorRect(c);
  c.setPosition(end);
  const QRect b = box->cursorRect(c);
  const QImage img = box->viewport()->grab().toImage();
  int n = 0;
  for (int y = a.top() + a.height() / 2; y <= a.bottom() + 1 && y < img.height(); ++y)
    for (int x = a.left(); x < b.left(); ++x) {
      const QColor p = img.pixelColor(x, y);
      if (std::abs(p.red() - colour.red()) < 40 && std::abs(p.green() - colour.green()) < 40 && std::abs(p.blue() - colour.blue()) < 40) ++n;
    }
  return n;
}

// How many pixels of the text box on the screen differ from the box painted afresh: what a key
// leaves painted must be what a whole repaint would show.
int StalePixels(TextBox* box) {
  tarvex::test::ProcessEvents();
  const QPoint at = box->mapTo(box->window(), QPoint(0, 0));
  const QImage shown = box->screen()->grabWindow(box->window()->winId(), at.x(), at.y(), box->width(), box->height()).toImage();
  const QImage fresh = box->grab().toImage().convertToFormat(shown.format());
  int n = 0;
  for (int y = 0; y < std::min(shown.height(), fresh.height()); ++y)
    for (int x = 0; x < std::min(shown.width(), fresh.width()); ++x) n += shown.pixel(x, y) != fresh.pixel(x, y);
  return shown.size() == fresh.size() ? n : -1;
}

}  // namespace

TEST_F(ScrivaneTest, LiveFindingsAreMarkedListedAndCounted) {
  // A steady caret: one that blinks between the two pictures StalePixels compares differs in
  // its own pixels.
  QStyleHints* hints = QGuiApplication::styleHints();
  const int flash = hints->cursorFlashTime();
  hints->setCursorFlashTime(0);
  const auto restore = qScopeGuard([&] { hints->setCursorFlashTime(flash); });
  frmScrivane* w = StartWith(kScript);
  CogTools* tools = CogTools::Of(main.get());
  ASSERT_TRUE(tools);
  CogLive* live = Checked(w);
  EXPECT_EQ(tools->status->text(), QStringLiteral("0 errors, 1 warning"));
  const int warned = int(kScript.indexOf(QLatin1String("oflight")));
  EXPECT_TRUE(live->MessagesAt(warned + 3).startsWith(QStringLiteral("'oflight' is declared nowhere")));
  EXPECT_TRUE(live->MessagesAt(warned - 3).isEmpty());
  // An amber wave under the name, none under the good one.
  EXPECT_GT(PixelsUnder(w->txtMain, warned, warned + 7, QColor(230, 150, 0)), 5);
  const int good = int(kScript.indexOf(QLatin1String("offlight, 0.1")));
  EXPECT_EQ(PixelsUnder(w->txtMain, good, good + 8, QColor(230, 150, 0)), 0);
  // View > Problems opens the list, made as it first shows, with the findings in it; a click on
  // a finding puts the caret there.
  EXPECT_FALSE(tools->dock->isVisible());
  main->findChild<QAction*>(QStringLiteral("mnuViewProblems"))->trigger();
  auto* problems = main->findChild<QTableView*>(QStringLiteral("lvwProblems"));
  ASSERT_TRUE(problems);
  EXPECT_TRUE(tools->dock->isVisible() && problems->isVisible());
  const auto cell = [&](int row, int column) { return problems->model()->index(row, column).data().toString(); };
  ASSERT_EQ(problems->model()->rowCount(), 1);
  EXPECT_EQ(cell(0, 0) + ' ' + cell(0, 3), QStringLiteral("8 COG101"));
  Put(w, 0);
  emit problems->clicked(problems->model()->index(0, 4));
  EXPECT_EQ(w->txtMain->textCursor().position(), warned);
  // Typing a syntax error: nothing changes before the pause, the error is counted after it.
  QTest::keyClicks(w->txtMain, QStringLiteral("x"));
  EXPECT_TRUE(live->MessagesAt(warned + 3).isEmpty());  // the edit touches the mark: hidden till read again
  w->txtMain->moveCursor(QTextCursor::End);
  QTest::keyClicks(w->txtMain, QStringLiteral("+"));
  EXPECT_FALSE(live->IsCurrent());
  EXPECT_EQ(tools->status->text(), QStringLiteral("0 errors, 1 warning"));
  Checked(w);
  EXPECT_EQ(tools->status->text(), QStringLiteral("0 errors, 1 warning"));  // "+" after end is not read
  w->txtMain->moveCursor(QTextCursor::Start);
  w->txtMain->textCursor().insertText(QStringLiteral("{"));
  EXPECT_TRUE(live->MessagesAt(warned + 4).startsWith(QStringLiteral("'xoflight'")));  // moved along at once
  Checked(w);
  EXPECT_EQ(tools->status->text(), QStringLiteral("1 error, 0 warnings"));
  EXPECT_EQ(cell(0, 2), QStringLiteral("error"));  // the list follows each reading
  // The status bar opens the list too.
  tools->dock->hide();
  tools->status->click();
  EXPECT_TRUE(problems->isVisible());
  // The gutter marks the line with the error in red.
  auto* gutter = w->txtMain->findChild<LineGutter*>();
  ASSERT_TRUE(gutter);
  const auto lineColour = [&](int line) {  // the gutter's colour beside the line, as painted now
    const QTextCursor c(w->txtMain->document()->findBlockByNumber(line));
    return gutter->grab().toImage().pixelColor(1, w->txtMain->cursorRect(c).center().y() + w->txtMain->viewport()->y());
  };
  EXPECT_EQ(lineColour(0), QColor(220, 30, 30));
  // A note (here a symbol never used) marks its line in grey; a line with a warning too shows
  // the warning's colour.
  w->txtMain->SetText(QStringLiteral("symbols\nint unused\nend\ncode\nstartup:\n  x = nowhre; nowhere = 1;\n  return;\nend\n"));
  Checked(w);
  EXPECT_EQ(lineColour(1), QColor(150, 150, 150));
  EXPECT_EQ(lineColour(5), QColor(230, 150, 0));
  // Keys repaint only what they change: their line, and the lines of the marks they hide (an
  // edit below line 5 after one above it hides the mark between them).
  EXPECT_EQ(StalePixels(w->txtMain), 0);
  Put(w, int(w->txtMain->toPlainText().indexOf(QLatin1String("  return;"))));
  QTest::keyClicks(w->txtMain, QStringLiteral("x"));
  EXPECT_EQ(StalePixels(w->txtMain), 0);
  Put(w, 10);
  QTest::keyClicks(w->txtMain, QStringLiteral("y"));
  EXPECT_TRUE(live->MessagesAt(int(w->txtMain->toPlainText().indexOf(QLatin1String("nowhre"))) + 2).isEmpty());
  EXPECT_EQ(StalePixels(w->txtMain), 0);
  // A reading paints the lines whose marks it changed (here the mark the edit hid comes back).
  Checked(w);
  EXPECT_EQ(StalePixels(w->txtMain), 0);
  // Lines split and joined, the caret's line number moving on in bold.
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Backspace, Qt::Key_Backspace}) {
    QTest::keyClick(w->txtMain, key);
    EXPECT_EQ(StalePixels(w->txtMain), 0) << key;
  }
  // In a script longer than the view, with marks, long lines and the find bar's marks shown:
  // lines made, joined or taken out repaint the lines changed and move the pixels of the lines
  // after them (marks, gutter strip and all), wherever the change lies.
  QString longer = QStringLiteral("symbols\nmessage startup\nend\ncode\nstartup:\n");
  for (int i = 0; i < 150; ++i)
    longer += i % 5 == 4 ? QStringLiteral("  Sleep(nowhre%1);   # a pause\n").arg(i)
              : i % 7 == 0 ? QStringLiteral("  Sleep(%1);   # %2\n").arg(i).arg(QString(200, QLatin1Char('w')))
                           : QStringLiteral("  x = %1;\n").arg(i);
  TextBox* box = w->txtMain;
  box->SetText(longer + QStringLiteral("  return;\nend\n"));
  Checked(w);
  main->findBar->Open(false);
  main->findBar->txtFind->setText(QStringLiteral("Sleep"));
  const auto row = [&](double at) { return box->cursorForPosition(QPoint(2, int(box->viewport()->height() * at))).position(); };
  const auto key = [&](Qt::Key k) { QTest::keyClick(box, k); };
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"view in the middle", [&] { box->verticalScrollBar()->setValue(40); }},
      {"lines made above the view", [&] { QTextCursor(box->document()->findBlockByNumber(2)).insertText(QStringLiteral("\n\n")); }},
      {"lines taken out above the view", [&] {
         QTextCursor c(box->document()->findBlockByNumber(2));
         c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 3);
         c.removeSelectedText();
       }},
      {"read again", [&] { Checked(w); }},
      {"Enter on the bottom row, the view scrolling", [&] {
         Put(w, row(0.99));
         key(Qt::Key_Down);
         key(Qt::Key_Return);
         // The marks moved with the text: a wave under the last one in view.
         const auto [top, bottom] = box->LinesIn(0, box->viewport()->height() - 1);
         CogLive::Mark last;
         for (size_t i = 0; live->Findings() && i < live->Findings()->Size(); ++i) {
           CogLive::Mark m = live->MarkOf(i);
           if (!live->Shown(m, &m.start)) continue;
           if (const int line = box->document()->findBlock(m.start).blockNumber(); line >= top && line < bottom) last = m;
         }
         ASSERT_GT(last.length, 0);
         EXPECT_GT(PixelsUnder(box, last.start, last.start + last.length, QColor(230, 150, 0)), 5);
       }},
      {"Enter on the top row", [&] { Put(w, row(0.01)); key(Qt::Key_Return); }},
      {"Enter in the middle", [&] { Put(w, row(0.5) + 3); key(Qt::Key_Return); }},
      {"lines joined", [&] { key(Qt::Key_Backspace); }},
      {"lines pasted", [&] { Put(w, row(0.3)); box->ReplaceSel(QStringLiteral("a\n  Sleep(nowhere);\nc\n")); }},
      {"paste undone", [&] { box->undo(); }},
      {"Enter over lines selected", [&] { Put(w, row(0.2)); box->SetSelLength(200); key(Qt::Key_Return); }},
      {"Delete joining at a long line's end, scrolled right", [&] {
         const QTextBlock longLine = box->cursorForPosition(QPoint(2, int(box->viewport()->height() * 0.4))).block();
         for (QTextBlock b = longLine; b.isValid(); b = b.next())
           if (b.length() > 100) {
             Put(w, b.position() + b.length() - 1);
             break;
           }
         key(Qt::Key_Delete);
         EXPECT_GT(box->horizontalScrollBar()->value(), 0);
       }},
      {"Backspace at the end of the text", [&] { box->moveCursor(QTextCursor::End); key(Qt::Key_Backspace); key(Qt::Key_Backspace); }},
      {"Enter at the end of the text", [&] { key(Qt::Key_Return); }},
      {"the lines from above the view to the end taken out", [&] {
         QTextCursor c(box->document()->findBlockByNumber(box->document()->blockCount() - 50));
         c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
         c.removeSelectedText();
       }},
  };
  for (const auto& [what, act] : steps) {
    act();
    EXPECT_EQ(StalePixels(box), 0) << what;
  }
}

TEST_F(ScrivaneTest, LargeScriptsAreReadOnAWorkerAndProblemsAreStepped) {
  QString big = QStringLiteral("symbols\nmessage startup\nend\ncode\nstartup:\n");
  while (big.size() < CogLive::kWorkerChars * 2) big += QStringLiteral("  Sleep(1);   # a pause\n");
  big += QStringLiteral("  Sleep(1, 2);\n  x = y;\n  return;\nend\n");
  frmScrivane* w = StartWith(big);
  CogTools* tools = CogTools::Of(main.get());
  Checked(w);
  EXPECT_EQ(tools->status->text(), QStringLiteral("0 errors, 2 warnings"));
  const int first = int(big.indexOf(QLatin1String("Sleep(1, 2)"))), second = int(big.indexOf(QLatin1String("y;")));
  tools->nextProblem->trigger();
  EXPECT_EQ(w->txtMain->textCursor().position(), first);
  tools->nextProblem->trigger();
  tools->nextProblem->trigger();  // the note on x comes between
  EXPECT_EQ(w->txtMain->textCursor().position(), second);
  // The text has scrolled to the end: the wave is under the name still.
  EXPECT_GT(PixelsUnder(w->txtMain, second, second + 1, QColor(230, 150, 0)), 2);
  tools->nextProblem->trigger();
  EXPECT_EQ(w->txtMain->textCursor().position(), first);  // around the end
  tools->previousProblem->trigger();
  EXPECT_EQ(w->txtMain->textCursor().position(), second);
  // Edits read again in part, the text taken from the document's lines, give the findings of
  // a whole reading of the same text.
  CogLive* live = CogLive::Of(w->txtMain);
  const auto all = [](const CogScript& s) {
    QStringList out;
    for (const CogFinding& f : s.findings)
      out << QStringLiteral("%1 %2:%3-%4:%5 %6").arg(f.code).arg(f.at.line).arg(f.at.column).arg(f.endLine).arg(f.endColumn).arg(f.message);
    return out;
  };
  // The Problems list shown follows by the rows that changed, its current row staying on its
  // finding.
  tools->status->click();
  QTableView* problems = tools->problems;
  QAbstractItemModelTester tester(problems->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  problems->setCurrentIndex(problems->model()->index(problems->model()->rowCount() - 1, 4));
  const QString current = problems->currentIndex().data().toString();
  EXPECT_TRUE(current.startsWith(QStringLiteral("'y'"))) << current.toStdString();
  QTextCursor c(w->txtMain->document()->findBlockByNumber(w->txtMain->document()->blockCount() / 2));
  for (const QString& typed : {QStringLiteral("  x = Sleep(1, 2);\n"), QStringLiteral("\n"), QStringLiteral("{"),
                               big.mid(100, 700), QStringLiteral("}")}) {
    c.insertText(typed);
    live->ReadNow();
    EXPECT_EQ(all(*live->Script()), all(ParseCogScript(w->txtMain->WidgetText()))) << typed.toStdString();
    EXPECT_EQ(problems->model()->rowCount(), int(live->Script()->findings.size()));
    // (until the "{" hides the findings after it)
    if (typed.size() > 1 && !typed.contains(u'{')) {
      EXPECT_EQ(problems->currentIndex().data().toString(), current);
    }
  }
  c.select(QTextCursor::BlockUnderCursor);
  c.removeSelectedText();
  w->txtMain->undo();
  live->ReadNow();
  EXPECT_EQ(all(*live->Script()), all(ParseCogScript(w->txtMain->WidgetText())));
}

TEST_F(ScrivaneTest, DefinitionUsesCompletionAndRename) {
  frmScrivane* w = StartWith(kScript);
  CogTools* tools = CogTools::Of(main.get());
  Checked(w);
  const int decl = int(kScript.indexOf(QLatin1String("offlight")));
  const int use = int(kScript.indexOf(QLatin1String("offlight, 0.1")));
  // Go to definition: by the key, and by Ctrl+click.
  Put(w, use + 2);
  tools->goToDefinition->trigger();
  EXPECT_EQ(w->txtMain->textCursor().selectionStart(), decl);
  EXPECT_EQ(w->txtMain->textCursor().selectedText(), QStringLiteral("offlight"));
  QTextCursor at(w->txtMain->document());
  at.setPosition(int(kScript.indexOf(QLatin1String("startup:"))) + 2);
  Put(w, 0);
  QTest::mouseClick(w->txtMain->viewport(), Qt::LeftButton, Qt::ControlModifier, w->txtMain->cursorRect(at).center());
  EXPECT_EQ(w->txtMain->textCursor().selectionStart(), kScript.indexOf(QLatin1String("startup\n")));
  // Find Uses: the declaration and the one use, not the comment, the string or the misspelling.
  Put(w, use);
  tools->findUses->trigger();
  ASSERT_EQ(tools->uses->topLevelItemCount(), 2);
  EXPECT_EQ(tools->uses->topLevelItem(0)->text(0) + ' ' + tools->uses->topLevelItem(1)->text(0), QStringLiteral("2 10"));
  EXPECT_EQ(CogLive::Of(w->txtMain)->UseMarks().size(), 2u);
  // Completion: one candidate goes in at once; a verb comes with "(" and its help.
  w->txtMain->moveCursor(QTextCursor::End);
  w->txtMain->insertPlainText(QStringLiteral("offl"));
  tools->completeWord->trigger();
  EXPECT_TRUE(w->txtMain->toPlainText().endsWith(QStringLiteral("end\nofflight")));
  w->txtMain->insertPlainText(QStringLiteral("\nThingLig"));
  tools->completeWord->trigger();
  ASSERT_TRUE(tools->completions->isVisible());
  EXPECT_EQ(tools->completions->item(0)->text(), QStringLiteral("thinglight\tverb"));
  QTest::keyClick(tools->completions, Qt::Key_Return);
  EXPECT_TRUE(w->txtMain->toPlainText().endsWith(QStringLiteral("\nthinglight(")));
  EXPECT_TRUE(w->picMain->isVisible());
  // Rename: declaration and uses, never the comment, the string or a longer name; one undo.
  w->txtMain->SetText(kScript);
  Checked(w);
  prompts.inputAnswers = {QStringLiteral("dimlight")};
  // Through the text's context menu, at the caret.
  Put(w, use + 1);
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, w->txtMain->cursorRect().center(),
                            w->txtMain->mapToGlobal(w->txtMain->cursorRect().center()));
  QCoreApplication::sendEvent(w->txtMain, &menuKey);
  QMenu* menu = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<QMenu*>(top); m && m->isVisible()) menu = m;
  ASSERT_TRUE(menu);
  QAction* rename = menu->findChild<QAction*>(QStringLiteral("mnuContextRename"));
  ASSERT_TRUE(rename);
  rename->trigger();
  menu->close();
  QString renamed = kScript;
  renamed.replace(QStringLiteral("flex offlight"), QStringLiteral("flex dimlight"));
  renamed.replace(QStringLiteral("lamp, offlight"), QStringLiteral("lamp, dimlight"));
  EXPECT_EQ(w->txtMain->toPlainText(), renamed);
  w->txtMain->undo();
  EXPECT_EQ(w->txtMain->toPlainText(), kScript);
  // Refused: a name taken by the game, or the caret on no declared symbol.
  Checked(w);
  prompts.inputAnswers = {QStringLiteral("Sleep")};
  tools->RenameAtCaret(use + 1);
  prompts.inputAnswers = {QStringLiteral("x")};
  tools->RenameAtCaret(int(kScript.indexOf(QLatin1String("oflight"))));
  EXPECT_EQ(w->txtMain->toPlainText(), kScript);
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{"The name 'Sleep' is already used in this script or by the game.",
                                                       "The caret is on no symbol declared in the symbols section."}));
}

TEST_F(ScrivaneTest, TheGameChosenInOptionsIsCheckedFor) {
  frmScrivane* w = StartWith(QStringLiteral("symbols\nmessage startup\nend\ncode\nstartup:\n  AISetInterest(1, 2);\n  return;\nend\n"));
  CogTools* tools = CogTools::Of(main.get());
  Checked(w);
  EXPECT_EQ(tools->status->text(), QStringLiteral("0 errors, 0 warnings"));
  ASSERT_TRUE(tarvex::prefs::CheckGame.Set(QStringLiteral("jk")));
  tools->RecheckAll();
  EXPECT_TRUE(QTest::qWaitFor([&] { return tools->status->text() == QStringLiteral("0 errors, 1 warning"); }, 5000));
  // Taken off the text box, the checking leaves nothing behind that paints.
  delete w->txtMain->findChild<CogLive*>();
  EXPECT_FALSE(w->txtMain->grab().isNull());
  EXPECT_FALSE(w->txtMain->findChild<LineGutter*>()->grab().isNull());
}
