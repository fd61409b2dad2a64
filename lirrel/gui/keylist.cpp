#include "lirrel/gui/keylist.h"

#include <QKeyEvent>

namespace lirrel {

QVariant KeyListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= Count()) return {};
  const Entry& e = entries_[size_t(index.row())];
  if (role == Qt::DisplayRole || role == Qt::ToolTipRole) return e.text;
  if (role == kKeyRole) return e.key;
  return {};
}

void KeyListModel::Clear() {
  if (entries_.empty()) return;
  beginResetModel();
  entries_.clear();
  endResetModel();
}

void KeyListModel::Append(const QString& text, int key) {
  const int row = Count();
  beginInsertRows(QModelIndex(), row, row);
  entries_.push_back({text, key});
  endInsertRows();
}

void KeyListModel::SetEntries(std::vector<Entry> entries) {
  beginResetModel();
  entries_ = std::move(entries);
  endResetModel();
}

KeyList::KeyList(QWidget* parent) : QListView(parent) {
  setUniformItemSizes(true);  // rows of one height: no measuring of every entry
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

int KeyList::SelectedRow() const {
  if (!selectionModel()) return -1;
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void KeyList::SelectRow(int row) {
  if (!model() || row < 0 || row >= model()->rowCount()) {
    if (selectionModel()) selectionModel()->clear();
    return;
  }
  const QModelIndex index = model()->index(row, 0);
  selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
  scrollTo(index);
}

void KeyList::keyPressEvent(QKeyEvent* event) {
  QListView::keyPressEvent(event);
  if (!event->text().isEmpty() && event->text().front().isPrint()) emit characterTyped();
}

}  // namespace lirrel
