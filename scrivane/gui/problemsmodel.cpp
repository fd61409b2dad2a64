#include "scrivane/gui/problemsmodel.h"

#include <QEvent>
#include <QHeaderView>

namespace scrivane {

void ProblemsModel::Show(std::shared_ptr<const CogFindingList> findings) {
  const int before = rows_, after = findings ? int(findings->Size()) : 0;
  // The rows before the first run that changed and after the last one keep their findings; the
  // changed ones are taken out, the new ones put in, and the rows after them told that they may
  // have moved lines.
  size_t same = 0, sameEnd = 0;
  if (front_ && findings) front_->Shared(*findings, &same, &sameEnd);
  const int first = int(same), endOld = before - int(sameEnd), endNew = after - int(sameEnd);
  std::shared_ptr<const CogFindingList> old = front_;
  if (endOld > first) {
    beginRemoveRows(QModelIndex(), first, endOld - 1);
    back_ = old;
    split_ = first;
    from_ = endOld;
    rows_ = first + int(sameEnd);
    endRemoveRows();
  }
  const auto take = [&] {
    front_ = findings;
    back_ = old;
    split_ = endNew;
    from_ = endOld;
    rows_ = after;
  };
  if (endNew > first) {
    beginInsertRows(QModelIndex(), first, endNew - 1);
    take();
    endInsertRows();
  } else {
    take();
  }
  back_.reset();
  split_ = rows_;
  if (sameEnd > 0) emit dataChanged(index(endNew, 0), index(after - 1, columnCount() - 1));
}

CogFinding ProblemsModel::Row(int row) const {
  return row < split_ ? front_->At(size_t(row)) : back_->At(size_t(row - split_ + from_));
}

int ProblemsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int ProblemsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 5; }

QVariant ProblemsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rows_) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != kOffsetRole) return {};
  const CogFinding f = Row(index.row());
  if (role == kOffsetRole) return index.column() == 0 ? QVariant(qlonglong(f.at.offset)) : QVariant();
  if (role == Qt::ToolTipRole) return index.column() == 4 ? QVariant(f.message) : QVariant();
  switch (index.column()) {
    case 0: return QString::number(f.at.line);
    case 1: return QString::number(f.at.column);
    case 2: return CogSeverityName(f.severity);
    case 3: return f.code;
    default: return f.message;
  }
}

QVariant ProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  static const char* const kHeaders[] = {"Line", "Col", "Severity", "Code", "Message"};
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= 5) return {};
  return QString::fromLatin1(kHeaders[section]);
}

ProblemsList::ProblemsList(QWidget* parent) : QTableView(parent) {
  setShowGrid(false);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(true);
  FitRows();
}

void ProblemsList::changeEvent(QEvent* e) {
  QTableView::changeEvent(e);
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) FitRows();
}

void ProblemsList::FitRows() { verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4); }

}  // namespace scrivane
