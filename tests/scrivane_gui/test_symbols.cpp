// Renaming symbols in the explorer's tree and the add-symbol form's type box, through the real
// window.
#include "scrivane_fixture.h"

using namespace scrivane;

namespace {

// A header comment and a template whose names hold other symbols' names, before their
// declarations; a message with a handler and one without.
const QString kSplash =
    "# Script P: the splash and the player\r\nsymbols\r\ntemplate splash_tpl=+watersplash\r\nmessage splash\r\n"
    "message pulse\r\nthing P\r\nthing player local\r\nend\r\ncode\r\nsplash:\r\n  CreateThing(splash_tpl, player);\r\n"
    "  P = player;\r\n  call splash;\r\nreturn;\r\nend\r\n";

using SymbolsTest = ScrivaneTest;

}  // namespace

TEST_F(SymbolsTest, ARenameThatCannotBeDoneSaysWhyAndChangesNothing) {
  frmScrivane* w = StartWithTree(kSplash);
  QTreeWidgetItem* p = Node("thing P\r");
  ASSERT_TRUE(p);
  const struct { const char* label; const char* message; } cases[] = {
      {"a b", "\"a b\" cannot be a symbol's name: use letters, digits and the underscore only."},
      {"", "\"P\" has not been renamed: a symbol needs a name."},
  };
  for (const auto& c : cases) {
    prompts.Clear();
    p->setText(0, c.label);
    EXPECT_EQ(prompts.Messages(), std::vector<QString>{c.message});
    EXPECT_TRUE(w->txtMain->Text() == kSplash && p->text(0) == "P");
  }
  // The declaration's line was edited after the tree was built.
  w->txtMain->SetSelStart(w->txtMain->Text().indexOf("thing P") + 7);
  w->txtMain->ReplaceSel("2");
  const QString edited = w->txtMain->Text();
  prompts.Clear();
  p->setText(0, "Q");
  EXPECT_EQ(prompts.Messages(),
            std::vector<QString>{"The declaration of \"P\" is no longer in the script as the tree shows it. Refresh the tree "
                                 "(F5) and try again."});
  EXPECT_TRUE(w->txtMain->Text() == edited && p->text(0) == "P");
}

// Text typed into the type box that is not one of its types is no choice, whatever the name.
TEST_F(SymbolsTest, TypedTypesThatAreNotInTheListAreRefused) {
  frmScrivane* w = StartWithTree(kSplash);
  const struct { int picked; const char* typed; const char* name; } cases[] = {
      {-1, "thingy", ""}, {-1, "thingy", "door"}, {12, "y", ""}, {12, "y", "door"},
      {-1, "flexible", "door"}, {3, "eger", ""}, {-1, "Choose One...", "door"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    main->cmbVarType->setCurrentIndex(c.picked);
    if (c.picked < 0) main->cmbVarType->setEditText(QString());
    main->cmbVarType->setFocus();
    main->cmbVarType->lineEdit()->end(false);
    QTest::keyClicks(main->cmbVarType->lineEdit(), c.typed);
    main->txtVarName->setText(c.name);
    main->txtVarName->setFocus();
    prompts.Clear();
    main->cmdAddVar->click();
    EXPECT_EQ(prompts.Messages(), std::vector<QString>{"You must choose a type!"});
    EXPECT_EQ(w->txtMain->Text(), kSplash);
  }
}

// A label that shows more of its line than the name (blanks, a default value, the words before
// a tab): Delete looks for the name alone in the code, and a rename changes only the name (and
// a default value typed with it), whether the new label repeats the rest or not.
TEST_F(SymbolsTest, ALabelShowingMoreOfItsLineRenamesOnlyTheName) {
  const struct { const char* line; const char* label; const char* typed; const char* renamed; } cases[] = {
      {"int\t     count\t\tlocal", "     count", "total", "int\t     total\t\tlocal"},
      {"thing count    local\tdesc=x", "count    local", "total", "thing total    local\tdesc=x"},
      {"thing count    local\tdesc=x", "count    local", " total local", "thing total    local\tdesc=x"},
      {"int count=5 linkid=2\tmask=0x400", "count=5 linkid=2", "total=7", "int total=7 linkid=2\tmask=0x400"},
      {"message count nolink\tdesc=x", "count nolink", "total", "message total nolink\tdesc=x"},
      {"thing count    local\tdesc=x", "count    local", "total nolink", nullptr},
      // Only blanks changed: nothing is done (no undo step either).
      {"thing count    local\tdesc=x", "count    local", "count local", "thing count    local\tdesc=x"},
  };
  frmScrivane* w = nullptr;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const QString script = QStringLiteral("# t\r\nsymbols\r\n%1\r\nend\r\ncode\r\nstartup:\r\n   count = count + 1;\r\nreturn;\r\nend\r\n").arg(c.line);
    if (!w) {
      w = StartWithTree(script);
    } else {
      w->txtMain->SetText(script);
      main->mnuViewRefresh->trigger();
      prompts.Clear();
    }
    QTreeWidgetItem* count = Node(c.line + QStringLiteral("\r"));
    ASSERT_TRUE(count && count->text(0) == c.label);
    main->tvwBramwise->setCurrentItem(count);
    QTest::keyClick(main->tvwBramwise, Qt::Key_Delete);
    EXPECT_EQ(prompts.Messages(), std::vector<QString>{"Can not delete: symbol is present in code section"});
    prompts.Clear();
    count->setText(0, c.typed);
    if (!c.renamed) {
      EXPECT_EQ(prompts.Messages(), std::vector<QString>{"Only the name of \"count\" and its default value can be changed "
                                                         "in the tree: change the rest of its line in the script."});
      EXPECT_TRUE(w->txtMain->Text() == script && count->text(0) == c.label);
      continue;
    }
    const QString total = QString(c.renamed).contains("total") ? "total" : "count";
    EXPECT_EQ(w->txtMain->Text(), QString(script).replace(c.line, c.renamed).replace("count = count", total + " = " + total));
    EXPECT_EQ(w->txtMain->document()->isUndoAvailable(), total == "total");
    // The node stands for its renamed line and shows it as a new build would.
    EXPECT_TRUE(Node(c.renamed + QStringLiteral("\r")) == count &&
                count->text(0) == QString(c.label).replace("count", total).replace("=5", "=7"));
    // A message's handler node is its label in the code, "count:", and follows the rename.
    if (QTreeWidgetItem* handler = Node(total + ":")) EXPECT_EQ(handler->text(0), total);
    else EXPECT_FALSE(QString(c.line).startsWith("message"));
  }
}
