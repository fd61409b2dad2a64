// The Edit menu: brace matching, find and replace on the current document window, and the
// syntax check dialog. The operations themselves are window-free (core/textops); here they
// run on the text box's model and the window takes over their result.
#include <QAction>

#include "common/ui/prompts.h"
#include "scrivane/core/textops.h"
#include "scrivane/gui/frmchksyn.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {

// Puts the model's text (as one edit, one undo step) and selection into the text box.
void TakeOver(TextBox* box, const TextModel& m, const TextOpResult& r) {
  if (r.textChanged) {
    box->Apply(m);
  } else {
    box->SetSelStart(m.SelStart());
    box->SetSelLength(m.SelLength());
  }
}

}  // namespace

// ---- Operations of a document window ----

void frmScrivane::MatchBrace() {
  TextModel m = txtMain->Model();
  TakeOver(txtMain, m, scrivane::MatchBrace(m));
}

void frmScrivane::FindWord() {
  TextModel m = txtMain->Model();
  FindState f{sW, sR, ipos};
  const TextOpResult r = scrivane::FindWord(m, f);
  ipos = qint32(f.ipos);
  TakeOver(txtMain, m, r);
  if (r.showNotFound) tarvex::prompts().MsgBox(r.message, QString(), tarvex::MsgButtons::OK);
  if (r.disableFindNext) main_->mnuEdit[2]->setEnabled(false);
}

void frmScrivane::Replace(bool bAll, bool bCheckEdges) {
  TextModel m = txtMain->Model();
  FindState f{sW, sR, ipos};
  const TextOpResult r = scrivane::Replace(m, f, bAll, bCheckEdges);
  ipos = qint32(f.ipos);
  TakeOver(txtMain, m, r);
  lastReplaced = r.replaced;
}

// ---- The Edit menu of the main window ----

void frmMain::mnuEdit_Click(int index) {
  frmScrivane* w = CurrentCog();
  if (!w) return;  // no document window open
  tarvex::Prompts& ask = tarvex::prompts();
  switch (index) {
    case 0:
      w->MatchBrace();
      break;
    case 1:
      w->sW = ask.InputBox(QStringLiteral("Enter word to Find"), QStringLiteral("Find Word"));
      if (!w->sW.isEmpty()) {
        w->ipos = 1;
        w->FindWord();
        mnuEdit[2]->setEnabled(true);
      }
      break;
    case 2:
      w->FindWord();
      break;
    case 3:
    case 4:
      // Both boxes are always shown, also after the first was cancelled.
      w->sW = ask.InputBox(QStringLiteral("Enter word to Replace"), QStringLiteral("Replace Word"));
      w->sR = ask.InputBox(QStringLiteral("Enter word to Replace with"), QStringLiteral("Replace Word"));
      if (!w->sW.isEmpty() && !w->sR.isEmpty()) {
        w->ipos = 1;
        w->Replace(index == 4, false);
        if (index == 4) ShowReplacedCount(w->lastReplaced);
      }
      break;
    default:
      break;
  }
}

void frmMain::EnableCheckSyntax() {
  mnuEditBar1->setVisible(true);
  mnuEditChkSyn->setVisible(true);
  mnuEditChkSyn->setEnabled(true);
}

void frmMain::mnuEditChkSyn_Click() {
  if (chkSyn_) {  // already open: only brought to the front, its list stays as it is
    chkSyn_->show();
    chkSyn_->raise();
    chkSyn_->activateWindow();
    return;
  }
  if (!CurrentCog()) return;
  ChkSynDocument doc;
  doc.caption = [this] {
    frmScrivane* w = CurrentCog();
    return w ? w->Caption() : QString();
  };
  doc.text = [this] {
    frmScrivane* w = CurrentCog();
    return w ? w->txtMain->Text() : QString();
  };
  doc.selStart = [this] {
    frmScrivane* w = CurrentCog();
    return w ? w->txtMain->SelStart() : qsizetype(0);
  };
  doc.setSelStart = [this](qsizetype p) {
    if (frmScrivane* w = CurrentCog()) w->txtMain->SetSelStart(p);
  };
  chkSyn_ = new frmChkSyn(std::move(doc), this);
  chkSyn_->show();
}

}  // namespace scrivane
