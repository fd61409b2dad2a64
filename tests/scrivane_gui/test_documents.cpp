// Documents and the main window around them: files and their prompts, fonts, drops, execute
// requests, the status bar and where the windows open.
#include <QDropEvent>
#include <QLocalSocket>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <memory>
#ifndef Q_OS_WIN
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "common/files.h"
#include "scrivane/gui/frmchksyn.h"
#include "scrivane_fixture.h"

using namespace scrivane;
using tarvex::MsgResult;

// A start with no file: one new document from the default script; Print.
TEST_F(ScrivaneTest, StartWithEmptyAndPrint) {
  Start();
  ASSERT_EQ(main->colCogs.size(), 1);
  frmScrivane* w = main->colCogs.first();
  EXPECT_EQ(std::tuple(w->Caption() + w->Tag + w->strFile, w->txtMain->Text(), w->lvwCogParams->topLevelItemCount()),
            std::tuple(QStringLiteral("Cog 1cog1blank"), DefaultCogText(), 47));
  // Print: a cancelled dialog prints nothing, then the PDF is written.
  const QString pdf = files.filePath(QStringLiteral("out.pdf"));
  prompts.printAnswers = {std::nullopt, pdf};
  main->mnuFilePrint_Click();
  EXPECT_FALSE(QFile::exists(pdf));
  main->mnuFilePrint_Click();
  EXPECT_TRUE(ReadFile(pdf).startsWith("%PDF"));
}

// One walk through open, Save All, edit, save, Save As of a never-saved document, the close
// prompts and Exit.
TEST_F(ScrivaneTest, OpenEditSaveAndClosePrompts) {
  const QString path = WriteFile(QStringLiteral("a.cog"), "abc");
  const QString mixed = WriteFile(QStringLiteral("mixed.cog"), "a\r\nb\nc\rd\r\n");
  Start(path);
  main->mnuFileNew_Click();
  main->OpenFile(mixed);
  frmScrivane *a = main->colCogs[0], *w = main->colCogs[1], *l = main->colCogs[2];
  // Save All shows the count, then each window before its save, modified or not; the current
  // window stays current.
  prompts.fileAnswers.push_back(std::nullopt);  // the never-saved window's dialog is cancelled
  main->mnuFileSaveAll_Click();
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{"3", path + " a.cog", "blank Cog 2", mixed + " mixed.cog"}));
  ASSERT_EQ(prompts.records.size(), 5u);
  EXPECT_EQ(prompts.records[3].kind, tarvex::test::PromptRecord::SaveFile);  // between the 3rd and 4th message
  EXPECT_EQ(main->strCurCog, l->Tag);
  // Unedited files come back byte for byte, but for the line end one without it gains.
  EXPECT_EQ(ReadFile(path) + ReadFile(mixed), QByteArray("abc\r\na\r\nb\nc\rd\r\n"));

  prompts.Clear();
  main->strCurCog = a->Tag;
  a->txtMain->SetSelStart(3);
  Type(a, QStringLiteral("d"));
  Type(a, QStringLiteral("e"));
  EXPECT_EQ(a->Caption(), QStringLiteral("a.cog*"));
  main->mnuFileSave_Click();
  main->mnuFileSave_Click();  // saving again without change does not grow the file
  EXPECT_EQ(a->Caption(), QStringLiteral("a.cog"));
  EXPECT_EQ(ReadFile(path), QByteArray("abcde\r\n"));
  // Mixed line ends: each line keeps its own through edits within it, a new line takes the
  // majority's (CR LF); a line typed at the end of the CR line splits it, its end stays first.
  main->strCurCog = l->Tag;
  EXPECT_EQ(l->txtMain->Text(), QStringLiteral("a\r\nb\r\nc\r\nd\r\n"));
  l->txtMain->SetSelStart(3);
  Type(l, QStringLiteral("x"));
  l->txtMain->SetSelStart(9);
  Type(l, QStringLiteral("\nnew"));
  main->mnuFileSave_Click();
  EXPECT_EQ(ReadFile(mixed), QByteArray("a\r\nxb\nc\rnew\r\nd\r\n"));
  EXPECT_TRUE(prompts.records.empty());

  // A never-saved document: closing it, Yes, then a cancelled Save As keeps window and text.
  main->strCurCog = w->Tag;
  Type(w, QStringLiteral("x"));
  prompts.Clear({MsgResult::Yes});
  prompts.fileAnswers.push_back(std::nullopt);
  main->mnuFileClose_Click();
  ASSERT_TRUE(main->colCogs.size() == 3 && w->bMod);
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{"Save changes to Cog 2*?"}));
  prompts.Clear();
  prompts.fileAnswers.push_back(QDir::toNativeSeparators(files.filePath(QStringLiteral("new"))));
  main->mnuFileSave_Click();
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].file.folder, program.path());  // the default: the data folder
  EXPECT_EQ(w->Caption() + w->strFileTitle, "new.cognew.cog");  // saved: no mark
  EXPECT_TRUE(QFile::exists(files.filePath(QStringLiteral("new.cog"))));
  // A saved document's prompt names its file title; No closes it unsaved.
  Type(w, QStringLiteral("y"));
  prompts.Clear({MsgResult::No});
  main->mnuFileClose_Click();
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{"Save changes to new.cog?"}));
  ASSERT_EQ(main->colCogs, (QList<frmScrivane*>{a, l}));

  // Exit asks every modified window; Cancel on the second question keeps them all running.
  Type(a, QStringLiteral("A"));
  Type(l, QStringLiteral("B"));
  main->strCurCog = a->Tag;
  prompts.Clear({MsgResult::No, MsgResult::Cancel});
  EXPECT_FALSE(main->close());
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{"Save changes to a.cog?", "Save changes to mixed.cog?"}));
  EXPECT_TRUE(main->colCogs.size() == 2 && main->isVisible());
  // No, then Yes: the second window is saved, not the current one.
  prompts.messageAnswers = {MsgResult::No, MsgResult::Yes};
  EXPECT_TRUE(main->close());
  EXPECT_EQ(ReadFile(path) + ReadFile(mixed), QByteArray("abcde\r\na\r\nxb\nc\rnewB\r\nd\r\n"));
  EXPECT_EQ(std::pair(main->colCogs.size(), main->windowTitle()), std::pair(qsizetype(0), QStringLiteral("Scrivane by Halvard")));
  EXPECT_EQ(Stored("DefOpenDir"), program.path());  // the folders were written at unload
  main.reset();
}

