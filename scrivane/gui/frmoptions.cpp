#include "scrivane/gui/frmoptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

#include "common/prefs.h"
#include "scrivane/core/coglang.h"
#include "scrivane/gui/cogtools.h"
#include "scrivane/gui/frmdir.h"
#include "scrivane/gui/frmmain.h"

namespace scrivane {

namespace {

// The author fields, where they are stored, and the text each shows while nothing is.
struct AuthorField {
  const tarvex::TextPref& pref;
  const char* initial;
};
const AuthorField kAuthor[] = {{tarvex::prefs::AuthName, "Your Name Here"},
                               {tarvex::prefs::AuthEMail, "Your E-mail addy Here"},
                               {tarvex::prefs::AuthWebsite, "http://"}};

template <typename T>
T* Named(T* w, const QString& name) {
  w->setObjectName(name);
  return w;
}

}  // namespace

frmOptions::frmOptions(frmMain* main) : QDialog(main), main_(main) {
  setObjectName(QStringLiteral("frmOptions"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(QStringLiteral("Options"));

  tbsOptions = Named(new QTabBar(this), QStringLiteral("tbsOptions"));
  tbsOptions->addTab(QStringLiteral("Defaults"));
  tbsOptions->addTab(QStringLiteral("Author Info"));
  for (int i = 0; i < 4; ++i) picOptions[i] = Named(new QWidget(this), QStringLiteral("picOptions%1").arg(i));

  // Panel 1: the folders and the Edit menu option.
  auto* openSave = new QGroupBox(QStringLiteral("Open/Save"), picOptions[1]);
  auto* rows = new QFormLayout(openSave);
  const char* labels[] = {"Open Directory:", "Save Directory:", "Extraction Directory:"};
  const char* names[] = {"txtDefOpenDir", "txtDefSaveDir", "txtDefExtDir"};
  QLineEdit** fields[] = {&txtDefOpenDir, &txtDefSaveDir, &txtDefExtDir};
  for (int i = 0; i < 3; ++i) {
    *fields[i] = Named(new QLineEdit(openSave), QString::fromLatin1(names[i]));
    // Room for a folder path of about 36 characters in the font in use.
    (*fields[i])->setMinimumWidth((*fields[i])->fontMetrics().averageCharWidth() * 36);
    cmdShowDir[i] = Named(new QPushButton(QStringLiteral("..."), openSave), QStringLiteral("cmdShowDir%1").arg(i));
    cmdShowDir[i]->setAutoDefault(false);
    cmdShowDir[i]->setFixedWidth(cmdShowDir[i]->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    connect(cmdShowDir[i], &QPushButton::clicked, this, [this, i] { cmdShowDir_Click(i); });
    auto* row = new QHBoxLayout;
    row->addWidget(*fields[i], 1);
    row->addWidget(cmdShowDir[i]);
    // The label names its field for screen readers, the button says what it chooses.
    auto* label = new QLabel(QString::fromLatin1(labels[i]), openSave);
    label->setBuddy(*fields[i]);
    const QString what = QString::fromLatin1(labels[i]).chopped(1);
    (*fields[i])->setAccessibleName(what);
    cmdShowDir[i]->setAccessibleName(QStringLiteral("Choose the ") + what);
    rows->addRow(label, row);
  }
  chkShowCheckSyntax = Named(new QCheckBox(QStringLiteral("Show Check Syntax in the Edit menu"), picOptions[1]),
                             QStringLiteral("chkShowCheckSyntax"));
  cboCheckGame = Named(new QComboBox(picOptions[1]), QStringLiteral("cboCheckGame"));
  for (CogGame g : {CogGame::Both, CogGame::JK, CogGame::MotS}) cboCheckGame->addItem(CogGameTitle(g), int(g));
  auto* gameRow = new QHBoxLayout;
  gameRow->addWidget(new QLabel(QStringLiteral("Check scripts for:"), picOptions[1]));
  gameRow->addWidget(cboCheckGame);
  gameRow->addStretch(1);
  auto* p1 = new QVBoxLayout(picOptions[1]);
  p1->addWidget(openSave);
  p1->addWidget(chkShowCheckSyntax);
  p1->addLayout(gameRow);
  p1->addStretch(1);

  // Panel 0: the author's information.
  auto* author = new QGroupBox(QStringLiteral("Author Info"), picOptions[0]);
  auto* authorRows = new QFormLayout(author);
  const char* authorLabels[] = {"Name:", "E-mail Address:", "Website:"};
  const char* authorNames[] = {"txtAuthName", "txtAuthEmail", "txtAuthWebsite"};
  QLineEdit** authorFields[] = {&txtAuthName, &txtAuthEmail, &txtAuthWebsite};
  for (int i = 0; i < 3; ++i) {
    *authorFields[i] = Named(new QLineEdit(author), QString::fromLatin1(authorNames[i]));
    authorRows->addRow(QString::fromLatin1(authorLabels[i]), *authorFields[i]);
  }
  auto* p0 = new QVBoxLayout(picOptions[0]);
  p0->addWidget(author);
  p0->addStretch(1);

  cmdOK = Named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
  cmdCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("cmdCancel"));
  cmdApply = Named(new QPushButton(QStringLiteral("Apply"), this), QStringLiteral("cmdApply"));
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmOptions::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
  connect(cmdApply, &QPushButton::clicked, this, &frmOptions::cmdApply_Click);
  connect(tbsOptions, &QTabBar::currentChanged, this, &frmOptions::tbsOptions_Click);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {cmdOK, cmdCancel, cmdApply}) buttons->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tbsOptions);
  for (QWidget* p : picOptions) layout->addWidget(p, 1);
  layout->addLayout(buttons);

  // Filled anew from the editor's state at every opening.
  txtDefOpenDir->setText(main_->defaults.DefOpenDir);
  txtDefSaveDir->setText(main_->defaults.DefSaveDir);
  chkShowCheckSyntax->setChecked(tarvex::prefs::ShowCheckSyntax.Get());
  cboCheckGame->setCurrentIndex(cboCheckGame->findData(int(CogGameSetting())));
  for (int i = 0; i < 3; ++i) {
    const AuthorField& f = kAuthor[i];
    (*authorFields[i])->setText(f.pref.IsStored() ? f.pref.Get() : QString::fromLatin1(f.initial));
  }
  tbsOptions_Click();
  // Ctrl+Tab reaches the dialog from whichever control has the focus.
  for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
  resize(480, 260);
}

QLineEdit* frmOptions::DirField(int i) const {
  return i == 0 ? txtDefOpenDir : i == 1 ? txtDefSaveDir : txtDefExtDir;
}

frmDir* frmOptions::DirWindow() const { return dir_.data(); }

void frmOptions::tbsOptions_Click() {
  // "Defaults" shows the folders (panel 1), "Author Info" the author panel (panel 0).
  const int shown = tbsOptions->currentIndex() == 1 ? 0 : 1;
  for (int i = 0; i < 4; ++i) {
    picOptions[i]->setVisible(i == shown);
    picOptions[i]->setEnabled(i == shown);
  }
}

void frmOptions::cmdApply_Click() {
  main_->defaults.DefOpenDir = txtDefOpenDir->text();
  main_->defaults.DefSaveDir = txtDefSaveDir->text();
  QString fault;
  tarvex::prefs::ShowCheckSyntax.Set(chkShowCheckSyntax->isChecked(), &fault);
  main_->ShowCheckSyntax(chkShowCheckSyntax->isChecked());
  tarvex::prefs::CheckGame.Set(CogGameKey(CogGame(cboCheckGame->currentData().toInt())), &fault);
  if (CogTools* tools = CogTools::Of(main_)) tools->RecheckAll();
  const QLineEdit* authorFields[] = {txtAuthName, txtAuthEmail, txtAuthWebsite};
  for (int i = 0; i < 3; ++i) {
    const QString text = authorFields[i]->text();
    if (text != QLatin1String(kAuthor[i].initial)) kAuthor[i].pref.Set(text, &fault);
  }
  main_->ReportSettingsFault(fault);
}

void frmOptions::cmdOK_Click() {
  cmdApply_Click();
  close();
}

void frmOptions::cmdShowDir_Click(int index) {
  auto* w = new frmDir(this);
  w->SetDir(index);
  dir_ = w;
  w->show();  // modal by its window modality
}

bool frmOptions::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(e);
    const bool tab = k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab;
    if (tab && (k->modifiers() & Qt::ControlModifier)) {
      const bool back = k->key() == Qt::Key_Backtab || (k->modifiers() & Qt::ShiftModifier);
      const int n = tbsOptions->count();
      tbsOptions->setCurrentIndex((tbsOptions->currentIndex() + (back ? n - 1 : 1)) % n);
      // The focus was in the panel just hidden: typing goes on in the one shown.
      (tbsOptions->currentIndex() == 1 ? txtAuthName : txtDefOpenDir)->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(o, e);
}

}  // namespace scrivane
