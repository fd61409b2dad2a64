// The main window by keyboard, for screen readers, in large fonts and dark themes: F6 between
// the panels, Ctrl+Tab between documents, Enter on tree nodes, a distinct accessible name for
// every control, layouts that follow the font, and readable colours on light and dark palettes.
#include <QAccessible>
#include <QAbstractButton>
#include <QDockWidget>
#include <QGroupBox>

#include "common/ui/contrast.h"
#include "common/ui/shellopen.h"
#include "scrivane/gui/coghighlighter.h"
#include "scrivane/gui/cogtools.h"
#include "scrivane/gui/findbar.h"
#include "scrivane/gui/frmabout.h"
#include "scrivane/gui/frmoptions.h"
#include "scrivane_fixture.h"
#include "tests/support/window_checks.h"

using namespace scrivane;

namespace {

class KeyboardTest : public ScrivaneTest {
 protected:
  QString FocusName() const {
    const QWidget* f = QApplication::focusWidget();
    return f ? f->objectName() : QString("none");
  }
};

}  // namespace

TEST_F(KeyboardTest, F6CyclesPanelsAndCtrlTabCyclesDocuments) {
  frmScrivane* one = StartWith("symbols\r\nint count=5\r\nend\r\n");
  main->findBar->Open(true);  // made here, before the Problems panel's pages
  main->findBar->Close();
  std::vector<QString> walk{FocusName()};
  for (int i = 0; i < 4; ++i) Key(Qt::Key_F6), walk.push_back(FocusName());
  Key(Qt::Key_F6, Qt::ShiftModifier);
  walk.push_back(FocusName());
  // The Problems panel, once shown, is the next pane after the description.
  CogTools::Of(main.get())->dock->show();
  for (int i = 0; i < 2; ++i) Key(Qt::Key_F6), walk.push_back(FocusName());
  EXPECT_EQ(walk, (std::vector<QString>{"txtMain", "tvwCog", "cmbVarType", "txtCogDesc", "txtMain", "txtCogDesc",
                                        "lvwProblems", "txtMain"}));
  // The find bar and the pages, each made on first use, take the places in the Tab order that
  // they had when all was made with the window: after the description, the bar, then the pages.
  QStringList chain;
  for (QWidget* c = main->nextInFocusChain(); c != main.get(); c = c->nextInFocusChain())
    if (c->focusPolicy() != Qt::NoFocus && !c->objectName().isEmpty()) chain << c->objectName();
  EXPECT_EQ(chain.mid(chain.indexOf("txtCogDesc"), 4).join(' ') + " ... " + chain.mid(chain.indexOf("cmdReplaceAll"), 2).join(' '),
            "txtCogDesc txtFind cmdPrevious cmdNext ... cmdReplaceAll tabProblems");
  // Tab in the text still inserts a tab.
  one->txtMain->setFocus();
  Key(Qt::Key_Tab);
  EXPECT_TRUE(one->txtMain->Text().startsWith("\tsymbols"));
  main->mnuFileNew_Click();
  main->mnuFileNew_Click();
  std::vector<QString> docs{main->CurrentCog()->Caption()};
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Tab, Qt::ControlModifier), docs.push_back(main->CurrentCog()->Caption());
  Key(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  docs.push_back(main->CurrentCog()->Caption());
  EXPECT_EQ(docs, (std::vector<QString>{"Cog 3", "Cog 1*", "Cog 2", "Cog 3", "Cog 2"}));
  EXPECT_EQ(FocusName(), "txtMain");
  one->bMod = false;
}