// What a command line opens: a template that is not there, nothing (which names are templates:
// Shell's table); a quoted path names no file (the quotes are kept); a backslash is part of a
// file's name; a path in a folder that does not exist fails with its reason; a path that names no
// file yet opens a new document named after it, not modified, which the first Save creates
// unasked, unless its name came with bytes that could not be read (the file may be there).
TEST_F(ScrivaneTest, CommandLinesOpenTemplatesScriptsAndKeepQuotes) {
  const QString quoted = '"' + WriteFile("q.cog", "q\r\n") + '"', lost = Local("no/such/folder/x.cog");
  const struct { const char* name; QString commandLine, captions, text, message; } cases[] = {
      {"template", "x.cgt", "", "", "Cannot open \"x.cgt\": No such file or directory"},
      {"quoted", quoted, "", "", "Cannot open \"" + quoted + "\": No such file or directory"},
#ifndef Q_OS_WIN
      {"backslash", WriteFile("we\\ird.cog", "w\r\n"), "we\\ird.cog", "w\r\n", ""},
#endif
      {"no such folder", lost, "", "", "Cannot open \"" + lost + "\": No such file or directory"},
      {"undecodable name", Local("m\uFFFDp.cog"), "", "",
       "Cannot open \"" + Local("m\uFFFDp.cog") +
           "\": the name holds bytes that the system's character set cannot read; rename the file to open it."},
      {"not there yet", Local("fresh.cog"), "fresh.cog", DefaultCogText(), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    main.reset();
    prompts.Clear();
    Start(c.commandLine);
    EXPECT_EQ(Captions().join('|'), c.captions);
    if (!c.text.isEmpty()) { EXPECT_EQ(main->colCogs[0]->txtMain->Text(), c.text); }
    EXPECT_EQ(prompts.Messages(), c.message.isEmpty() ? std::vector<QString>() : std::vector<QString>{c.message});
  }
  frmScrivane* w = main->colCogs[0];
  EXPECT_EQ(w->strFile, Local("fresh.cog"));
  EXPECT_FALSE(w->bMod || QFile::exists(w->strFile));
  main->mnuFileSave_Click();
  EXPECT_TRUE(prompts.records.empty());
  EXPECT_EQ(QString::fromLatin1(ReadFile(w->strFile)).left(20), DefaultCogText().left(20));
}

TEST_F(ScrivaneTest, UnreadableFileLeavesNoWindowBoundToIt) {
  Start();
  const QString missing = Local("gone.cog");
  main->OpenFile(missing);
  prompts.fileAnswers.push_back(files.path());  // a folder, not a file
  main->mnuFileOpen_Click();
  std::vector<QString> expected{"Cannot open \"" + missing + "\": No such file or directory",
                                "Cannot open \"" + files.path() + "\": It is a folder, not a file."};
#ifndef Q_OS_WIN
  // A pipe would have the read wait for a writer for ever.
  const QString pipe = Local("pipe.cog");
  ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  main->OpenFile(pipe);
  expected.push_back("Cannot open \"" + pipe + "\": It is not a regular file.");
#endif
  // A file far too large for a script (a disk image dropped by mistake) is refused before it
  // is read, not read until memory runs out. It takes no room: the file has a hole.
  QFile huge(Local("huge.cog"));
  ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(tarvex::kMostFileBytes + 1));
  huge.close();
  main->OpenFile(huge.fileName());
  expected.push_back("Cannot open \"" + huge.fileName() + "\": It is too large: 257 MB, where at most 256 MB are read.");
  EXPECT_EQ(main->colCogs.size(), 1);  // only the start-up window
  EXPECT_EQ(prompts.Messages(), expected);
  // With no window left, Save All counts none; Save, the Edit menu and Check Syntax do nothing.
  prompts.Clear();
  main->mnuFileClose_Click();
  main->mnuEdit[2]->setEnabled(true);
  main->EnableCheckSyntax();
  for (QAction* a : {main->mnuFileSaveAll, main->mnuFileSave, main->mnuEdit[0], main->mnuEdit[1], main->mnuEdit[2],
                     main->mnuEdit[3], main->mnuEdit[4], main->mnuEditChkSyn})
    a->trigger();
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{"0"}));
  EXPECT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(main->findChild<frmChkSyn*>(), nullptr);
}

