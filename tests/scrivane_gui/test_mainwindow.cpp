// The main window through real gestures: the trees, the Tree menu, add-symbol, hints, templates, recent files.
#include <QMenu>

#include "scrivane/core/bramwise.h"
#include "scrivane/gui/frmcgt.h"
#include "scrivane_fixture.h"

using namespace scrivane;

const QString kScript =
    "# thing player local\r\nsymbols\r\nflex delay=2.0\r\nthing player local\r\nint count=5\r\nmessage startup\r\nend\r\ncode\r\n"
    "startup:\r\n  // wait\r\n  Sleep(delay);\r\n  x = count + 1;\r\nreturn;\r\nend\r\n";

class MainWindowTest : public ScrivaneTest {
 protected:
  QString Texts() const {  // every node's text in order of addition
    QStringList out;
    for (int i = 1; i <= main->BramwiseNodeCount(); ++i) out << main->BramwiseNode(i)->text(0);
    return out.join('|');
  }
  void WriteProgramFile(const char* name, const QByteArray& bytes) { tarvex::test::WriteBytes(program.filePath(name), bytes); }
  static QString LineOfCaret(frmScrivane* w) { return w->txtMain->textCursor().block().text(); }
};

// Choosing the document builds its tree; Find (any case) and Find Next; Collapse All keeps the
// root open; typing does not rebuild the tree, Refresh does. (Find in the reference tree: KeyboardTest.)
TEST_F(MainWindowTest, ChoosingTheDocumentBuildsTheTreeFindWalksItAndRefreshRebuildsIt) {
  frmScrivane* w = StartWithTree(kScript);
  EXPECT_TRUE(main->tvwCog->isHidden() && !main->tvwBramwise->isHidden() && !main->cmbCog->isHidden());
  EXPECT_EQ(main->tvwBramwise->geometry(), main->tvwCog->geometry());  // made on first use, in its place
  EXPECT_EQ(Texts(), "Cog 1|symbols|code|flex|delay=2.0|int|count=5|startup|message|startup|thing|player|// wait");
  EXPECT_TRUE(main->BramwiseNode(1)->isExpanded() && main->nodBramwise == main->BramwiseNode(1));
  prompts.inputAnswers = {"T"};
  main->mnuCFFind->trigger();
  QStringList hits{main->nodBramwise->text(0)};
  for (int i = 0; i < 4; ++i) main->mnuCFFindNext->trigger(), hits << main->nodBramwise->text(0);
  EXPECT_EQ(hits.join('|'), "count=5|startup|startup|// wait|// wait");  // no wrap-around
  EXPECT_EQ(main->tvwBramwise->currentItem(), main->nodBramwise);
  main->mnuCFExpand->trigger();
  EXPECT_TRUE(Node("symbols")->isExpanded() && Node("startup:")->isExpanded());
  main->mnuCFCollapse->trigger();
  EXPECT_TRUE(Node("root")->isExpanded() && !Node("symbols")->isExpanded() && !Node("code")->isExpanded());
  w->txtMain->SetText("# t\r\nsymbols\r\nint a\r\nint A\r\nend\r\n");
  EXPECT_EQ(main->BramwiseNodeCount(), 13);  // typing does not rebuild
  main->mnuViewRefresh->trigger();
  EXPECT_EQ(Texts(), "Cog 1*|symbols|code|int|a");
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{DuplicateLineMessage()});
  EXPECT_EQ(w->txtMain->SelStart(), 21);  // the later of the two lines
  // The list of documents opens as wide as its longest caption, wider than the drop-down.
  main->OpenFile(WriteFile("a_rather_long_name_for_a_script_in_the_list.cog", "x\r\n"));
  main->cmbCog->showPopup();
  const QAbstractItemView* view = main->cmbCog->view();
  EXPECT_GE(view->viewport()->width(), view->sizeHintForColumn(0));
  EXPECT_GT(view->width(), main->cmbCog->width());
  main->cmbCog->hidePopup();
}

