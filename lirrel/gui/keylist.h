#pragma once
// The key list of the editor window. Each entry carries its text and the index of its key in
// the table; the list holds tens of thousands of entries, so it is a view over a plain
// vector rather than one item object per entry.
#include <QAbstractListModel>
#include <QListView>
#include <QString>
#include <vector>

namespace lirrel {

class KeyListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  struct Entry {
    QString text;
    int key = 0;
  };
  static constexpr int kKeyRole = Qt::UserRole;

  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : int(entries_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override;

  void Clear();
  void Append(const QString& text, int key);
  void SetEntries(std::vector<Entry> entries);
  const Entry& At(int row) const { return entries_[size_t(row)]; }
  int Count() const { return int(entries_.size()); }

 private:
  std::vector<Entry> entries_;
};

// The list view; reports a typed character once the list has moved its selection for it.
class KeyList : public QListView {
  Q_OBJECT
 public:
  explicit KeyList(QWidget* parent = nullptr);

  // The selected row, or -1.
  int SelectedRow() const;
  void SelectRow(int row);

 signals:
  void characterTyped();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace lirrel
