#pragma once
// A started Scrivane with its program folder in a temporary directory, its settings in
// another, and scripted prompts; with the widget headers the window tests share.
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

#include "common/paths.h"
#include "common/prefs.h"
#include "common/settings.h"
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
  void Type(scrivane::frmScrivane* w, const QString& s) { w->txtMain->insertPlainText(s); }

  tarvex::test::TempSettings settings;
  QTemporaryDir program, files;
  tarvex::test::ScriptedPrompts prompts;
  std::unique_ptr<scrivane::frmMain> main;
};
