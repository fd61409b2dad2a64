// What one run of Scrivane leaves to the next: recent files (also from two programs running
// at once), the font chosen in the real font dialog and hand-edited settings.
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QTimer>
#include <algorithm>

#include "scrivane_fixture.h"

using namespace scrivane;

namespace {

QStringList StoredRecent() { return tarvex::test::Map(tarvex::prefs::MRU, [](const tarvex::TextPref& key) { return key.Get(); }); }

// Runs the command in the current folder given, then goes back.
class InFolder {
 public:
  explicit InFolder(const QString& folder) : old_(QDir::currentPath()) { QDir::setCurrent(folder); }
  ~InFolder() { QDir::setCurrent(old_); }

 private:
  QString old_;
};

class RestartTest : public ScrivaneTest {
 protected:
  // View > Fonts through the real dialog, confirmed with OK without a change; the font the
  // dialog showed.
  QFont FontDialogOkUnchanged() {
    QFont shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QFontDialog*>(w); d && d->isVisible()) {
          shown = d->currentFont();
          d->accept();
        }
    });
    poll.start(10);
    tarvex::SetPrompts(nullptr);
    main->mnuViewFont_Click();
    tarvex::SetPrompts(&prompts);
    return shown;
  }
};

// OK without a change stores what was stored, on the fonts this machine really has: the
// default "Courier New" (shown as a fallback family here) and families whose slanted style
// is named "Oblique" rather than "Italic".
TEST_F(RestartTest, FontDialogOkWithoutChangeKeepsTheStoredFont) {
  Start();
  const struct { const char* family; int size; } fonts[] = {
      {"Courier New", 8}, {"DejaVu Sans Mono", 10}, {"DejaVu Sans", 11}, {"DejaVu Serif", 9}};
  for (const auto& f : fonts) {
    if (!QFontDatabase::families().contains(f.family) && QString(f.family) != "Courier New") {
      ADD_FAILURE() << f.family << " is not installed (scripts/install-deps.sh installs it)";
      continue;
    }
    for (const int style : {0, 1, 2, 3}) {
      const bool bold = style & 1, italic = style & 2;
      main->defaults.DefFontName = f.family;
      main->defaults.DefFontSize = f.size;
      main->defaults.DefFontBold = bold;
      main->defaults.DefFontItalic = italic;
      // The dialog opens on the family the text shows, in its style of that weight and slant
      // (a slant only where the family has a slanted style).
      const QString family = QFontInfo(main->defaults.Font()).family();
      const QStringList styles = QFontDatabase::styles(family);
      const bool slants = std::any_of(styles.begin(), styles.end(),
                                      [&](const QString& s) { return QFontDatabase::font(family, s, 10).italic(); });
      const QFont shown = FontDialogOkUnchanged();
      SCOPED_TRACE(QString("%1 %2 %3 %4").arg(f.family).arg(f.size).arg(bold).arg(italic).toStdString());
      EXPECT_EQ(QString("%1 %2 %3 %4").arg(shown.family()).arg(shown.pointSize()).arg(shown.bold()).arg(shown.italic()),
                QString("%1 %2 %3 %4").arg(family).arg(f.size).arg(bold).arg(italic && slants));
      EXPECT_EQ(Stored("DefFontName") + ' ' + Stored("DefFontSize") + ' ' + Stored("DefFontBold") + ' ' + Stored("DefFontItalic"),
                QString("%1 %2 %3 %4").arg(f.family).arg(f.size).arg(tarvex::BoolSetting(bold), tarvex::BoolSetting(italic)));
      EXPECT_EQ(main->ActiveCog()->txtMain->font().italic(), italic);
      // The text, and its bold and italic words, in the faces the stored font shows.
      for (const int words : {0, 1, 2}) {
        QFont text = main->ActiveCog()->txtMain->font(), stored = main->defaults.Font();
        for (QFont* font : {&text, &stored}) {
          if (words == 1) font->setBold(true);
          if (words == 2) font->setItalic(true);
        }
        EXPECT_EQ(QFontInfo(text).family() + ' ' + QFontInfo(text).styleName(),
                  QFontInfo(stored).family() + ' ' + QFontInfo(stored).styleName()) << words;
      }
    }
  }
}

// A file named relative to the folder Scrivane started in is kept with its full path; two
// programs running at once keep each other's recent files.
TEST_F(RestartTest, RecentFilesKeepFullPathsAndMergeWithAnotherRunningProgram) {
  for (const char* name : {"raildet.cog", "b.cog", "c.cog"}) WriteFile(name, "x\r\n");
  tarvex::prefs::MRU[0].Set("x.cog:/old/x.cog");
  tarvex::prefs::MRU[1].Set("y.cog:/old/y.cog");
  InFolder here(files.path());
  Start("raildet.cog");
  EXPECT_EQ(main->ActiveCog()->strFile, Local("raildet.cog"));
  EXPECT_EQ(MRU::Tag(main->mnuFileMRU[0]), Local("raildet.cog"));
  // The second program opens two files (one named with a detour) and ends first.
  StartOptions o;
  o.commandLine = "./sub/../b.cog";
  o.listenForDde = false;
  std::unique_ptr<frmMain> second = StartScrivane(o);
  ASSERT_TRUE(second);
  second->OpenFile("c.cog");
  EXPECT_EQ(MRU::Tag(second->mnuFileMRU[1]), Local("b.cog"));
  second->close();
  second.reset();
  EXPECT_EQ(StoredRecent(), QStringList({"c.cog:" + Local("c.cog"), "b.cog:" + Local("b.cog"), "x.cog:/old/x.cog",
                                         "y.cog:/old/y.cog"}));
  // This program's own files first, then what the other one stored; each name once.
  main->OpenFile(Local("b.cog"));
  main->close();
  main.reset();
  EXPECT_EQ(StoredRecent(), QStringList({"b.cog:" + Local("b.cog"), "raildet.cog:" + Local("raildet.cog"),
                                         "c.cog:" + Local("c.cog"), "x.cog:/old/x.cog"}));
}

// Values edited by hand that the program would never write read as the defaults (a size that
// is no number or out of range, a name that is empty, a flag that is neither True nor False),
// others are read as written; the recent-files menu shows no empty numbered entry between others.
TEST_F(RestartTest, HandEditedSettingsFallBackToDefaults) {
  const char* mru[] = {"a.cog:/p/a.cog", "no colon here", ":::", "d.cog:/p/d.cog"};
  // (A size that is no number: Prefs.StoredFormsAndUnconvertibleTexts.)
  for (auto [key, value] : {std::pair{"DefFontName", ""}, {"DefFontSize", "600"}, {"DefFontBold", "true"},
                            {"DefFontItalic", "perhaps"}, {"DefOpenDir", "C:\\a, b"}})
    tarvex::SaveSetting("Scrivane", "Defaults", key, value);
  for (int i = 0; i < 4; ++i) tarvex::prefs::MRU[i].Set(mru[i]);
  Start();
  const EditorDefaults& d = main->defaults;
  EXPECT_EQ(d.DefFontName + ' ' + QString::number(d.DefFontSize), "Courier New 8");
  EXPECT_TRUE(d.DefFontBold && !d.DefFontItalic && d.DefOpenDir == "C:\\a, b");
  const char* shown[] = {"&1 a.cog", "&2 d.cog", "&3 ", "&4 "};
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(main->mnuFileMRU[i]->text() == shown[i] && main->mnuFileMRU[i]->isVisible() == (i < 2)) << i;
  EXPECT_EQ(MRU::Tag(main->mnuFileMRU[1]), "/p/d.cog");
}

}  // namespace
