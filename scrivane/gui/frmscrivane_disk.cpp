// A document window whose file changed on disk: the bar above the text that offers to read
// the file again, and the reload itself.
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include "common/ui/prompts.h"
#include "scrivane/core/scriptfile.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

void frmScrivane::BuildDiskBar() {
  barDisk = new QWidget(this);
  barDisk->setObjectName(QStringLiteral("barDisk"));
  barDisk->setAutoFillBackground(true);
  barDisk->setBackgroundRole(QPalette::ToolTipBase);
  lblDisk = new QLabel(barDisk);
  lblDisk->setObjectName(QStringLiteral("lblDisk"));
  lblDisk->setForegroundRole(QPalette::ToolTipText);
  cmdReload = new QPushButton(QStringLiteral("&Reload"), barDisk);
  cmdReload->setObjectName(QStringLiteral("cmdReload"));
  cmdIgnore = new QPushButton(QStringLiteral("&Ignore"), barDisk);
  cmdIgnore->setObjectName(QStringLiteral("cmdIgnore"));
  auto* layout = new QHBoxLayout(barDisk);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->addWidget(lblDisk, 1);
  layout->addWidget(cmdReload);
  layout->addWidget(cmdIgnore);
  barDisk->hide();
  connect(cmdReload, &QPushButton::clicked, this, [this] { ReloadFromDisk(); });
  connect(cmdIgnore, &QPushButton::clicked, this, &frmScrivane::IgnoreDiskChange);
}

void frmScrivane::CheckDisk() {
  const tarvex::FileStamp now = tarvex::StampOf(strFile);
  // A file deleted (or moved away) behind the window: the text here is now its only copy, so
  // the document counts as modified, and closing asks to save it; saving writes it again.
  const bool gone = diskStamp.exists && !now.exists;
  if (!gone) ignoredGone_ = false;
  if (gone && !bMod) MarkModified();
  const bool changed = tarvex::ChangedOnDisk(diskStamp, strFile) && now != ignoredStamp_;
  if (gone)
    lblDisk->setText(strFileTitle + QStringLiteral(" is no longer on disk. Saving writes it again."));
  else if (changed)
    lblDisk->setText(strFileTitle + QStringLiteral(" has changed on disk.") +
                     (bMod ? QStringLiteral(" Reloading it drops the changes made here.") : QString()));
  cmdReload->setHidden(gone);
  const bool shown = changed || (gone && !ignoredGone_);
  if (shown == barDisk->isHidden()) {
    barDisk->setVisible(shown);
    LayoutPanels();
  }
}

void frmScrivane::IgnoreDiskChange() {
  ignoredStamp_ = tarvex::StampOf(strFile);
  ignoredGone_ = !ignoredStamp_.exists;
  CheckDisk();
}

bool frmScrivane::ReloadFromDisk() {
  if (bMod && tarvex::prompts().MsgBox(QStringLiteral("Reload %1 and drop the changes made here?").arg(strFileTitle),
                                       QStringLiteral("Scrivane"), tarvex::MsgButtons::YesNo,
                                       tarvex::MsgIcon::Exclamation) != tarvex::MsgResult::Yes)
    return false;
  ScriptReadResult r = ReadScriptFile(strFile, true);
  if (!r.ok) {
    tarvex::prompts().MsgBox(QStringLiteral("Cannot open \"%1\": %2").arg(strFile, r.error), QStringLiteral("Scrivane"),
                             tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
    return false;
  }
  // The caret and the view stay where they were, as far as the new text reaches.
  const qsizetype caret = txtMain->SelStart();
  const int across = txtMain->horizontalScrollBar()->value(), down = txtMain->verticalScrollBar()->value();
  main_->LoadCog(this, strFile, strFileTitle, std::move(r));
  txtMain->SetSelStart(std::min(caret, txtMain->TextLength()));
  txtMain->verticalScrollBar()->setValue(down);
  txtMain->horizontalScrollBar()->setValue(across);
  ignoredStamp_ = {};
  CheckDisk();
  return true;
}

}  // namespace scrivane
