#pragma once
// The rows of the Problems list: one per finding of a document's last reading, made when the
// list shows them. A new reading changes only the rows of the findings that changed (the runs
// of findings it shares with the reading before stay), so the list keeps its place, its
// selection and its current row, and a reading costs the list the changed rows, not all.
#include <QAbstractTableModel>
#include <QTableView>
#include <memory>

#include "scrivane/core/cogscript.h"

namespace scrivane {

class ProblemsModel : public QAbstractTableModel {
 public:
  static constexpr int kOffsetRole = Qt::UserRole;  // column 0: the finding's offset

  using QAbstractTableModel::QAbstractTableModel;
  // The findings to show (null: none).
  void Show(std::shared_ptr<const CogFindingList> findings);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // The rows: the first `split_` from front_, the others from back_ from its row `from_` on
  // (while the rows change, the changed ones are taken out before the new ones go in).
  CogFinding Row(int row) const;
  std::shared_ptr<const CogFindingList> front_, back_;
  int split_ = 0, from_ = 0, rows_ = 0;
};

// The list that shows them: a table looking like a list of rows, whose rows all have the
// height of a line of its font, so that rows coming and going cost it the rows that change
// (a tree view lays out every row again).
class ProblemsList : public QTableView {
 public:
  explicit ProblemsList(QWidget* parent);

 protected:
  void changeEvent(QEvent* e) override;

 private:
  void FitRows();
};

}  // namespace scrivane
