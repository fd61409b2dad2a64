#include <QTabBar>

#include "common/ui/folderlist.h"
#include "scrivane/gui/frmdir.h"
#include "scrivane/gui/frmoptions.h"
#include "scrivane_fixture.h"

using namespace scrivane;

TEST_F(ScrivaneTest, OptionsApplyCancelAndTheFolderChooser) {
  Start();
  QDir(files.path()).mkpath(QStringLiteral("mods/levels"));
  main->mnuViewOptions->trigger();
  frmOptions* o = main->OptionsWindow();
  ASSERT_TRUE(o);
  EXPECT_EQ(o->txtDefOpenDir->text(), program.path());
  EXPECT_FALSE(main->mnuEditChkSyn->isVisible());  // Check Syntax is off until chosen

  // The chooser starts at the nearest folder that exists; OK fills the save field only.
  o->txtDefSaveDir->setText(files.filePath(QStringLiteral("mods/levels/typo")));
  o->cmdShowDir[1]->click();
  frmDir* d = o->DirWindow();
  ASSERT_TRUE(d);
  EXPECT_EQ(d->txtDir->text(), QDir::toNativeSeparators(files.filePath(QStringLiteral("mods/levels"))));
  const QString mods = QDir::toNativeSeparators(files.filePath(QStringLiteral("mods")));
  d->Dir1->setPath(mods);
  EXPECT_EQ(d->txtDir->text(), mods);
  d->cmdOk->click();
  EXPECT_EQ(o->txtDefSaveDir->text(), mods);
  o->cmdShowDir[0]->click();
  o->DirWindow()->txtDir->setText(QStringLiteral("/elsewhere"));
  o->DirWindow()->cmdCancel->click();
  EXPECT_EQ(o->txtDefOpenDir->text(), program.path());

  // Author Info, Check Syntax, Apply; then Cancel keeps what was applied.
  QTest::keyClick(o->txtDefOpenDir, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_TRUE(o->picOptions[0]->isVisible() && !o->picOptions[1]->isVisible());
  o->txtAuthName->setText(QStringLiteral("Mara Jade"));
  o->chkShowCheckSyntax->setChecked(true);
  EXPECT_EQ(o->cboCheckGame->currentText(), QStringLiteral("JK and MotS"));
  o->cboCheckGame->setCurrentIndex(o->cboCheckGame->findText(QStringLiteral("JK")));
  o->cmdApply->click();
  EXPECT_TRUE(main->mnuEditChkSyn->isVisible() && main->mnuEditChkSyn->isEnabled());
  o->txtDefOpenDir->setText(QStringLiteral("/not/applied"));
  o->cmdCancel->click();
  tarvex::test::ProcessEvents();
  EXPECT_FALSE(main->OptionsWindow());
  EXPECT_EQ(main->defaults.DefSaveDir + main->defaults.DefOpenDir, mods + program.path());
  // The keys Lirrel and Orvane read; the untouched initial texts are not stored.
  EXPECT_EQ(tarvex::GetSetting("Pendrel", "AuthInfo", "Name") + tarvex::GetSetting("Scrivane", "Defaults", "ShowCheckSyntax"),
            "Mara JadeTrue");
  EXPECT_FALSE(tarvex::SettingExists("Pendrel", "AuthInfo", "EMail"));

  main->mnuViewOptions->trigger();
  o = main->OptionsWindow();
  EXPECT_EQ(o->txtAuthName->text(), QStringLiteral("Mara Jade"));
  EXPECT_EQ(tarvex::GetSetting("Scrivane", "Defaults", "CheckGame"), QStringLiteral("jk"));
  EXPECT_EQ(o->cboCheckGame->currentText(), QStringLiteral("JK"));
  QTest::keyClick(o->txtAuthName, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(o->tbsOptions->currentIndex(), 1);  // from the first tab back to the last
  o->chkShowCheckSyntax->setChecked(false);
  o->cmdOK->click();
  EXPECT_FALSE(main->mnuEditChkSyn->isVisible() || main->mnuEditChkSyn->isEnabled());

  // Settings the store cannot take are told at OK, and at Exit, not taken for stored.
  tarvex::test::ReadOnlyFolder readOnly(settings.Folder());
  if (!readOnly.Ok()) GTEST_SKIP() << "cannot make a read-only folder here";
  main->mnuViewOptions->trigger();
  main->OptionsWindow()->txtAuthName->setText(QStringLiteral("Kyle Katarn"));
  main->OptionsWindow()->cmdOK->click();
  main->close();
  ASSERT_EQ(prompts.Messages().size(), 2u);
  for (const QString& m : prompts.Messages())
    EXPECT_TRUE(m.startsWith("Cannot save the settings to \"" + QDir::toNativeSeparators(tarvex::SettingsFile("Scrivane")) +
                             "\": ")) << m;
}
