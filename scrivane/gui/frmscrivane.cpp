#include "scrivane/gui/frmscrivane.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "scrivane/core/shell.h"
#include "scrivane/core/textops.h"
#include "scrivane/gui/boxlines.h"
#include "scrivane/gui/coghighlighter.h"
#include "scrivane/gui/frmmain.h"

namespace scrivane {

frmScrivane::frmScrivane(frmMain* main, QWidget* parent) : QWidget(parent), main_(main) {
  setObjectName(QStringLiteral("frmScrivane"));
  // In the document font from the start: the text and its line numbers are measured once.
  txtMain = main ? new TextBox(main->DocumentFont(), this) : new TextBox(this);
  // Coloured from the first text on, a line as it is shown.
  new CogHighlighter(txtMain, main ? main->cogWords : nullptr, txtMain->palette());

  picMain = new QWidget(this);
  picMain->setObjectName(QStringLiteral("picMain"));
  lblHelp = new QLabel(picMain);
  lblHelp->setObjectName(QStringLiteral("lblHelp"));
  lblHelp->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblHelp->setWordWrap(true);
  auto* helpLayout = new QVBoxLayout(picMain);
  helpLayout->setContentsMargins(4, 2, 4, 2);
  helpLayout->addWidget(lblHelp);
  picMain->hide();

  BuildDiskBar();

  txtMain->installEventFilter(this);
  connect(txtMain->document(), &QTextDocument::contentsChange, this,
          [this](int position, int, int charsAdded) { TrackSections(position, charsAdded); });
  connect(txtMain, &QPlainTextEdit::textChanged, this, &frmScrivane::txtMain_Change);
  resize(480, 360);
}

frmScrivane::~frmScrivane() {
  // The text box and the list die after this window's members: their last events and
  // signals must not reach the hint handlers.
  txtMain->document()->disconnect(this);
  txtMain->removeEventFilter(this);
  if (lvwParams_) {
    lvwParams_->removeEventFilter(this);
    lvwParams_->viewport()->removeEventFilter(this);
  }
}

void frmScrivane::MakeMessageList() {
  if (picParams_) return;
  picParams_ = new QWidget(this);
  picParams_->setObjectName(QStringLiteral("picCogParams"));
  lvwParams_ = new QTreeWidget(picParams_);
  lvwParams_->setObjectName(QStringLiteral("lvwCogParams"));
  lvwParams_->setHeaderLabels({QStringLiteral("Parameter")});
  lvwParams_->setRootIsDecorated(false);
  auto* paramsLayout = new QVBoxLayout(picParams_);
  paramsLayout->setContentsMargins(0, 0, 0, 0);
  paramsLayout->addWidget(lvwParams_);
  picParams_->resize(kListWidth, kListHeight);
  picParams_->hide();
  // Over the text, under the bar above it, and after the text in the Tab order, as if it had
  // been made with the window.
  picParams_->stackUnder(barDisk);
  QWidget::setTabOrder(txtMain, lvwParams_);
  QList<QTreeWidgetItem*> items;
  items.reserve(messageNames.size());
  for (const QString& name : messageNames) {
    auto* item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, Qt::UserRole, name);  // the item's key
    items << item;
  }
  lvwParams_->addTopLevelItems(items);
  lvwParams_->installEventFilter(this);
  lvwParams_->viewport()->installEventFilter(this);
}

bool frmScrivane::ListUp() const { return picParams_ && !picParams_->isHidden(); }

int frmScrivane::Number() const { return Tag.mid(3).toInt(); }

void frmScrivane::SetCaption(const QString& caption) {
  setWindowTitle(caption);
}

void frmScrivane::MarkClean() {
  bMod = false;
  const QString c = Caption();
  if (c.endsWith(QLatin1Char('*'))) SetCaption(c.left(c.size() - 1));
}

void frmScrivane::MarkModified() {
  bMod = true;
  const QString c = Caption();
  if (!c.endsWith(QLatin1Char('*'))) SetCaption(c + QLatin1Char('*'));
}

void frmScrivane::txtMain_Change() {
  MarkModified();
  const SectionMarks marks = sections_.Marks(BoxLines(*txtMain));
  lsym = qint32(marks.lsym);
  lsymend = qint32(marks.lsymend);
}

void frmScrivane::closeEvent(QCloseEvent* e) {
  if (!bPromptAnswered && !main_->QueryUnload(this)) {
    e->ignore();
    return;
  }
  e->accept();
  main_->DocumentClosed(this);
}

void frmScrivane::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (isMinimized() || (main_ && main_->isMinimized())) return;
  LayoutPanels();
}

void frmScrivane::LayoutPanels() {
  const int w = std::max(0, width() - TwipsToPixels(120, logicalDpiY()));
  int strip = 0;
  if (!picMain->isHidden()) {
    QLayout* l = picMain->layout();
    strip = l->hasHeightForWidth() ? l->totalHeightForWidth(w) : l->totalSizeHint().height();
  }
  const int top = barDisk->isHidden() ? 0 : std::min(barDisk->sizeHint().height(), height());
  barDisk->setGeometry(0, 0, w, top);
  const int h = std::max(0, height() - strip - top);
  txtMain->setGeometry(0, top, w, h);
  picMain->setGeometry(0, top + h, w, height() - h - top);
}

}  // namespace scrivane