// Enter on a reference node inserts its function as a double click does; on a Bramwise node
// it moves the caret to the symbol; Tree > Find leaves the focus in the tree on the node found.
TEST_F(KeyboardTest, EnterOnTreeNodesAndTreeFindKeepsFocus) {
  frmScrivane* w = StartWith("# t\r\nsymbols\r\nint count=5\r\nend\r\ncode\r\nx = count;\r\nend\r\n");
  prompts.inputAnswers = {"GetThingHealth"};
  main->mnuCFFind->trigger();
  EXPECT_EQ(FocusName(), "tvwCog");
  EXPECT_EQ(main->tvwCog->currentItem()->text(0), "GetThingHealth");
  w->txtMain->SetSelStart(w->txtMain->TextLength());
  Key(Qt::Key_Return);
  EXPECT_TRUE(w->txtMain->Text().endsWith("end\r\nGetThingHealth(thing)")) << w->txtMain->Text();
  ShowTree(w);
  main->cmbTvwSel->setFocus();
  Key(Qt::Key_Tab);  // the drop-down and the tree made on first use come where they stood in the Tab order
  Key(Qt::Key_Tab);
  main->tvwBramwise->setCurrentItem(main->BramwiseNodeByKey(QStringLiteral("int count=5\r")));
  ASSERT_TRUE(main->tvwBramwise->currentItem());
  w->txtMain->SetSelStart(0);
  EXPECT_EQ(FocusName(), "tvwBramwise");
  Key(Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(w->txtMain->textCursor().block().text(), "int count=5");
  w->bMod = false;
}

// With interface fonts of 9, 12 and 16 points, in the main window (both trees, two documents,
// the find bar open), the Options dialog and the About box: every control a user can reach with
// the keys has a name of its own, and every label and field shows whole. The Add Symbol fields
// are named by their labels, which are their buddies.
TEST_F(KeyboardTest, ControlsAreNamedAndWholeInEveryInterfaceFont) {
  tarvex::test::ForEachInterfaceFont([this](int pt) {
    Start();
    main->resize(1280, 900);  // a desktop's size: the test screen is smaller than any in use with large fonts
    main->cmbTvwSel->setCurrentIndex(0);
    tarvex::test::ProcessEvents();
    EXPECT_EQ(tarvex::test::ClippedWidgets(main.get()), QStringList()) << pt << " pt main window";
    // The left panel's top row reads from its left edge: the tree chooser, then the document's.
    EXPECT_TRUE(main->cmbTvwSel->x() == 0 && main->cmbCog->x() > main->cmbTvwSel->geometry().right()) << pt;
    main->mnuFileNew_Click();
    main->findBar->Open(true);
    for (int tree : {0, 1}) {
      main->cmbTvwSel->setCurrentIndex(tree);
      tarvex::test::ProcessEvents();
      EXPECT_EQ(tarvex::test::AccessibleNameProblems(main.get()), QStringList()) << pt << " pt, tree " << tree;
    }
    // The Bramwise drop-down, made when first shown, is as tall as the row laid out without it.
    EXPECT_EQ(main->cmbCog->sizeHint().height(), main->cmbTvwSel->sizeHint().height()) << pt;
    EXPECT_EQ(tarvex::test::AccessibleName(main->CurrentCog()->txtMain), "Text of Cog 2");
    for (auto [label, field] : {std::pair{"Name:", "txtVarName"}, {"Link ID:", "txtLinkID"}, {"Local:", "chkLocal"}}) {
      QLabel* l = nullptr;
      for (QLabel* c : main->fraAddSym->findChildren<QLabel*>())
        if (c->text() == label) l = c;
      ASSERT_TRUE(l && l->buddy()) << label;
      EXPECT_EQ(l->buddy()->objectName(), field);
      if (l->buddy() == main->txtLinkID) { EXPECT_GT(l->x(), main->chkLocal->geometry().right() + 1) << pt; }  // a gap
    }
    main->mnuViewOptions_Click();
    main->mnuHelp_Click();
    tarvex::test::ProcessEvents();
    // The About box has one size, so that a window manager draws no resize handle under it.
    ASSERT_TRUE(main->AboutWindow());
    EXPECT_EQ(main->AboutWindow()->minimumSize(), main->AboutWindow()->maximumSize()) << pt;
    const QLineEdit* folder = main->OptionsWindow()->txtDefOpenDir;
    EXPECT_GE(folder->width(), folder->fontMetrics().averageCharWidth() * 30) << pt;  // a folder's path shows
    for (QWidget* dialog : {static_cast<QWidget*>(main->OptionsWindow()), static_cast<QWidget*>(main->AboutWindow())}) {
      ASSERT_TRUE(dialog);
      EXPECT_EQ(tarvex::test::ClippedWidgets(dialog), QStringList()) << pt << " pt " << dialog->objectName();
      EXPECT_EQ(tarvex::test::AccessibleNameProblems(dialog), QStringList()) << pt << " pt " << dialog->objectName();
      dialog->close();
    }
    main->close();
    main.reset();
    tarvex::test::ProcessEvents();
  });
}

// Every colour of the colouring, the line numbers and the About box's links reaches a contrast
// of 4.5 against its background, on a light and on a dark palette, also when the palette
// changes while the window, the find bar's marks and the About box are open (another desktop
// theme chosen), the text over a match mark too. The
// About box's links are reached with Tab and opened with Enter.
TEST_F(KeyboardTest, TextColoursAreReadableOnLightAndDarkPalettes) {
  const QPalette before = QApplication::palette();
  Start();
  frmScrivane* w = main->CurrentCog();
  w->txtMain->SetText("code\r\nstartup:\r\n  Sleep(1);\r\nend\r\n");
  main->findBar->Open(false);
  main->findBar->txtFind->setText(QStringLiteral("Sleep"));
  main->mnuHelp_Click();
  frmAbout* a = main->AboutWindow();
  ASSERT_TRUE(a);
  for (bool dark : {false, true, false}) {
    QPalette p;
    p.setColor(QPalette::Base, dark ? QColor(0x1e, 0x1e, 0x1e) : Qt::white);
    p.setColor(QPalette::Window, dark ? QColor(0x2d, 0x2d, 0x30) : QColor(0xef, 0xef, 0xef));
    p.setColor(QPalette::Text, dark ? QColor(0xdc, 0xdc, 0xdc) : Qt::black);
    p.setColor(QPalette::WindowText, dark ? QColor(0xdc, 0xdc, 0xdc) : Qt::black);
    QApplication::setPalette(p);
    tarvex::test::ProcessEvents();
    const auto formats = CogHighlighter::FormatsFor(p);
    for (int k = 0; k < kCogSpanKindCount; ++k)
      EXPECT_GE(tarvex::ContrastRatio(formats[size_t(k)].foreground().color(), p.color(QPalette::Base)), 4.5)
          << (dark ? "dark " : "light ") << k;
    // The window colours with the same table, chosen anew for the palette.
    const auto painted = PaintedFormats(w->txtMain, 2);
    ASSERT_FALSE(painted.isEmpty());
    for (const QTextLayout::FormatRange& r : painted)
      EXPECT_GE(tarvex::ContrastRatio(r.format.foreground().color(), p.color(QPalette::Base)), 4.5) << dark;
    ASSERT_EQ(w->txtMain->MatchMarks().size(), 1);
    EXPECT_GE(tarvex::ContrastRatio(p.color(QPalette::Text), w->txtMain->MatchMarks()[0].format.background().color()), 4.5)
        << dark;
    a->lblEmail->ensurePolished();
    EXPECT_GE(tarvex::ContrastRatio(a->lblEmail->palette().color(a->lblEmail->foregroundRole()), p.color(QPalette::Window)), 4.5)
        << dark;
  }
  QApplication::setPalette(before);
  // The first link takes the focus, Enter opens it, Tab goes on to the next; a click opens each
  // too, and a click elsewhere on the box closes it.
  QStringList opened;
  tarvex::SetShellOpener([&opened](const QString& link) { opened << link; });
  a->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(a));
  for (int key : {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Enter}) Key(key);
  QTest::mouseClick(a->lblEmail, Qt::LeftButton);
  QTest::mouseClick(a->lblWebsite, Qt::LeftButton);
  tarvex::SetShellOpener(nullptr);
  const QString mail = "mailto:" + a->lblEmail->text() + "?subject=Scrivane v" + QString(TARVEX_VERSION) + "b";
  EXPECT_EQ(opened, QStringList({mail, a->lblWebsite->text(), mail, a->lblWebsite->text()}));
  QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, 5));
  tarvex::test::ProcessEvents();
  EXPECT_FALSE(main->AboutWindow());
}
