#pragma once
// A started Scrivane with its program folder in a temporary directory, its settings in
// another, and scripted prompts.
#include <QDir>
#include <QGuiApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "common/paths.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"
#include "scrivane/gui/mdlscrivane.h"
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
  QString DefaultCogText() const {
    QFile f(program.filePath(QStringLiteral("default.cog")));
    f.open(QIODevice::ReadOnly);
    return QString::fromLatin1(f.readAll());
  }
  QString WriteFile(const QString& name, const QByteArray& bytes) {
    const QString path = QDir::toNativeSeparators(files.filePath(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
  }
  static QByteArray ReadFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }
  void Type(scrivane::frmScrivane* w, const QString& s) { w->txtMain->insertPlainText(s); }

  tarvex::test::TempSettings settings;
  QTemporaryDir program, files;
  tarvex::test::ScriptedPrompts prompts;
  std::unique_ptr<scrivane::frmMain> main;
};