TEST_F(MainWindowTest, LabelEditRenamesEveryUseInOneUndoStepDeleteOnlyUnusedSymbols) {
  frmScrivane* w = StartWithTree(kScript);
  QTreeWidgetItem* count = Node("int count=5\r");
  main->tvwBramwise->setCurrentItem(count);
  main->tvwBramwise->editItem(count);
  auto* editor = main->tvwBramwise->findChild<QLineEdit*>();
  ASSERT_TRUE(editor);
  editor->setText("total=5");
  QTest::keyClick(editor, Qt::Key_Return);
  tarvex::test::ProcessEvents();  // the editor commits on the next turn of the event loop
  EXPECT_TRUE(w->txtMain->Text() == QString(kScript).replace("count", "total") && count->text(0) == "total=5");
  EXPECT_EQ(Undone(w->txtMain), kScript);
  count->setText(0, "");  // an empty label changes nothing, says so and goes back
  EXPECT_TRUE(count->text(0) == "total=5" && w->txtMain->Text() == kScript);
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"\"total\" has not been renamed: a symbol needs a name."});
  prompts.Clear();
  EXPECT_FALSE(Node("int")->flags() & Qt::ItemIsEditable);
  // Delete: refused for a symbol used as Sleep(delay); then the declaration (not the header line), a comment, a label;
  // sections, types and the root stay.
  const char* keys[] = {"flex delay=2.0\r", "thing player local\r", "// wait", "startup:", "code"};
  for (const char* key : keys) {
    main->tvwBramwise->setCurrentItem(Node(key));
    QTest::keyClick(main->tvwBramwise, Qt::Key_Delete);
    EXPECT_TRUE(key != keys[0] || w->txtMain->Text() == kScript);
  }
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"Can not delete: symbol is present in code section"});
  EXPECT_EQ(w->txtMain->Text(), QString(kScript).replace("\nthing player local\r\n", "\n").remove("startup:\r\n").remove("// wait"));
  EXPECT_FALSE(Node("thing") || Node("startup:") || Node("// wait") || !Node("code"));
}

TEST_F(MainWindowTest, AddSymbolInsertsBeforeTheEndLineAndRebuildsWhenShown) {
  frmScrivane* w = StartWithTree(kScript);
  main->cmdAddVar->click();
  main->cmbVarType->setCurrentIndex(12);  // thing
  main->cmdAddVar->click();
  EXPECT_EQ(prompts.Messages().size(), 2u);  // no type, then no name
  main->txtVarName->setText("door");
  main->chkLocal->setChecked(true);
  main->cmdAddVar->click();
  const QString line = SymbolDeclarationLine("thing", "door", "", true, "");
  EXPECT_EQ(w->txtMain->Text(), QString(kScript).replace("end\r\ncode", line + "end\r\ncode"));
  EXPECT_TRUE(Node(line.chopped(1)) && main->BramwiseNodeCount() == 14);  // rebuilt
  main->cmbTvwSel->setCurrentIndex(0);
  main->cmdAddVar->click();
  EXPECT_EQ(w->txtMain->Text().count(line), 2);
  EXPECT_EQ(main->BramwiseNodeCount(), 14);  // hidden: not rebuilt
}

TEST_F(MainWindowTest, ShippedReferenceFillsTheTreeAndMissingOneEndsTheProgram) {
  Start();
  EXPECT_TRUE(main->tvwCog->topLevelItemCount() == 16 && main->CogRefNodeCount() == 16 + 539);
  EXPECT_EQ(main->CogRefNode(2), main->tvwCog->topLevelItem(0)->child(0));  // order of addition
  EXPECT_TRUE(prompts.records.empty());  // a correct file shows no message
  main->close();
  main.reset();
  QFile::remove(program.filePath("cogref.dat"));
  StartOptions o;
  o.listenForDde = false;
  EXPECT_EQ(StartScrivane(o), nullptr);
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"cog.ref needs to be put in " + program.path()});
}

TEST_F(MainWindowTest, ReferenceClickShowsTheDescriptionAndDoubleClickInsertsTheSignature) {
  WriteProgramFile("cogref.dat", ".not a category: the header\r\n.Thing\r\nGetThingHealth(thing)|Health of a thing | in points\r\n"
                                 "NoBar(x)\r\n.Sound\r\nPlaySong(start, end, loop)|Plays CD tracks\r\neof\r\nIgnored(x)|after the end\r\n");
  Start();
  QTreeWidgetItem* thing = main->CogRefNodeByKey("THING");
  QTreeWidgetItem* health = main->CogRefNodeByKey("GetThingHealth(thing)|Health of a thing | in points");
  ASSERT_TRUE(main->tvwCog->topLevelItemCount() == 2 && thing && health && health->text(0) == "GetThingHealth");
  main->tvwCog_NodeClick(thing);
  main->tvwCog_DblClick();  // a category inserts nothing
  frmScrivane* w = main->colCogs[0];
  EXPECT_TRUE(main->txtCogDesc->toPlainText() == "parent" && !w->bMod);
  main->tvwCog_NodeClick(health);
  EXPECT_EQ(main->txtCogDesc->toPlainText(), "Health of a thing | in points");
  w->txtMain->SetText("x = ;");
  w->txtMain->SetSelStart(4);
  w->txtMain->SetSelLength(1);  // ";" selected: the signature goes in front, the ";" stays
  main->tvwCog_DblClick();
  EXPECT_TRUE(w->txtMain->Text() == "x = GetThingHealth(thing);" && w->txtMain->SelStart() == 25);
  main->tvwCog->setCurrentItem(health);
  QTest::keyClick(main->tvwCog, Qt::Key_Down);  // moved with the keys: the description follows
  EXPECT_TRUE(main->tvwCog->currentItem() == main->CogRefNodeByKey("NoBar(x)") && main->txtCogDesc->toPlainText() == "NoBar(x)");
  w->txtMain->SetSelStart(0);
  main->tvwCog_DblClick();
  EXPECT_TRUE(w->txtMain->Text().startsWith("NoBar(x)x = "));
  w->bMod = false;
  main->mnuFileClose_Click();
  main->tvwCog_DblClick();  // no document open: nothing happens
  EXPECT_TRUE(main->colCogs.isEmpty());
}