// A failed Save or Save As says why and leaves the file as it was and the document modified and
// bound to its file: a folder that takes no new file (the save goes through once it does), a
// folder that is not there, a character the code page cannot hold.
TEST_F(ScrivaneTest, FailedSaveKeepsDocumentModifiedAndSaysWhy) {
  const QString path = WriteFile(QStringLiteral("ro.cog"), "old\r\n"), bad = Local("no/such/folder/x.cog");
  Start(path);
  frmScrivane* w = main->colCogs[0];
  Type(w, QStringLiteral("new "));
  {
    tarvex::test::ReadOnlyFolder readOnly(files.path());
    if (!readOnly.Ok()) GTEST_SKIP() << "cannot make a read-only folder here";
    main->mnuFileSave_Click();
  }
  prompts.fileAnswers.push_back(bad);
  main->mnuFileSaveAs_Click();
  Type(w, QStringLiteral("\r\n\u4E2D"));
  main->mnuFileSave_Click();
  const std::vector<QString> said = prompts.Messages();
  ASSERT_EQ(said.size(), 3u);
  EXPECT_TRUE(said[0].startsWith("Cannot save \"" + path + '"') && said[1].contains(bad) && said[2].contains("U+4E2D"));
  EXPECT_TRUE(w->bMod && w->strFile == path && w->Caption() == "ro.cog*");
  EXPECT_EQ(ReadFile(path), QByteArray("old\r\n"));
  w->txtMain->undo();
  main->mnuFileSave_Click();
  EXPECT_EQ(ReadFile(path), QByteArray("new old\r\n"));
}

// A file dropped on a document's text or on a tree opens as on the main window (its first
// local file); addresses that are no local files are refused and never typed into the text.
TEST_F(ScrivaneTest, FileDropsAnywhereOpenTheFirstLocalFile) {
  Start();
  frmScrivane* w = main->colCogs.first();
  const QString before = w->txtMain->Text();
  const auto drop = [](QWidget* target, const QMimeData* data) {
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted()) QApplication::sendEvent(target, &dropped);
    return enter.isAccepted() && dropped.isAccepted();
  };
  QMimeData web, local;
  web.setUrls({QUrl(QStringLiteral("https://example.org/a.cog"))});
  local.setUrls({QUrl(QStringLiteral("https://example.org/a.cog")),
                 QUrl::fromLocalFile(WriteFile(QStringLiteral("d1.cog"), "1")),
                 QUrl::fromLocalFile(WriteFile(QStringLiteral("d2.cog"), "2"))});
  for (QWidget* target : {static_cast<QWidget*>(main.get()), w->txtMain->viewport(), main->tvwBramwise->viewport(),
                          main->tvwCog->viewport()}) {
    EXPECT_FALSE(drop(target, &web)) << target->objectName();
    EXPECT_TRUE(drop(target, &local)) << target->objectName();
    EXPECT_EQ(main->colCogs.last()->Caption(), QStringLiteral("d1.cog"));
  }
  EXPECT_EQ(main->colCogs.size(), 5);
  EXPECT_EQ(w->txtMain->Text(), before);
}

