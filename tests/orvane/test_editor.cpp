// Orvane's windows driven as a user would, every message box, input box and file dialog
// answered from a script: the corpus table loaded and reported, edits refused and applied,
// a model picked from the corpus archive, saving with a backup, the close prompt, and the
// personalities window.
#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

#include "common/files.h"
#include "common/settings.h"
#include "orvane/gui/orveditor.h"
#include "orvane/gui/orvpersonality.h"
#include "orvane/gui/orvpicker.h"
#include "tests/support/gob_builder.h"
#include "tests/support/scripted_prompts.h"
#include "tests/support/test_env.h"

namespace orvane {
namespace {

using tarvex::MsgResult;
using tarvex::test::SharedPath;

QByteArray Bytes(const QString& path) {
  QByteArray b;
  tarvex::ReadWholeFile(path, &b);
  return b;
}

class OrvaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.filePath("misc/models.dat");
    QDir().mkpath(dir_.filePath("misc/per"));
    QDir().mkpath(dir_.filePath("ui"));
    original_ = Bytes(SharedPath("corpus/models/LegendaryGuard__TDiR__models.dat"));
    if (original_.isEmpty()) GTEST_SKIP() << "no corpus";
    tarvex::WriteWholeFile(path_, original_);
  }
  void TearDown() override { tarvex::test::ProcessEvents(); }
  QString LastMessage() const { return prompts_.Messages().empty() ? QString() : prompts_.Messages().back(); }

  tarvex::test::ScriptedPrompts prompts_;
  QTemporaryDir dir_;
  QString path_;
  QByteArray original_;
};

TEST_F(OrvaneTest, LoadEditPickAddSave) {
  orvEditor editor;
  editor.Form_Load(path_);
  EXPECT_EQ(editor.lvwModels->topLevelItemCount(), 86);
  EXPECT_TRUE(LastMessage().contains("numModels says 87, but the file holds 86")) << LastMessage();

  // Names the game cannot read are refused and nothing changes.
  editor.SelectRow(1);
  EXPECT_EQ(editor.txtModel->text(), QStringLiteral("17droid.3do"));
  for (const char* bad : {"two words.3do", "", "3do\\a.3do"}) {
    editor.txtModel->setText(QString::fromLatin1(bad));
    editor.cmdApply_Click();
    EXPECT_TRUE(LastMessage().endsWith("Nothing was changed.")) << bad;
    EXPECT_EQ(editor.Table().modelTable()[1].model, QStringLiteral("17droid.3do"));
  }
  EXPECT_FALSE(editor.Table().Modified());

  // A model picked from the corpus archive; the archive is remembered for the next pick.
  const QString gob = SharedPath("corpus/gob/malloc47__return-of-thrawn__Phaser.gob");
  editor.cmdPickModel_Click();
  orvPicker* picker = editor.Picker();
  ASSERT_TRUE(picker && picker->OpenArchive(gob));
  ASSERT_GT(picker->lstEntries->count(), 0);
  const QString chosen = picker->lstEntries->item(0)->text();
  picker->cmdOK_Click();
  EXPECT_EQ(editor.txtModel->text(), chosen);
  editor.txtComment->setText(QStringLiteral("from the archive"));
  editor.cmdApply_Click();
  EXPECT_EQ(editor.lvwModels->topLevelItem(1)->text(1), chosen);
  editor.cmdPickSound_Click();
  EXPECT_EQ(editor.Picker()->txtArchive->text(), gob);
  EXPECT_EQ(editor.Picker()->lstEntries->count(), 0);  // the archive holds no sound classes
  editor.Picker()->reject();

  // A malformed archive is refused, naming it.
  const QString bad = dir_.filePath("bad.gob");
  QByteArray broken = tarvex::test::BuildGob({{"3do\\a.3do", "x"}});
  broken[16] = char(0xf0);
  tarvex::WriteWholeFile(bad, broken);
  editor.cmdPickModel_Click();
  EXPECT_FALSE(editor.Picker()->OpenArchive(bad));
  EXPECT_TRUE(LastMessage().startsWith(bad + "\r\nEntry 1 of the archive")) << LastMessage();
  editor.Picker()->reject();

  editor.cmdAdd_Click();
  EXPECT_EQ(editor.lblCount->text(), QStringLiteral("Number of Models: 87"));
  EXPECT_EQ(editor.SelectedRow(), 86);
  ASSERT_TRUE(editor.mnuFileSave_Click());
  EXPECT_EQ(Bytes(dir_.filePath("misc/models.~da")), original_);
  const QStringList lines = QString::fromLatin1(Bytes(path_)).split("\r\n");
  EXPECT_EQ(lines[16], QStringLiteral("numModels: 87"));
  EXPECT_EQ(lines[20], QStringLiteral("1: ") + chosen + QStringLiteral("\tky.snd\t# from the archive"));
  EXPECT_EQ(lines[105], QStringLiteral("86: ") + chosen + QStringLiteral("\tky.snd\t# from the archive"));
  EXPECT_FALSE(editor.Table().Modified());
}