TEST_F(MainWindowTest, MalformedReferenceStartsAndSaysOnceWhatWasSkippedMessagesComeFromTheirFile) {
  WriteProgramFile("cogref.dat", "header\r\nOrphan(x)|before any category\r\n.Thing\r\n\r\nNoParen|x\r\nA(x)|a\r\nA(x)|a\r\n");
  WriteProgramFile("messages.dat", "activated\r\nstartup\r\ntimer\r\nkilled\r\n");
  Start();
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_TRUE(prompts.Messages()[0].contains("4") && prompts.Messages()[0].contains("Line 2"));
  EXPECT_TRUE(main->tvwCog->topLevelItemCount() == 1 && main->tvwCog->topLevelItem(0)->childCount() == 1);
  QTreeWidget* list = main->colCogs[0]->lvwCogParams;  // the header line is skipped
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_TRUE(list->topLevelItem(0)->text(0) == "startup" && list->topLevelItem(2)->text(0) == "killed");
}

TEST_F(MainWindowTest, MessageListAndFunctionHelpWhileTyping) {
  frmScrivane* w = StartWith(DefaultCogText(), DefaultCogText().indexOf("startup\r\n") + 9);
  QTest::keyClicks(w->txtMain, "message ");
  ASSERT_FALSE(w->picCogParams->isHidden());
  const QRect caret = w->txtMain->cursorRect().translated(w->txtMain->viewport()->mapTo(w, QPoint()));
  EXPECT_GT(w->picCogParams->y(), caret.top());
  // One pixel left of the character before the caret when the blank came: the "e".
  EXPECT_NEAR(w->picCogParams->x(), caret.left() - 1 - QFontMetrics(w->txtMain->font()).horizontalAdvance("e "), 1);
  // The list, given the focus (as by a click), takes letters as the text box does: the first
  // name that starts with them, never Qt's own search that steps on to the next "t".
  auto* names = w->findChild<QTreeWidget*>("lvwCogParams");
  names->setFocus();
  QTest::keyClicks(names, "tt");
  EXPECT_EQ(names->currentItem()->text(0), "timer");
  QTest::keyClicks(w->txtMain, "act");
  EXPECT_EQ(w->lvwCogParams->currentItem()->text(0), "activate");
  QTest::keyClick(w->txtMain, Qt::Key_Return);
  EXPECT_TRUE(w->picCogParams->isHidden() && w->txtMain->Text().contains("startup\r\nmessage activate\r\n\r\n"));
  // From the list itself: Down gives it the focus, Tab puts the typed match in and no tab.
  QTest::keyClicks(w->txtMain, "message ac");
  QTest::keyClick(w->txtMain, Qt::Key_Down);
  EXPECT_TRUE(w->lvwCogParams->hasFocus());
  QTest::keyClick(w->lvwCogParams, Qt::Key_Down);
  QTest::keyClick(w->lvwCogParams, Qt::Key_Tab);
  EXPECT_TRUE(LineOfCaret(w) == "message activate" && w->txtMain->hasFocus());
  // The function help strip in the code section takes room only while shown.
  w->txtMain->SetSelStart(w->txtMain->Text().indexOf("startup:\r\n") + 10);
  const int full = w->txtMain->height();
  QTest::keyClicks(w->txtMain, "  sleep(");
  ASSERT_FALSE(w->picMain->isHidden());
  EXPECT_EQ(w->lblHelp->text(), "Sleep(flex seconds)");
  EXPECT_TRUE(main->txtCogDesc->toPlainText().startsWith("Pauses this cog") && w->txtMain->height() < full);
  QTest::keyClicks(w->txtMain, "f(1)");
  EXPECT_FALSE(w->picMain->isHidden());
  QTest::keyClick(w->txtMain, Qt::Key_ParenRight);
  EXPECT_TRUE(w->picMain->isHidden() && w->txtMain->height() == full);
  QTest::keyClick(w->txtMain, Qt::Key_Backspace);  // over the ")" that closed it
  EXPECT_TRUE(!w->picMain->isHidden() && LineOfCaret(w) == "  sleep(f(1)");
}

