#include "scrivane/gui/frmabout.h"

#include <QGridLayout>
#include <QLabel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVersionNumber>

#include "common/tarvex.h"
#include "common/ui/contrast.h"
#include "common/ui/shellopen.h"

namespace scrivane {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(QStringLiteral("About Scrivane"));

  lblVersion = new QLabel(VersionText(QStringLiteral(TARVEX_VERSION)), this);
  QFont big = lblVersion->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.3);
  lblVersion->setFont(big);
  lblAbout = new QLabel(
      QStringLiteral("Scrivane, the COG script editor of the Tarvex tool set for Jedi Knight and MotS, "
                     "written by Halvard.\n\nThanks to everyone who tried the early versions, reported "
                     "what broke and sent the scripts that made it better, and to the editing community "
                     "that keeps the game's levels alive."),
      this);
  lblAbout->setWordWrap(true);
  lblEmail = new QLabel(QLatin1String(tarvex::kEmail), this);
  lblWebsite = new QLabel(QLatin1String(tarvex::kWebsite), this);
  const struct { QLabel* l; const char* name; } named[] = {
      {lblVersion, "lblVersion"}, {lblAbout, "lblAbout"}, {lblEmail, "lblEmail"}, {lblWebsite, "lblWebsite"}};
  for (const auto& n : named) n.l->setObjectName(QLatin1String(n.name));
  ColourLinks();
  for (QLabel* link : {lblEmail, lblWebsite}) {
    // Reached with Tab and opened with Enter or Space as well.
    link->setFocusPolicy(Qt::StrongFocus);
    link->setCursor(Qt::PointingHandCursor);
    link->installEventFilter(this);
  }

  auto* grid = new QGridLayout(this);
  grid->addWidget(lblVersion, 0, 0, 1, 2);
  grid->addWidget(lblAbout, 1, 0, 1, 2);
  auto* emailLabel = new QLabel(QStringLiteral("E-mail:"), this);
  auto* websiteLabel = new QLabel(QStringLiteral("Website:"), this);
  emailLabel->setBuddy(lblEmail);
  websiteLabel->setBuddy(lblWebsite);
  lblEmail->setAccessibleName(QStringLiteral("E-mail: ") + lblEmail->text());
  lblWebsite->setAccessibleName(QStringLiteral("Website: ") + lblWebsite->text());
  grid->addWidget(emailLabel, 2, 0);
  grid->addWidget(lblEmail, 2, 1);
  grid->addWidget(websiteLabel, 3, 0);
  grid->addWidget(lblWebsite, 3, 1);
  grid->setColumnStretch(1, 1);
  // As wide as about 56 characters of the font in use, and as tall as the wrapped text needs
  // at that width: the heading never runs into the text below it. Of that one size: a window
  // manager then gives the box no resize handle (a light strip under it on a dark theme) and
  // no maximize button.
  const int width = std::max(420, fontMetrics().averageCharWidth() * 56);
  setFixedSize(width, grid->hasHeightForWidth() ? grid->totalHeightForWidth(width) : grid->totalMinimumSize().height());
}

QString frmAbout::VersionText(const QString& version) {
  const QVersionNumber v = QVersionNumber::fromString(version);
  return QStringLiteral("Scrivane version %1.%2.%3b").arg(v.majorVersion()).arg(v.minorVersion()).arg(v.microVersion());
}

void frmAbout::ColourLinks() {
  // The link blue, darker or lighter as the window's background needs to stay readable; the
  // focus shows as a dotted frame.
  const QColor linkColour = tarvex::ReadableOn(QColor(0x1a, 0x4f, 0xb0), palette().color(QPalette::Window));
  for (QLabel* link : {lblEmail, lblWebsite})
    link->setStyleSheet(QStringLiteral("QLabel { color: %1; text-decoration: underline; border: 1px solid transparent; }"
                                       " QLabel:focus { border: 1px dotted %1; }")
                            .arg(linkColour.name()));
}

void frmAbout::changeEvent(QEvent* e) {
  QDialog::changeEvent(e);
  if (e->type() == QEvent::PaletteChange && lblWebsite) ColourLinks();
}

void frmAbout::lblEmail_Click() {
  tarvex::OpenWithShell(this, QStringLiteral("mailto:") + lblEmail->text() + QStringLiteral("?subject=Scrivane v") +
                                  VersionText(QStringLiteral(TARVEX_VERSION)).section(QLatin1Char(' '), 2));
}

void frmAbout::lblWebsite_Click() { tarvex::OpenWithShell(this, lblWebsite->text()); }

void frmAbout::mousePressEvent(QMouseEvent* e) {
  e->accept();
  close();
}

bool frmAbout::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::KeyPress && (o == lblEmail || o == lblWebsite)) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
      if (o == lblEmail) lblEmail_Click();
      else lblWebsite_Click();
      return true;
    }
  }
  if (e->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
    if (o == lblEmail) lblEmail_Click();
    if (o == lblWebsite) lblWebsite_Click();
    return o == lblEmail || o == lblWebsite;
  }
  return QDialog::eventFilter(o, e);
}

}  // namespace scrivane
