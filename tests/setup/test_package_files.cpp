// The package's desktop files are static files of the repository; they must say what
// tarvex-setup writes for a user, so that the two registrations never disagree.
#include <QFile>
#include <QMap>
#include <QXmlStreamReader>

#include "scrivane/setup/core/desktop.h"
#include "tests/setup/setup_fakes.h"

namespace {

const QString kLinux = QStringLiteral(TARVEX_SOURCE_DIR "/platform/linux/");

struct PackageType { QString comment, icon, magic; QStringList globs; };

QMap<QString, PackageType> PackageTypes() {
  QMap<QString, PackageType> types;
  QXmlStreamReader xml(tarvex::test::ReadBytes(kLinux + QStringLiteral("tarvex.xml")));
  QString current;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const auto a = xml.attributes();
    if (xml.name() == QLatin1String("mime-type")) current = a.value("type").toString();
    else if (xml.name() == QLatin1String("comment")) types[current].comment = xml.readElementText();
    else if (xml.name() == QLatin1String("icon")) types[current].icon = a.value("name").toString();
    else if (xml.name() == QLatin1String("glob"))
      types[current].globs << a.value("pattern").toString() + QLatin1Char('/') + a.value("weight").toString();
    else if (xml.name() == QLatin1String("match"))
      types[current].magic = a.value("value").toString() + QLatin1Char('@') + a.value("offset").toString();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return types;
}

TEST(PackageFiles, TypesAgreeWithTheInstallers) {
  const QMap<QString, PackageType> package = PackageTypes();
  ASSERT_EQ(package.size(), int(pendrel::GameFileTypes().size()));
  for (const pendrel::GameFileType& t : pendrel::GameFileTypes()) {
    SCOPED_TRACE(t.mimeType.toStdString());
    ASSERT_TRUE(package.contains(t.mimeType));
    const PackageType& p = package[t.mimeType];
    EXPECT_EQ(p.comment, t.comment);
    EXPECT_EQ(p.icon, pendrel::MimeIconName(t.mimeType));
    QStringList globs;
    for (const pendrel::MimeGlob& g : t.globs)
      globs << g.pattern + QLatin1Char('/') + (g.weight == 50 ? QString() : QString::number(g.weight));
    EXPECT_EQ(p.globs, globs);
    EXPECT_EQ(p.magic, t.magic.isEmpty() ? QString() : t.magic + QStringLiteral("@0:4096"));
  }
}

TEST(PackageFiles, DesktopEntriesAgreeWithTheInstallersAndTheWindows) {
  for (const pendrel::DesktopApp& app : pendrel::DesktopApps()) {
    SCOPED_TRACE(app.program.toStdString());
    const QString file = pendrel::DesktopFileName(app.program);
    const QString entry = QString::fromUtf8(tarvex::test::ReadBytes(kLinux + file));
    const auto keys = [&](const char* key) { return pendrel::test::EntryValue(entry, QLatin1String(key)); };
    QStringList types;
    for (const pendrel::GameFileType& t : pendrel::GameFileTypes())
      if (t.program == app.program) types << t.mimeType;
    EXPECT_EQ(keys("Name"), app.program);
    EXPECT_EQ(keys("GenericName"), app.genericName);
    EXPECT_EQ(keys("Comment"), app.comment);
    EXPECT_EQ(keys("MimeType"), types.join(';') + ';');
    // The window names this entry (QGuiApplication::desktopFileName) and shows this icon.
    EXPECT_EQ(keys("Icon") + QStringLiteral(".desktop"), file);
    EXPECT_EQ(keys("Exec"), app.program.toLower() + QStringLiteral(" %f"));  // one file a start
    EXPECT_EQ(keys("StartupWMClass"), app.program);
    EXPECT_TRUE(QFile::exists(QStringLiteral(TARVEX_SOURCE_DIR "/icons/svg/") + keys("Icon") + ".svg"));
  }
}

}  // namespace