// A template named on the command line that cannot be used is refused without a window; one
// opened from the menu is edited in place and generates a new document; closing one generates
// nothing.
TEST_F(MainWindowTest, TemplatesRefusedEditedGeneratedAndClosed) {
  const QString bad = WriteFile("bad.CGT", "2\r\nValue,Name\r\n1,a\r\n2,A\r\nend\r\nbody");
  Start(bad);
  EXPECT_TRUE(!main->TemplateWindow() && main->colCogs.isEmpty());
  const QString endless = WriteFile("endless.cgt", "2\r\nValue,Name\r\n1,a\r\nx = <%a%>;\r\n");
  main->OpenCogTemplate(endless);
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{
                                    QString("The template \"%1\" cannot be used: line 4: the field \"A\" is "
                                            "already named on line 3.").arg(bad),
                                    QString("The template \"%1\" cannot be used: its header has no \"end\" line (a line "
                                            "that is exactly \"end\" before the script).").arg(endless)}));
  // LF line ends: the body still starts right after the "end" line.
  const QString path = WriteFile("door.cgt", "3\nValue,Name,Description\n5,speed,the speed, fast\n1,unused,x\nEND\n"
                                             "x = <%speed%>; y = <%SPEED%>;\nz = <%other%>;\n");
  QDir(program.path()).mkdir("templates");
  prompts.fileAnswers.push_back(path);
  main->mnuOpenTemp_Click();
  EXPECT_EQ(prompts.records.back().file.folder, tarvex::JoinPath(program.path(), "templates"));
  frmCGT* t = main->TemplateWindow();
  ASSERT_TRUE(t && t->lvwCog->topLevelItemCount() == 2);
  QTreeWidgetItem* row = t->lvwCog->topLevelItem(0);  // a comma in the last column stays in it
  EXPECT_EQ(row->text(2), "the speed, fast");
  t->lvwCog->editItem(row, 1);  // the name column stays put
  EXPECT_FALSE(t->lvwCog->findChild<QLineEdit*>());
  t->lvwCog->setCurrentItem(row, 0);  // the value in place, as the user does: F2, type, Enter
  t->lvwCog->setFocus();
  QTest::keyClick(t->lvwCog, Qt::Key_F2);
  QLineEdit* editor = t->lvwCog->findChild<QLineEdit*>();
  ASSERT_TRUE(editor);
  editor->selectAll();
  QTest::keyClicks(editor, "9.5");
  QTest::keyClick(editor, Qt::Key_Return);
  tarvex::test::ProcessEvents();  // the view commits the edit from its event queue
  EXPECT_EQ(row->text(0), "9.5");
  t->cmdGenCog->click();
  tarvex::test::ProcessEvents();
  ASSERT_TRUE(!main->TemplateWindow() && main->colCogs.size() == 1);
  frmScrivane* w = main->colCogs.last();
  EXPECT_TRUE(w->txtMain->Text() == "x = 9.5; y = 9.5;\r\nz = <%other%>;\r\n" && w->txtMain->SelStart() == 0 && w->bMod);
  // The script is the new document's first text: nothing to undo.
  EXPECT_EQ(Undone(w->txtMain), "x = 9.5; y = 9.5;\r\nz = <%other%>;\r\n");
  main->OpenCogTemplate(WriteFile("ok.cgt", "2\nV,N\nend\nbody"));
  ASSERT_TRUE(main->TemplateWindow());
  main->TemplateWindow()->close();
  tarvex::test::ProcessEvents();
  EXPECT_EQ(main->colCogs.size(), 1);
}

