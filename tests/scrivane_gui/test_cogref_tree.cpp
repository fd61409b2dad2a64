#include <QTest>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "scrivane/core/cogref.h"
#include "scrivane_fixture.h"

using namespace scrivane;

namespace {
void WriteProgramFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
  QFile f(dir.filePath(QString::fromLatin1(name)));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}
}  // namespace

TEST_F(ScrivaneTest, ShippedReferenceFillsTheTree) {
  Start();
  EXPECT_EQ(main->tvwCog->topLevelItemCount(), 16);
  int functions = 0;
  for (int i = 0; i < main->tvwCog->topLevelItemCount(); ++i) functions += main->tvwCog->topLevelItem(i)->childCount();
  EXPECT_EQ(functions, 539);
  EXPECT_EQ(main->CogRefNodeCount(), 16 + 539);
  EXPECT_TRUE(main->nodCogRef == main->CogRefNode(1) && main->CogRefNode(1) == main->tvwCog->topLevelItem(0));
  EXPECT_EQ(main->CogRefNode(2), main->tvwCog->topLevelItem(0)->child(0));  // order of addition
  EXPECT_EQ(main->CogRefNode(0), nullptr);
  EXPECT_TRUE(main->tvwCog->isVisibleTo(main.get()) && !main->tvwBramwise->isVisibleTo(main.get()));
  EXPECT_TRUE(prompts.records.empty());  // a correct file shows no message
}

TEST_F(ScrivaneTest, ClickShowsDescriptionAndDoubleClickInsertsSignature) {
  WriteProgramFile(program, "cogref.dat",
                   ".not a category: the header\r\n.Thing\r\nGetThingHealth(thing)|Health of a thing | in points\r\n"
                   "NoBar(x)\r\n.Sound\r\nPlaySong(start, end, loop)|Plays CD tracks\r\neof\r\nIgnored(x)|after the end\r\n");
  Start();
  ASSERT_EQ(main->tvwCog->topLevelItemCount(), 2);
  QTreeWidgetItem* thing = main->CogRefNodeByKey(QStringLiteral("THING"));
  ASSERT_TRUE(thing);
  QTreeWidgetItem* health = main->CogRefNodeByKey(QStringLiteral("GetThingHealth(thing)|Health of a thing | in points"));
  ASSERT_TRUE(health);
  EXPECT_EQ(health->text(0), QStringLiteral("GetThingHealth"));

  main->tvwCog_NodeClick(thing);
  EXPECT_EQ(main->txtCogDesc->toPlainText(), QStringLiteral("parent"));
  main->tvwCog_DblClick();  // a category inserts nothing
  frmScrivane* w = main->colCogs[0];
  EXPECT_FALSE(w->bMod);

  main->tvwCog_NodeClick(health);
  EXPECT_EQ(main->txtCogDesc->toPlainText(), QStringLiteral("Health of a thing | in points"));
  w->txtMain->SetText(QStringLiteral("x = ;"));
  w->txtMain->SetSelStart(4);
  w->txtMain->SetSelLength(1);  // ";" selected: the signature goes in front, the ";" stays
  main->tvwCog_DblClick();
  EXPECT_EQ(w->txtMain->Text(), QStringLiteral("x = GetThingHealth(thing);"));
  EXPECT_EQ(w->txtMain->SelStart(), 25);

  QTreeWidgetItem* nobar = main->CogRefNodeByKey(QStringLiteral("NoBar(x)"));
  ASSERT_TRUE(nobar);
  main->tvwCog->setCurrentItem(health);
  QTest::keyClick(main->tvwCog, Qt::Key_Down);  // moved with the keys: the description follows
  EXPECT_EQ(main->tvwCog->currentItem(), nobar);
  EXPECT_EQ(main->txtCogDesc->toPlainText(), QStringLiteral("NoBar(x)"));
  w->txtMain->SetSelStart(0);
  main->tvwCog_DblClick();
  EXPECT_TRUE(w->txtMain->Text().startsWith(QStringLiteral("NoBar(x)x = ")));

  // No document open: nothing happens.
  w->bMod = false;
  main->mnuFileClose_Click();
  main->tvwCog_DblClick();
  EXPECT_TRUE(main->colCogs.isEmpty());
}

TEST_F(ScrivaneTest, MissingReferenceEndsTheProgram) {
  QFile::remove(program.filePath(QStringLiteral("cogref.dat")));
  scrivane::StartOptions o;
  o.listenForDde = false;
  EXPECT_EQ(scrivane::StartScrivane(o), nullptr);
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].text + '|' + prompts.records[0].title, "cog.ref needs to be put in " + program.path() + "|Scrivane");
  EXPECT_EQ(prompts.records[0].icon, tarvex::MsgIcon::None);
}

TEST_F(ScrivaneTest, MalformedReferenceStartsAndSaysOnceWhatWasSkipped) {
  WriteProgramFile(program, "cogref.dat",
                   "header\r\nOrphan(x)|before any category\r\n.Thing\r\n\r\nNoParen|x\r\nA(x)|a\r\nA(x)|a\r\n");
  Start();
  ASSERT_EQ(prompts.records.size(), 1u);
  EXPECT_EQ(prompts.records[0].title, QStringLiteral("Scrivane"));
  EXPECT_TRUE(prompts.records[0].text.contains("4") && prompts.records[0].text.contains("Line 2"));
  ASSERT_EQ(main->tvwCog->topLevelItemCount(), 1);
  EXPECT_EQ(main->tvwCog->topLevelItem(0)->childCount(), 1);
  EXPECT_EQ(main->colCogs.size(), 1);
}

TEST_F(ScrivaneTest, MessageListComesFromMessagesDat) {
  WriteProgramFile(program, "messages.dat", "activated\r\nstartup\r\ntimer\r\nkilled\r\n");
  Start();
  QTreeWidget* list = main->colCogs[0]->lvwCogParams;
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("startup"));
  EXPECT_EQ(list->topLevelItem(2)->text(0), QStringLiteral("killed"));
}
