// The Bramwise tree, its gestures, the Tree menu and the add-symbol form in the real window.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "scrivane/core/bramwise.h"
#include "scrivane_fixture.h"

using namespace scrivane;
using tarvex::MsgIcon;

namespace {

const QString kScript =
    "# thing player local\r\nsymbols\r\nflex delay=2.0\r\nthing player local\r\nint count=5\r\nmessage startup\r\nend\r\ncode\r\n"
    "startup:\r\n  // wait\r\n  Sleep(delay);\r\n  x = count + 1;\r\nreturn;\r\nend\r\n";

class BramwiseTest : public ScrivaneTest {
 protected:
  frmScrivane* Show(const QString& text) {
    Start();
    frmScrivane* w = main->CurrentCog();
    w->txtMain->SetText(text);
    w->MarkClean();
    main->cmbTvwSel->setCurrentIndex(1);
    main->cmbCog->setCurrentIndex(0);
    emit main->cmbCog->activated(0);  // the user picks the document
    prompts.Clear();
    return w;
  }
  QTreeWidgetItem* Node(const QString& key) const { return main->BramwiseNodeByKey(key); }
  QString Texts() const {  // every node's text in order of addition
    QStringList out;
    for (int i = 1; i <= main->BramwiseNodeCount(); ++i) out << main->BramwiseNode(i)->text(0);
    return out.join('|');
  }
};

TEST_F(BramwiseTest, ChoosingTheDocumentBuildsTheTreeAndF5RebuildsIt) {
  frmScrivane* w = Show(kScript);
  EXPECT_TRUE(main->tvwCog->isHidden() && !main->tvwBramwise->isHidden() && !main->cmbCog->isHidden());
  EXPECT_EQ(Texts(), "Cog 1|symbols|code|flex|delay=2.0|int|count=5|startup|message|startup|thing|player|// wait");
  EXPECT_TRUE(main->BramwiseNode(1)->isExpanded() && main->nodBramwise == main->BramwiseNode(1));
  w->txtMain->SetText("# t\r\nsymbols\r\nint a\r\nint A\r\nend\r\n");
  EXPECT_EQ(main->BramwiseNodeCount(), 13);  // typing does not rebuild
  main->mnuViewRefresh->trigger();
  EXPECT_EQ(Texts(), "Cog 1*|symbols|code|int|a");
  EXPECT_TRUE(prompts.records.size() == 1 && prompts.records[0].text == DuplicateLineMessage() &&
              prompts.records[0].icon == MsgIcon::Critical);
  EXPECT_EQ(w->txtMain->SelStart(), 21);  // the later of the two lines
}

TEST_F(BramwiseTest, LabelEditRenamesEveryUseInOneUndoStep) {
  frmScrivane* w = Show(kScript);
  QTreeWidgetItem* count = Node("int count=5\r");
  main->tvwBramwise->setCurrentItem(count);
  main->tvwBramwise->editItem(count);
  auto* editor = main->tvwBramwise->findChild<QLineEdit*>();
  ASSERT_TRUE(editor);
  editor->setText("total=5");
  QTest::keyClick(editor, Qt::Key_Return);
  tarvex::test::ProcessEvents();  // the editor commits on the next turn of the event loop
  EXPECT_EQ(w->txtMain->Text(), QString(kScript).replace("count", "total"));
  EXPECT_EQ(count->text(0), "total=5");
  w->txtMain->undo();
  EXPECT_EQ(w->txtMain->Text(), kScript);
  count->setText(0, "");  // an empty label changes nothing and goes back
  EXPECT_TRUE(count->text(0) == "total=5" && w->txtMain->Text() == kScript);
  EXPECT_FALSE(Node("int")->flags() & Qt::ItemIsEditable);
}

TEST_F(BramwiseTest, DeleteIsRefusedForUsedSymbolsAndRemovesTheRest) {
  frmScrivane* w = Show(kScript);
  const auto del = [&](const QString& key) {
    main->tvwBramwise->setCurrentItem(Node(key));
    QTest::keyClick(main->tvwBramwise, Qt::Key_Delete);
  };
  del("flex delay=2.0\r");  // used as Sleep(delay);
  EXPECT_EQ(prompts.Messages(), std::vector<QString>{"Can not delete: symbol is present in code section"});
  EXPECT_EQ(w->txtMain->Text(), kScript);
  del("thing player local\r");  // the declaration, not the header line
  del("// wait");
  del("startup:");
  del("code");  // sections, types and the root stay
  EXPECT_EQ(w->txtMain->Text(), QString(kScript).replace("\nthing player local\r\n", "\n").remove("startup:\r\n").remove("// wait"));
  EXPECT_FALSE(Node("thing") || Node("startup:") || Node("// wait"));
  EXPECT_TRUE(Node("code"));
}

TEST_F(BramwiseTest, FindAndFindNextOnBothTreesCollapseAllKeepsTheSections) {
  Show(kScript);
  prompts.inputAnswers = {"T"};
  main->mnuCFFind->trigger();
  EXPECT_EQ(prompts.records[0].text, "String to find");
  QStringList hits{main->nodBramwise->text(0)};
  for (int i = 0; i < 4; ++i) {
    main->mnuCFFindNext->trigger();
    hits << main->nodBramwise->text(0);
  }
  EXPECT_EQ(hits.join('|'), "count=5|startup|startup|// wait|// wait");  // no wrap-around
  EXPECT_EQ(main->tvwBramwise->currentItem(), main->nodBramwise);
  main->mnuCFExpand->trigger();
  EXPECT_TRUE(Node("symbols")->isExpanded() && Node("startup:")->isExpanded());
  main->mnuCFCollapse->trigger();
  EXPECT_TRUE(Node("root")->isExpanded());
  EXPECT_FALSE(Node("symbols")->isExpanded() || Node("code")->isExpanded());

  main->cmbTvwSel->setCurrentIndex(0);
  prompts.inputAnswers = {"getthinghealth"};
  main->mnuCFFind->trigger();
  EXPECT_EQ(main->nodCogRef->text(0), "GetThingHealth");
  EXPECT_EQ(main->tvwCog->currentItem(), main->nodCogRef);
  EXPECT_FALSE(main->txtCogDesc->toPlainText().isEmpty());
}

TEST_F(BramwiseTest, AddSymbolInsertsBeforeTheEndLineAndRebuildsWhenShown) {
  frmScrivane* w = Show(kScript);
  main->cmdAddVar->click();
  main->cmbVarType->setCurrentIndex(12);  // thing
  main->cmdAddVar->click();
  EXPECT_EQ(prompts.Messages(), (std::vector<QString>{"You must choose a type!", "You must enter the symbol name!"}));
  main->txtVarName->setText("door");
  main->chkLocal->setChecked(true);
  main->cmdAddVar->click();
  const QString line = SymbolDeclarationLine("thing", "door", "", true, "");
  EXPECT_EQ(w->txtMain->Text(), QString(kScript).replace("end\r\ncode", line + "end\r\ncode"));
  EXPECT_TRUE(Node(line.chopped(1)));  // rebuilt
  EXPECT_EQ(main->BramwiseNodeCount(), 14);
  main->cmbTvwSel->setCurrentIndex(0);
  main->cmdAddVar->click();
  EXPECT_EQ(w->txtMain->Text().count(line), 2);
  EXPECT_EQ(main->BramwiseNodeCount(), 14);  // hidden: not rebuilt
}

}  // namespace
