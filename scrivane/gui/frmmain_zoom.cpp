// Zoom of the document text: Ctrl+wheel, Ctrl++, Ctrl+- and Ctrl+0 make the text of every
// document window (and its line numbers, which follow the text's font) larger or smaller by a
// point per step. The stored font stays as chosen; the zoom lasts until the program ends.
#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>

#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {
constexpr int kSmallest = 4, kLargest = 96;  // points

// The family the text is shown in. A stored family that is not installed ("Courier New" on
// Linux) is looked up once, and the family found for it is named from then on: every style the
// colouring uses (bold, italic) would otherwise search the fallbacks of the missing family
// anew, a noticeable part of start-up. The face the font finds answers whether the family is
// installed: its regular style is drawn anyway, while asking the font database about the name
// first (hasFamily) runs the font configuration's substitution rules once more.
QString ShownFamily(const QFont& font) {
  static QString asked, shown;
  static bool bold = false, italic = false;
  if (font.family() != asked || font.bold() != bold || font.italic() != italic) {
    asked = font.family();
    bold = font.bold();
    italic = font.italic();
    const QString found = QFontInfo(font).family();
    // A family with several foundries is named "Family [Foundry]", which the face found does not repeat.
    const bool installed = found.compare(asked, Qt::CaseInsensitive) == 0 ||
                           QFontDatabase::families().contains(asked, Qt::CaseInsensitive);
    shown = installed ? asked : found;
  }
  return shown;
}
}  // namespace

void frmMain::BuildZoomCommands() {
  mnuView->addSeparator();
  auto item = [this](QAction*& a, const char* name, const QString& caption, const QList<QKeySequence>& keys, int steps) {
    a = mnuView->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcuts(keys);
    connect(a, &QAction::triggered, this, [this, steps] { Zoom(steps); });
  };
  // Ctrl+= as well: on many keyboards "+" needs Shift.
  item(mnuViewZoomIn, "mnuViewZoomIn", QStringLiteral("Zoom &In"),
       {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)}, 1);
  item(mnuViewZoomOut, "mnuViewZoomOut", QStringLiteral("Zoom O&ut"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, -1);
  item(mnuViewZoomReset, "mnuViewZoomReset", QStringLiteral("Reset &Zoom"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, 0);
}

QFont frmMain::DocumentFont() const {
  QFont f = defaults.Font();
  const int base = f.pointSize() > 0 ? f.pointSize() : 8;
  f.setPointSize(std::clamp(base + zoomSteps, std::min(kSmallest, base), std::max(kLargest, base)));
  f.setFamily(ShownFamily(f));
  return f;
}

void frmMain::Zoom(int steps) {
  const int base = std::max(defaults.Font().pointSize(), 1);
  // Steps past the smallest or largest size are not counted, so that zooming back is immediate.
  zoomSteps = steps == 0 ? 0 : std::clamp(zoomSteps + steps, std::min(0, kSmallest - base), std::max(0, kLargest - base));
  ApplyFontToAll();
}

}  // namespace scrivane