TEST_F(ScrivaneTest, ExecuteRequestOverTheLocalSocket) {
#ifndef Q_OS_WIN
  // The server's name holds the real login name, whatever $USER says.
  const QByteArray user = qgetenv("USER");
  qputenv("USER", "someone-else");
  EXPECT_EQ(frmMain::DefaultDdeServerName(), "Scrivane-" + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name));
  qputenv("USER", user);
#endif
  Start();
  const QString name = QStringLiteral("ScrivaneTest-%1").arg(QCoreApplication::applicationPid());
  ASSERT_TRUE(main->StartDdeServer(name));
  // A peer that writes on and on without ending its line is cut off and opens nothing.
  QLocalSocket endless;
  endless.connectToServer(name);
  ASSERT_TRUE(endless.waitForConnected(2000));
  const QByteArray block(64 * 1024, 'a');
  for (int i = 0; i < 100 && endless.state() == QLocalSocket::ConnectedState; ++i) {
    endless.write(block);
    QTest::qWait(5);
  }
  EXPECT_NE(endless.state(), QLocalSocket::ConnectedState);
  // Sixteen clients may wait at once (the one below is the sixteenth); more are closed at once.
  std::vector<std::unique_ptr<QLocalSocket>> idle;
  const auto connectIdle = [&] {
    idle.push_back(std::make_unique<QLocalSocket>());
    idle.back()->connectToServer(name);
    return idle.back()->waitForConnected(2000);
  };
  for (int i = 0; i < 15; ++i) ASSERT_TRUE(connectIdle()) << i;
  const QString path = WriteFile(QStringLiteral("dde.cog"), "dde\r\n");
  QLocalSocket sock;
  sock.connectToServer(name);
  ASSERT_TRUE(sock.waitForConnected(2000));
  sock.write((path + QStringLiteral("\n")).toUtf8());
  sock.flush();
  for (int i = 0; i < 200 && main->colCogs.size() < 2; ++i) QTest::qWait(10);
  ASSERT_EQ(main->colCogs.size(), 2);
  EXPECT_EQ(main->colCogs[1]->Caption(), QStringLiteral("dde.cog"));
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{path}));
  ASSERT_TRUE(connectIdle() && connectIdle());  // the sixteenth again, and one too many
  for (int i = 0; i < 200 && idle.back()->state() == QLocalSocket::ConnectedState; ++i) QTest::qWait(10);
  EXPECT_NE(idle.back()->state(), QLocalSocket::ConnectedState);
  EXPECT_EQ(idle[15]->state(), QLocalSocket::ConnectedState);
  // A second Scrivane finds the name taken and does not listen.
  frmMain other;
  EXPECT_FALSE(other.StartDdeServer(name));
}

TEST_F(ScrivaneTest, MissingDataFilesAreReportedOnceAndDocumentsStartEmpty) {
  QFile::remove(program.filePath(QStringLiteral("default.cog")));
  QFile::remove(program.filePath(QStringLiteral("messages.dat")));
  Start();
  ASSERT_EQ(prompts.Messages().size(), 1u);
  for (const QString& named : {QStringLiteral("default.cog"), QStringLiteral("messages.dat"), program.path()})
    EXPECT_TRUE(prompts.Messages()[0].contains(named)) << named;
  ASSERT_EQ(main->colCogs.size(), 1);
  EXPECT_EQ(std::pair(main->colCogs[0]->txtMain->Text(), main->colCogs[0]->lvwCogParams->topLevelItemCount()), std::pair(QString(), 0));
}

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
  // A place wider than the room kept for it widens the field: it is never cut.
  main->lblCaretPos->setText(QStringLiteral("Ln 1234567, Col 1234567"));
  tarvex::test::ProcessEvents();
  tarvex::test::ProcessEvents();
  EXPECT_GE(main->lblCaretPos->width(), main->lblCaretPos->sizeHint().width());
  // A second document takes over the bar; closing every document empties it.
  main->mnuFileNew_Click();
  EXPECT_EQ(main->lblLineEnd->text() + ' ' + main->lblCaretPos->text(), QStringLiteral("CRLF Ln 1, Col 1"));
  main->mnuFileClose_Click();
  main->mnuFileClose_Click();
  tarvex::test::ProcessEvents();
  EXPECT_TRUE(main->lblCaretPos->text().isEmpty());
}

