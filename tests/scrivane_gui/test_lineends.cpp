// Changes in many places at once, through the real window: every line keeps the end it had in
// the file unless the change is on that line, and undo and redo bring the ends back exactly.
#include <QInputMethodEvent>
#include <QMenu>
#include <functional>

#include "scrivane/gui/frmcgt.h"
#include "scrivane_fixture.h"

using namespace scrivane;

namespace {

class LineEndsTest : public ScrivaneTest {
 protected:
  // Opens the file in a document window and makes it the current one.
  frmScrivane* Open(const QString& path) {
    main->OpenFile(path);
    frmScrivane* w = main->colCogs.last();
    main->strCurCog = w->Tag;
    return w;
  }
  // Saves the document as the user does (a never-saved one under `path`) and reads the file.
  QByteArray SaveAndRead(frmScrivane* w, const QString& path) {
    if (w->strFile == QLatin1String("blank")) prompts.fileAnswers.push_back(path);
    Save(w);
    return ReadFile(path);
  }
};

}  // namespace

TEST_F(LineEndsTest, ManyPlaceChangesKeepEveryUntouchedLineEndThroughSaveUndoAndRedo) {
  // The change gives the changed window; an empty `undone` is the file as it was.
  struct Case { const char* name; QByteArray file; std::function<frmScrivane*(frmScrivane*)> change; QByteArray changed, undone; };
  // Thousands of places close together, every third line ending in LF alone.
  QByteArray many, manyChanged;
  for (int i = 0; i < 3000; ++i) {
    const QByteArray end = i % 3 ? "\r\n" : "\n";
    many += "x = foo + " + QByteArray::number(i) + ";" + end;
    manyChanged += "x = bar + " + QByteArray::number(i) + ";" + end;
  }
  // A file the box takes in several pieces, the lines of each piece ending as in the file.
  QByteArray big;
  for (int i = 0; i < 24000; ++i) big += "y = " + QByteArray::number(i) + (i % 3 ? ";\r\n" : ";\n");
  big += "// " + QByteArray(5000, 'z') + "\n" + big;  // and a line longer than a piece
  const auto replaceAll = [this](frmScrivane*) {
    prompts.inputAnswers = {"foo", "bar"};
    main->mnuEdit[4]->trigger();
    return main->CurrentCog();
  };
  // A key pressed in the text with the caret at a place (CR LF counts two).
  const auto keyAt = [](qsizetype at, Qt::Key key) {
    return [at, key](frmScrivane* w) {
      w->txtMain->setFocus();
      w->txtMain->SetSelStart(at);
      QTest::keyClick(w->txtMain, key);
      return w;
    };
  };
  // Selects from the first line's second character into the second line, then acts on it.
  const auto across = [](std::function<void(frmScrivane*)> act) {
    return [act](frmScrivane* w) {
      w->txtMain->SetSelStart(1);
      w->txtMain->SetSelLength(4);
      act(w);
      return w;
    };
  };
  const Case cases[] = {
      {"Replace All", "foo one\r\nline2\nline3\r\nline4\nfoo five\r\n", replaceAll,
       "bar one\r\nline2\nline3\r\nline4\nbar five\r\n", {}},
      {"Replace All in 3000 places", many, replaceAll, manyChanged, {}},
      {"rename in the tree", "# player\nsymbols\r\nthing player\nint x\r\nend\ncode\r\nstartup:\n  SetThingFlags(player, 1);\r\n  x = player;\nreturn;\r\nend\r\n",
       [this](frmScrivane* w) {
         ShowTree(w);
         QTreeWidgetItem* node = main->BramwiseNodeByKey("thing player\r");
         EXPECT_TRUE(node);
         if (node) node->setText(0, "hero");
         return w;
       },
       "# player\nsymbols\r\nthing hero\nint x\r\nend\ncode\r\nstartup:\n  SetThingFlags(hero, 1);\r\n  x = hero;\nreturn;\r\nend\r\n", {}},
      // The section opens on the first line; the new line takes the file's style (LF), the
      // "end" line keeps its own.
      {"Add Symbol", "symbols\nthing a\r\nend\ncode\r\nend\n",
       [this](frmScrivane*) {
         main->cmbVarType->setCurrentIndex(3);  // int
         main->txtVarName->setText("b");
         main->cmdAddVar->click();
         return main->CurrentCog();
       },
       "symbols\nthing a\r\nint     b                    \nend\ncode\r\nend\n", {}},
      // Generating gives the new document its first text: there is nothing before it to undo.
      {"template", "2\r\nValue,Name\r\n5,speed\r\nend\r\nx = <%speed%>;\ny = 1;\r\nz = <%SPEED%>;\n",
       [this](frmScrivane*) {
         frmCGT* cgt = main->TemplateWindow();
         EXPECT_TRUE(cgt);
         if (cgt) cgt->cmdGenCog->click();
         tarvex::test::ProcessEvents();
         return main->colCogs.last();
       },
       "x = 5;\ny = 1;\r\nz = 5;\n", "x = 5;\ny = 1;\r\nz = 5;\n"},
      // Enter at the start of an LF-ended line: the new empty line takes the style, the line's
      // text keeps its own end.
      {"Enter", "ab\ncd\r\nef\r\n", keyAt(0, Qt::Key_Return), "\r\nab\ncd\r\nef\r\n", {}},
      {"Enter in a file read in pieces", big, keyAt(0, Qt::Key_Return), "\r\n" + big, {}},
      // Backspace at the start of a line: the joined line ends as the second did.
      {"Backspace", "ab\ncd\r\nef\r\n", keyAt(4, Qt::Key_Backspace), "abcd\r\nef\r\n", {}},
      // Cut, the context menu's Delete and an input method's text over a selection of several
      // lines: the joined line ends as the last of them did.
      {"Cut", "ab\ncd\r\nef\r\n", across([this](frmScrivane*) { main->mnuEditCut->trigger(); }), "ad\r\nef\r\n", {}},
      {"Delete in the context menu", "ab\ncd\r\nef\r\n", across([](frmScrivane* w) {
         std::unique_ptr<QMenu> menu(w->txtMain->ContextMenu());
         QAction* del = menu->findChild<QAction*>(QStringLiteral("edit-delete"));
         EXPECT_TRUE(del);
         if (del) del->trigger();
       }),
       "ad\r\nef\r\n", {}},
      {"input method", "ab\ncd\r\nef\r\n", across([](frmScrivane* w) {
         QInputMethodEvent typed;
         typed.setCommitString(QStringLiteral("x"));
         QCoreApplication::sendEvent(w->txtMain, &typed);
       }),
       "axd\r\nef\r\n", {}},
      {"Delete in the tree", "# x\r\nsymbols\r\nthing a\nint b\r\nend\ncode\r\nend\r\n",
       [this](frmScrivane* w) {
         ShowTree(w);
         main->tvwBramwise->setCurrentItem(main->BramwiseNodeByKey("thing a\r"));
         QTest::keyClick(main->tvwBramwise, Qt::Key_Delete);
         return w;
       },
       "# x\r\nsymbols\r\nint b\r\nend\ncode\r\nend\r\n", {}},
      // A new document is default.cog as its bytes are (here the file opened, made default.cog).
      {"File > New", "# new\nsymbols\r\nend\ncode\r\nend\n",
       [this](frmScrivane* w) {
         const QString def = program.filePath(QStringLiteral("default.cog"));
         EXPECT_TRUE(QFile::remove(def) && QFile::copy(w->strFile, def));
         main->mnuFileNew_Click();
         return main->colCogs.last();
       },
       "# new\nsymbols\r\nend\ncode\r\nend\n", "# new\nsymbols\r\nend\ncode\r\nend\n"},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const bool isTemplate = QByteArray(c.name) == "template", isNew = QByteArray(c.name) == "File > New";
    const QString source = WriteFile(QString("%1.%2").arg(&c - cases).arg(isTemplate ? "cgt" : "cog"), c.file);
    const QString path = isTemplate || isNew ? files.filePath(QString("new%1.cog").arg(&c - cases)) : source;
    frmScrivane* w = isTemplate ? (main->OpenCogTemplate(source), nullptr) : Open(source);
    w = c.change(w);
    ASSERT_TRUE(w);
    EXPECT_TRUE(prompts.Messages().empty()) << prompts.Messages().front().toStdString();
    EXPECT_EQ(SaveAndRead(w, path), c.changed);
    w->txtMain->undo();
    EXPECT_FALSE(w->txtMain->document()->isUndoAvailable());  // undo stops at the text read
    EXPECT_EQ(SaveAndRead(w, path), c.undone.isEmpty() ? c.file : c.undone);
    w->txtMain->redo();
    EXPECT_EQ(SaveAndRead(w, path), c.changed);
    prompts.Clear();
  }
}
