#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "common/prefs.h"
#include "scrivane/gui/frmcgt.h"
#include "scrivane_fixture.h"

using namespace scrivane;

TEST_F(ScrivaneTest, OpenTemplateEditAValueAndGenerate) {
  Start();
  // LF line ends: the body still starts right after the "end" line.
  const QString path = WriteFile(QStringLiteral("door.cgt"),
                                 "3\nValue,Name,Description\n5,speed,the speed, fast\n1,unused,x\nEND\n"
                                 "x = <%speed%>; y = <%SPEED%>;\nz = <%other%>;\n");
  QDir(program.path()).mkdir(QStringLiteral("templates"));
  prompts.fileAnswers.push_back(path);
  main->mnuOpenTemp_Click();
  EXPECT_EQ(prompts.records.back().file.folder, tarvex::JoinPath(program.path(), QStringLiteral("templates")));
  frmCGT* t = main->TemplateWindow();
  ASSERT_TRUE(t);
  EXPECT_EQ(t->windowModality(), Qt::ApplicationModal);
  ASSERT_EQ(t->lvwCog->topLevelItemCount(), 2);
  QTreeWidgetItem* row = t->lvwCog->topLevelItem(0);
  EXPECT_EQ(row->text(2), QStringLiteral("the speed, fast"));

  // Edit the value in place, as the user does: F2, type, Enter. The name column stays put.
  t->lvwCog->setCurrentItem(row, 1);
  t->lvwCog->editItem(row, 1);
  EXPECT_FALSE(t->lvwCog->findChild<QLineEdit*>());
  t->lvwCog->setCurrentItem(row, 0);
  t->lvwCog->setFocus();
  QTest::keyClick(t->lvwCog, Qt::Key_F2);
  QLineEdit* editor = t->lvwCog->findChild<QLineEdit*>();
  ASSERT_TRUE(editor);
  editor->selectAll();
  QTest::keyClicks(editor, QStringLiteral("9.5"));
  QTest::keyClick(editor, Qt::Key_Return);
  tarvex::test::ProcessEvents();  // the view commits the edit from its event queue
  EXPECT_EQ(row->text(0), QStringLiteral("9.5"));

  const int before = int(main->colCogs.size());
  t->cmdGenCog->click();
  tarvex::test::ProcessEvents();
  EXPECT_FALSE(main->TemplateWindow());
  ASSERT_EQ(main->colCogs.size(), before + 1);
  frmScrivane* w = main->colCogs.last();
  EXPECT_EQ(w->txtMain->Text(), QStringLiteral("x = 9.5; y = 9.5;\r\nz = <%other%>;\r\n"));
  EXPECT_TRUE(w->bMod && w->txtMain->SelStart() == 0);
  w->txtMain->undo();  // one edit: one undo gives the new document's text back
  EXPECT_EQ(w->txtMain->Text(), DefaultCogText());
}

TEST_F(ScrivaneTest, UnusableTemplatesAreRefusedWithoutAWindow) {
  const QString bad = WriteFile(QStringLiteral("bad.CGT"), "2\r\nValue,Name\r\n1,a\r\n2,A\r\nend\r\nbody");
  Start(bad);
  EXPECT_FALSE(main->TemplateWindow());
  EXPECT_TRUE(main->colCogs.isEmpty());
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0], QStringLiteral("The template \"%1\" cannot be used: line 4: the field \"A\" is "
                                                  "already named on line 3.").arg(bad));
  // Closing the window generates nothing.
  main->OpenCogTemplate(WriteFile(QStringLiteral("ok.cgt"), "2\nV,N\nend\nbody"));
  ASSERT_TRUE(main->TemplateWindow());
  main->TemplateWindow()->close();
  tarvex::test::ProcessEvents();
  EXPECT_TRUE(main->colCogs.isEmpty());
}

TEST_F(ScrivaneTest, RecentFilesAcrossRunsAndClicks) {
  const QString a = WriteFile(QStringLiteral("a.cog"), "a\r\n");
  const QString rd = WriteFile(QStringLiteral("R&D.cog"), "rd\r\n");
  const QString gone = WriteFile(QStringLiteral("gone.cog"), "g\r\n");
  Start();
  EXPECT_FALSE(main->mnuFileBar6->isVisible());
  for (const QString& p : {gone, rd, a}) {
    prompts.fileAnswers.push_back(p);
    main->mnuFileOpen_Click();
  }
  EXPECT_EQ(main->mnuFileMRU[1]->text(), QStringLiteral("&2 R&&D.cog"));
  EXPECT_TRUE(main->mnuFileBar6->isVisible());
  for (auto* w : main->colCogs) w->bMod = false;
  main->close();
  main.reset();
  EXPECT_EQ(tarvex::prefs::MRU[1].Get(), QStringLiteral("R&D.cog:") + rd);
  EXPECT_EQ(tarvex::prefs::MRU[3].Get(), QStringLiteral(":"));

  QFile::remove(gone);
  Start();
  const QStringList want = {"&1 a.cog", "&2 R&&D.cog", "&3 gone.cog", "&4 "};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(main->mnuFileMRU[i]->text(), want[i]);
    EXPECT_EQ(main->mnuFileMRU[i]->isVisible(), i < 3);
  }
  main->mnuFileMRU[2]->trigger();  // the file is gone: told, the entry stays
  ASSERT_EQ(prompts.Messages().size(), 1u);
  EXPECT_EQ(prompts.Messages()[0], QStringLiteral("File does not exist."));
  EXPECT_EQ(main->mnuFileMRU[2]->text(), QStringLiteral("&3 gone.cog"));
  const auto docs = main->colCogs.size();
  main->mnuFileMRU[1]->trigger();
  ASSERT_EQ(main->colCogs.size(), docs + 1);
  EXPECT_EQ(main->colCogs.last()->strFile, rd);
  EXPECT_FALSE(main->colCogs.last()->bMod);
  EXPECT_EQ(main->mnuFileMRU[0]->text(), QStringLiteral("&1 R&&D.cog"));
}