// The first document window lies inside its area, its close button with it. CTest runs this
// also at the scale factors 1.25, 1.5 and 2 (QT_SCALE_FACTOR), checking the factor took effect.
TEST_F(ScrivaneTest, FirstDocumentWindowFitsAtTheScreensScale) {
  Start();
  EXPECT_EQ(main->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble());
  EXPECT_TRUE(QRect(QPoint(0, 0), main->mdiArea->viewport()->size()).contains(main->SubWindowOf(main->colCogs[0])->geometry()));
}

// The main window opens where it was and stores where it is; the first document fills the
// area, the next opens offset to fill the rest, and both follow the area as the main window
// grows after start (as one started maximized does), unless the user moved or arranged them;
// the Window menu tiles and lists the windows; a new window takes the lowest number not in use
// above the count of windows.
TEST_F(ScrivaneTest, DocumentWindowsOpenTileAndAreNumbered) {
  using namespace tarvex::prefs;
  for (auto [pref, v] : {std::pair{&WindowLeft, 20}, {&WindowTop, 30}, {&WindowWidth, 640}, {&WindowHeight, 480}})
    pref->Set(v);
  Start();
  EXPECT_EQ(main->geometry(), QRect(20, 30, 640, 480));
  QSize area = main->mdiArea->viewport()->size();
  QMdiSubWindow* first = main->SubWindowOf(main->colCogs[0]);
  EXPECT_EQ(first->geometry(), QRect(QPoint(0, 0), area));
  main->mnuFileNew_Click();
  QMdiSubWindow* second = main->SubWindowOf(main->colCogs[1]);
  const QRect offset = second->geometry();
  EXPECT_GT(offset.left(), 0);
  EXPECT_EQ(offset.bottomRight(), QRect(QPoint(0, 0), area).bottomRight());
  main->mnuFileNew_Click();
  QMdiSubWindow* moved = main->SubWindowOf(main->colCogs[2]);
  moved->move(moved->pos() + QPoint(7, 3));
  const QRect movedPlace = moved->geometry();
  main->resize(1200, 800);
  tarvex::test::ProcessEvents();
  area = main->mdiArea->viewport()->size();
  EXPECT_EQ(first->geometry(), QRect(QPoint(0, 0), area));
  EXPECT_EQ(second->geometry(), QRect(offset.topLeft(), area - QSize(offset.left(), offset.top())));
  EXPECT_EQ(moved->geometry(), movedPlace);
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
  const QRect tiled = first->geometry();
  main->resize(main->size() - QSize(100, 100));  // arranged by the user: the windows keep their places
  tarvex::test::ProcessEvents();
  EXPECT_EQ(first->geometry(), tiled);
  emit main->mnuWindow->aboutToShow();
  QStringList listed;
  for (QAction* a : main->mnuWindow->actions())
    if (a->isCheckable()) listed << a->text() + (a->isChecked() ? "+" : "");
  EXPECT_EQ(listed, (QStringList{"&1 Cog 1", "&2 Cog 2", "&3 Cog 3+"}));
  // From windows 1, 2 and 3: closing 3, New gives 3 again; closing 1, New gives 4 (3 is taken).
  main->SubWindowOf(main->colCogs[2])->close();
  main->mnuFileNew_Click();
  EXPECT_EQ(main->colCogs[2]->Tag, QStringLiteral("cog3"));
  main->SubWindowOf(main->colCogs[0])->close();
  main->mnuFileNew_Click();
  EXPECT_EQ(Captions(), (QStringList{"Cog 2", "Cog 3", "Cog 4"}));
  main->setGeometry(40, 50, 600, 400);
  main->close();
  EXPECT_EQ(QRect(WindowLeft.Get(), WindowTop.Get(), WindowWidth.Get(), WindowHeight.Get()), QRect(40, 50, 600, 400));
}
