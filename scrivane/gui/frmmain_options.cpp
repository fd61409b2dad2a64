// The main window's View > Options and Help > About, and the Edit menu's Check Syntax item
// as the options show or hide it.
#include <QAction>

#include "common/prefs.h"
#include "scrivane/gui/frmabout.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmoptions.h"

namespace scrivane {

void frmMain::mnuViewOptions_Click() {
  auto* w = new frmOptions(this);
  options_ = w;
  w->show();  // modal by its window modality
}

void frmMain::mnuHelp_Click() {
  auto* w = new frmAbout(this);
  about_ = w;
  w->show();
}

frmOptions* frmMain::OptionsWindow() const { return options_.data(); }
frmAbout* frmMain::AboutWindow() const { return about_.data(); }

void frmMain::ShowCheckSyntax(bool shown) {
  if (shown) {
    EnableCheckSyntax();
    return;
  }
  mnuEditBar1->setVisible(false);
  mnuEditChkSyn->setVisible(false);
  mnuEditChkSyn->setEnabled(false);
}

}  // namespace scrivane
