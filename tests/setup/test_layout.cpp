// The tool set's folder as the build lays it out: the file list and the icons it names.
#include <QDir>
#include <QImage>
#include <QImageReader>

#include "scrivane/setup/core/regfile.h"
#include "tests/setup/setup_fakes.h"

#ifdef TARVEX_BIN_DIR
namespace {

const QDir kBin(QStringLiteral(TARVEX_BIN_DIR));

// The list names every file of the folder, and an installation from it copies them all, the
// templates into their own folder.
TEST(ToolSetFolder, FileListNamesEverythingAndInstallsWhole) {
  QStringList names = QString::fromUtf8(pendrel::test::ReadBytes(kBin.filePath("tarvex-filelist.txt")))
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  for (const char* expected : {"default.cog", "messages.dat", "cogref.dat", "COGPage.ico", "CGTPage.ico", "DATPage.ico",
                                  "JKUni.ico", "COGPage.png", "CGTPage.png", "DATPage.png", "JKUni.png",
                                  "templates/switch_door.cgt"})
    EXPECT_TRUE(names.contains(expected)) << expected;
  EXPECT_TRUE(names.contains(pendrel::ProgramFileName(QStringLiteral("tarvex-setup"))));
  for (const char* program : {"Scrivane", "Lirrel", "Orvane"})
    EXPECT_TRUE(names.contains(pendrel::ProgramFileName(QLatin1String(program)))) << program;
  EXPECT_EQ(names.removeDuplicates(), 0);

  // Everything but the registry file, which would land in the build folder.
  struct NoRegistryFile : pendrel::test::FaultyFiles {
    bool WriteFile(const QString&, const QByteArray&, QString*) override { return true; }
  } files;
  pendrel::test::RecordingShell shell;
  tarvex::test::ScriptedPrompts prompts;
  QTemporaryDir inst;
  pendrel::Install({kBin.path(), inst.path(), {}, pendrel::Associations::RegistryEditor, {}, {}, {}}, files, shell);
  for (const QString& name : names)
    EXPECT_EQ(pendrel::test::ReadBytes(QDir(inst.path()).filePath(name)), pendrel::test::ReadBytes(kBin.filePath(name)))
        << name.toStdString();
  for (const auto& r : prompts.records) EXPECT_FALSE(r.text.startsWith("Error copying file")) << r.text.toStdString();
}

TEST(ToolSetFolder, IconsHoldFourSizesAndADesktopPicture) {
  for (const char* icon : {"COGPage", "CGTPage", "DATPage", "JKUni"}) {
    SCOPED_TRACE(icon);
    QImageReader ico(kBin.filePath(QLatin1String(icon) + QStringLiteral(".ico")));
    ASSERT_EQ(ico.imageCount(), 4) << ico.errorString().toStdString();
    QList<int> sizes;
    for (int i = 0; i < 4 && ico.jumpToImage(i); ++i) {
      const QImage img = ico.read();
      EXPECT_TRUE(img.hasAlphaChannel());
      sizes << img.width();
    }
    EXPECT_EQ(sizes, (QList<int>{16, 32, 48, 256}));
    const QImage png(kBin.filePath(QLatin1String(icon) + QStringLiteral(".png")));
    EXPECT_EQ(png.size(), QSize(48, 48));
  }
}

}  // namespace
#endif
