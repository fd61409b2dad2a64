#pragma once
// A started Scrivane with its program folder in a temporary directory, its settings in
// another, and scripted prompts; with the widget headers the window tests share.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeWidget>
#include <memory>

#include "common/paths.h"
#include "common/prefs.h"
#include "common/settings.h"
#include "scrivane/gui/textbox.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"
#include "scrivane/gui/mdlscrivane.h"
#include "tests/support/file_bytes.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_env.h"

class ScrivaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Scrivane"));
    for (const char* f : {"default.cog", "messages.dat", "cogref.dat"})
      QFile::copy(QStringLiteral(TARVEX_SOURCE_DIR "/scrivane/data/") + QLatin1String(f),
                  program.filePath(QString::fromLatin1(f)));
    tarvex::SetProgramFolder(program.path());
  }
  void TearDown() override {
    // Closing leaves nothing behind: no prompt is answered by default with Yes.
    if (main) {
      for (auto* w : main->colCogs) w->bMod = false;
      main->close();
      main.reset();
    }
    tarvex::test::ProcessEvents();
    tarvex::SetProgramFolder(QString());
  }
  void Start(const QString& commandLine = QString()) {
    scrivane::StartOptions o;
    o.commandLine = commandLine;
    o.listenForDde = false;
    main = scrivane::StartScrivane(o);
    ASSERT_TRUE(main);
    tarvex::test::ProcessEvents();
  }
  // Starts with one document holding `text`, not modified, the caret at `caret` and the focus
  // in the text of the active main window.
  scrivane::frmScrivane* StartWith(const QString& text, qsizetype caret = 0) {
    Start();
    main->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(main.get()));
    scrivane::frmScrivane* w = main->CurrentCog();
    w->txtMain->SetText(text);
    w->MarkClean();
    w->txtMain->SetSelStart(caret);
    w->txtMain->setFocus();
    prompts.Clear();
    return w;
  }
  QString DefaultCogText() const {
    return QString::fromLatin1(ReadFile(program.filePath(QStringLiteral("default.cog"))));
  }
  QString WriteFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir::toNativeSeparators(files.filePath(name));
    tarvex::test::WriteBytes(path, bytes);
    return path;
  }
  static QByteArray ReadFile(const QString& path) { return tarvex::test::ReadBytes(path); }
  // The path of a file of the test's files folder, as the program names it.
  QString Local(const QString& name) const { return QDir::toNativeSeparators(files.filePath(name)); }
  static QString Stored(const char* key) {
    return tarvex::GetSetting(QStringLiteral("Scrivane"), QStringLiteral("Defaults"), QString::fromLatin1(key));
  }
  void Type(scrivane::frmScrivane* w, const QString& s) { w->txtMain->insertPlainText(s); }
  // The text after one undo step.
  static QString Undone(scrivane::TextBox* box) { return box->undo(), box->Text(); }
  // File > Save with the document made the current one.
  void Save(scrivane::frmScrivane* w) { main->strCurCog = w->Tag, main->mnuFileSave_Click(); }
  // The captions of the document windows, in order.
  QStringList Captions() const { return tarvex::test::Map(main->colCogs, [](scrivane::frmScrivane* w) { return w->Caption(); }); }
  // A key pressed in a widget, in a document's text or in the widget with the focus; then
  // what it set off has run.
  void Key(QWidget* to, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(to, Qt::Key(key), mods);
    tarvex::test::ProcessEvents();
  }
  void Key(scrivane::frmScrivane* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) { Key(w->txtMain, key, mods); }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Key(QApplication::focusWidget() ? QApplication::focusWidget() : main.get(), key, mods);
  }
  // The explorer's tree shows the document, as the user picks it; StartWithTree starts as
  // StartWith does with the tree of that document shown.
  void ShowTree(scrivane::frmScrivane* w) {
    main->cmbTvwSel->setCurrentIndex(1);
    const int i = int(main->colCogs.indexOf(w));
    main->cmbCog->setCurrentIndex(i);
    emit main->cmbCog->activated(i);
  }
  scrivane::frmScrivane* StartWithTree(const QString& text) {
    scrivane::frmScrivane* w = StartWith(text);
    ShowTree(w);
    prompts.Clear();
    return w;
  }
  QTreeWidgetItem* Node(const QString& key) const { return main->BramwiseNodeByKey(key); }
  // The colouring of a line of the box as it is painted (lines are coloured as they are shown).
  static QList<QTextLayout::FormatRange> PaintedFormats(scrivane::TextBox* box, int line) {
    box->viewport()->repaint();
    return box->document()->findBlockByNumber(line).layout()->formats();
  }

  tarvex::test::TempSettings settings;
  QTemporaryDir program, files;
  tarvex::test::ScriptedPrompts prompts;
  std::unique_ptr<scrivane::frmMain> main;
};