TEST_F(MainWindowTest, RecentFilesAcrossRunsAndClicks) {
  const QString a = WriteFile("a.cog", "a\r\n"), rd = WriteFile("R&D.cog", "rd\r\n"), gone = WriteFile("gone.cog", "g\r\n");
  Start();
  const bool barBefore = main->mnuFileBar6->isVisible();
  for (const QString& p : {gone, rd, a}) prompts.fileAnswers.push_back(p), main->mnuFileOpen_Click();
  EXPECT_TRUE(!barBefore && main->mnuFileBar6->isVisible() && main->mnuFileMRU[1]->text() == "&2 R&&D.cog");
  for (auto* w : main->colCogs) w->bMod = false;
  main->close();
  main.reset();
  EXPECT_EQ(tarvex::GetSetting("Scrivane", "MRU", "2") + '|' + tarvex::GetSetting("Scrivane", "MRU", "4"),
            "R&D.cog:" + rd + "|:");  // where the list is stored

  QFile::remove(gone);
  Start();
  const QStringList want = {"&1 a.cog", "&2 R&&D.cog", "&3 gone.cog", "&4 "};
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(main->mnuFileMRU[i]->text() == want[i] && main->mnuFileMRU[i]->isVisible() == (i < 3)) << i;
  main->mnuFileMRU[2]->trigger();  // the file is gone: told, the entry stays
  EXPECT_TRUE(prompts.Messages() == std::vector<QString>{"File does not exist."} && main->mnuFileMRU[2]->text() == "&3 gone.cog");
  main->mnuFileMRU[1]->trigger();
  ASSERT_EQ(main->colCogs.size(), 2);
  EXPECT_TRUE(main->colCogs.last()->strFile == rd && !main->colCogs.last()->bMod);
  EXPECT_EQ(main->mnuFileMRU[0]->text(), "&1 R&&D.cog");
  // A long name is shown shortened in its middle and leaves the menu narrow; the entry shows
  // the full path on the status bar and opens the file under its full name.
  const QString longName = QString(200, 'n') + "-tail.cog", longPath = WriteFile(longName, "l\r\n");
  prompts.fileAnswers.push_back(longPath);
  main->mnuFileOpen_Click();
  const QString shown = main->mnuFileMRU[0]->text();
  EXPECT_TRUE(shown.startsWith("&1 nnn") && shown.contains(QChar(0x2026)) && shown.endsWith("n-tail.cog")) << shown;
  EXPECT_LT(main->mnuFile_m->sizeHint().width(), QFontMetrics(main->mnuFile_m->font()).horizontalAdvance(longName) / 2);
  EXPECT_EQ(main->mnuFileMRU[0]->statusTip(), longPath);
  main->colCogs.last()->bMod = false;
  main->mnuFileClose_Click();
  main->mnuFileMRU[0]->trigger();
  EXPECT_EQ(main->colCogs.last()->Caption(), longName);
}

// The main window shows Scrivane's application icon, not that of the script files it opens,
// and names Scrivane's desktop entry so that docks group it with its launcher.
TEST_F(ScrivaneTest, ShowsItsOwnIconAndNamesItsDesktopEntry) {
  Start();
  const QImage own(QStringLiteral(TARVEX_SOURCE_DIR "/icons/png/48x48/tarvex-scrivane.png"));
  ASSERT_FALSE(own.isNull());
  const QImage shown = main->windowIcon().pixmap(48).toImage();
  EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied), own.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  EXPECT_EQ(QGuiApplication::desktopFileName(), "tarvex-scrivane");
}

// Near the bottom of the text the message list goes above the line being typed; it never
// covers that line, however the window is sized.
TEST_F(MainWindowTest, MessageListNeverCoversTheTypedLine) {
  QString text = "# near the bottom\r\nsymbols\r\n";
  for (int i = 0; i < 200; ++i) text += "int x" + QString::number(i) + "\r\n";
  text += "end\r\n";
  frmScrivane* w = StartWith(text);
  QMdiSubWindow* sub = main->SubWindowOf(w);
  for (const int height : {600, 300, 200, 120}) {
    sub->resize(500, height);
    w->txtMain->SetText(text);
    tarvex::test::ProcessEvents();
    for (const char* line : {"int x2\r\n", "int x60\r\n", "int x199\r\n"}) {
      w->txtMain->SetSelStart(w->txtMain->Text().indexOf(line) + qsizetype(strlen(line)) - 2);
      QTest::keyClicks(w->txtMain, " message ");
      ASSERT_FALSE(w->picCogParams->isHidden()) << height << line;
      const QPoint origin = w->txtMain->viewport()->mapTo(w, QPoint());
      const QRect caret = w->txtMain->cursorRect().translated(origin);
      const QRect typed(0, caret.top(), w->width(), caret.height());
      const QRect list = w->picCogParams->geometry();
      EXPECT_FALSE(list.intersects(typed)) << height << line;
      if (height >= 300) { EXPECT_TRUE(w->txtMain->viewport()->rect().translated(origin).contains(list)) << height << line; }
      QTest::keyClick(w->txtMain, Qt::Key_Backspace);  // the list goes; the words stay
    }
  }
}
