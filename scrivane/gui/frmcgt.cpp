#include "scrivane/gui/frmcgt.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "common/ui/prompts.h"
#include "scrivane/core/scriptfile.h"
#include "scrivane/core/shell.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {

// Only the value column is edited in place; the other columns describe the field.
class ValueColumnDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return index.column() == 0 ? QStyledItemDelegate::createEditor(parent, option, index) : nullptr;
  }
};

}  // namespace

frmCGT::frmCGT(frmMain* main) : QDialog(main), main_(main) {
  setObjectName(QStringLiteral("frmCGT"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::ApplicationModal);
  setWindowTitle(QStringLiteral("Cog Template"));

  lvwCog = new QTreeWidget(this);
  lvwCog->setObjectName(QStringLiteral("lvwCog"));
  lvwCog->setRootIsDecorated(false);
  lvwCog->setAllColumnsShowFocus(true);
  lvwCog->setItemDelegate(new ValueColumnDelegate(lvwCog));
  lvwCog->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::SelectedClicked);
  lvwCog->header()->setStretchLastSection(true);
  cmdGenCog = new QPushButton(QStringLiteral("Generate Cog"), this);
  cmdGenCog->setObjectName(QStringLiteral("cmdGenCog"));
  cmdGenCog->setAutoDefault(false);
  connect(cmdGenCog, &QPushButton::clicked, this, &frmCGT::cmdGenCog_Click);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdGenCog);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lvwCog, 1);
  layout->addLayout(buttons);
  resize(TwipsToPixels(9000, logicalDpiX()), TwipsToPixels(4200, logicalDpiY()));
}

bool frmCGT::OpenCogTemplate(const QString& path) {
  strFile = path;
  headerLength = 0;
  const ScriptReadResult r = ReadScriptFile(path, true);
  if (!r.ok) {
    tarvex::prompts().MsgBox(QStringLiteral("Cannot open \"%1\": %2").arg(path, r.error), QStringLiteral("Scrivane"),
                             tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
    return false;
  }
  QString crlf = r.content.text;
  const TemplateParse p = ParseCogTemplate(crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
  if (!p.ok) {
    tarvex::prompts().MsgBox(TemplateFaultMessage(path, p), QStringLiteral("Scrivane"), tarvex::MsgButtons::OK,
                             tarvex::MsgIcon::Exclamation);
    return false;
  }
  headerLength = qint32(qMin<qsizetype>(p.tpl.headerLength, INT32_MAX));
  body_ = TemplateBodyLines(r.content, p.tpl.headerLines);
  lvwCog->clear();
  lvwCog->setHeaderLabels(p.tpl.headings);
  QList<QTreeWidgetItem*> items;
  for (const QStringList& row : p.tpl.rows) {
    auto* item = new QTreeWidgetItem(row);
    item->setData(0, Qt::UserRole, row[1]);  // the row's key: the field's name
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    items << item;
  }
  lvwCog->addTopLevelItems(items);
  SizeColumns(p.tpl.headings);
  return true;
}

void frmCGT::SizeColumns(const QStringList& headings) {
  // Each column but the last as wide as its heading (and, so that values can be read, as its
  // widest entry up to a third of the list); the last takes what remains less 1000 twips.
  const QFontMetrics fm(lvwCog->font());
  const int pad = fm.horizontalAdvance(QStringLiteral("  ")) * 2;
  const int listWidth = lvwCog->viewport()->width() > 100 ? lvwCog->viewport()->width() : width() - 24;
  int total = 0;
  for (int j = 0; j + 1 < headings.size(); ++j) {
    int w = fm.horizontalAdvance(headings[j]);
    for (int i = 0; i < lvwCog->topLevelItemCount(); ++i)
      w = qMax(w, qMin(fm.horizontalAdvance(lvwCog->topLevelItem(i)->text(j)), listWidth / 3));
    lvwCog->setColumnWidth(j, w + pad);
    total += w + pad;
  }
  lvwCog->setColumnWidth(int(headings.size()) - 1,
                         qMax(fm.horizontalAdvance(headings.last()) + pad,
                              listWidth - total - TwipsToPixels(1000, logicalDpiX())));
}

QList<TemplateValue> frmCGT::Values() const {
  QList<TemplateValue> values;
  for (int i = 0; i < lvwCog->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = lvwCog->topLevelItem(i);
    values.append({item->data(0, Qt::UserRole).toString(), item->text(0)});
  }
  return values;
}

void frmCGT::cmdGenCog_Click() {
  frmScrivane* w = main_->NewCog(QStringLiteral("blank"), QString());
  // The script is the new document's first text, with the line ends of the template's body,
  // like a file loaded; the change marks it modified. Fields stand within lines, so each line
  // keeps its number and its end.
  w->lineEnd = body_.style;
  w->txtMain->SetWidgetText(FillTemplate(body_.text, Values()), body_.odd);
  w->txtMain->SetSelStart(0);
  main_->UpdateStatusBar();
  close();
}

}  // namespace scrivane
