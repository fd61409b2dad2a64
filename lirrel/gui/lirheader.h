#pragma once
// The header viewer: the header lines of the file last read, one per line.
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

namespace lirrel {

class lirHeader : public QWidget {
  Q_OBJECT
 public:
  explicit lirHeader(QWidget* owner = nullptr);

  // Empties the view, then lists every line in order, each followed by a line break.
  void Fill(const QStringList& headerLines);

  QPlainTextEdit* lirHeaderView;
};

}  // namespace lirrel