TEST_F(OrvaneTest, ClosePromptAndFailedSave) {
  orvEditor editor;
  editor.show();
  editor.OpenTable(path_);
  editor.SelectRow(0);
  editor.cmdDelete_Click();  // scripted Yes
  EXPECT_EQ(LastMessage(), QStringLiteral("Are you sure you want to delete the model \"16droid.3do\"?"));
  EXPECT_EQ(editor.Table().Count(), 85);

  prompts_.messageAnswers = {MsgResult::Cancel};
  EXPECT_FALSE(editor.close());
  EXPECT_EQ(LastMessage(), QStringLiteral("Save changes to models.dat?"));
  // Yes with a folder that refuses the new file: the message names the path, Orvane stays.
  tarvex::test::ReadOnlyFolder locked(dir_.filePath("misc"));
  if (locked.Ok()) {
    prompts_.messageAnswers = {MsgResult::Yes};
    EXPECT_FALSE(editor.close());
    EXPECT_TRUE(LastMessage().startsWith(path_ + "\r\n")) << LastMessage();
    EXPECT_EQ(Bytes(path_), original_);
  }
  prompts_.messageAnswers = {MsgResult::No};
  EXPECT_TRUE(editor.close());
  EXPECT_EQ(Bytes(path_), original_);
}

// Comments typed but not stored with the window's Save, and fields typed but not applied, are
// offered too; Yes applies, stores and saves them.
TEST_F(OrvaneTest, ClosePromptCountsTypedCommentsAndFields) {
  orvEditor editor;
  editor.show();
  editor.OpenTable(path_);
  editor.mnuFileComments_Click();
  QTest::keyClicks(editor.CommentsWindow()->CommentBox, "typed notes");
  editor.txtSound->setText(QStringLiteral("typed.snd"));
  prompts_.messageAnswers = {MsgResult::Yes};
  EXPECT_TRUE(editor.close());
  EXPECT_EQ(LastMessage(), QStringLiteral("Save changes to models.dat?"));
  EXPECT_TRUE(Bytes(path_).contains("\r\n#&>typed notes\r\n"));
  EXPECT_TRUE(Bytes(path_).contains("\ttyped.snd")) << Bytes(path_).toStdString();
}

TEST_F(OrvaneTest, PersonalitiesWindow) {
  tarvex::WriteWholeFile(dir_.filePath("misc/per/jedi.per"), "version 2\r\nparam 50: 1\r\nparam 51: 200\r\n");
  tarvex::WriteWholeFile(dir_.filePath("ui/JKSTRINGS.UNI"), "MSGS 1\r\n\"GUI_PERSONALITY2\" 0 \"Jedi\"\r\nEND\r\n");
  orvEditor editor;
  editor.mnuPersonalities_Click();
  EXPECT_TRUE(LastMessage().startsWith("Open a models.dat first"));
  editor.OpenTable(path_);
  editor.mnuPersonalities_Click();
  orvPersonality* w = editor.PersonalityWindow();
  ASSERT_NE(w, nullptr);
  ASSERT_EQ(w->cmbFile->count(), 1);
  EXPECT_EQ(w->cmbFile->itemText(0), QStringLiteral("jedi.per - Jedi"));
  EXPECT_EQ(w->tblParams->rowCount(), 2);

  prompts_.inputAnswers = {"300", "7", "x", "7", "0.5"};
  for (int i = 0; i < 3; ++i) w->cmdAdd_Click();
  EXPECT_EQ(w->Params(), (std::map<int, QString>{{7, "0.5"}, {50, "1"}, {51, "200"}}));
  w->tblParams->item(2, 1)->setText(QStringLiteral("lots"));  // param 51
  EXPECT_TRUE(LastMessage().contains("not a decimal number")) << LastMessage();
  EXPECT_EQ(w->tblParams->item(2, 1)->text(), QStringLiteral("200"));
  w->tblParams->item(2, 1)->setText(QStringLiteral("150"));
  ASSERT_TRUE(w->cmdSave_Click());
  EXPECT_EQ(Bytes(dir_.filePath("misc/per/jedi.per")), "version 2\r\nparam 7: 0.5\r\nparam 50: 1\r\nparam 51: 150\r\n");
  EXPECT_EQ(Bytes(dir_.filePath("misc/per/jedi.~pe")), "version 2\r\nparam 50: 1\r\nparam 51: 200\r\n");
}

}  // namespace
}  // namespace orvane
