#pragma once
// The header viewer of Lirrel and Orvane: the header lines of the file last read, one per
// line, in a read-only text box that fills the window.
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

namespace tarvex {

class HeaderViewer : public QWidget {
  Q_OBJECT
 public:
  // prefix names the window's objects after its program ("lir": lirHeader, lirHeaderView).
  HeaderViewer(QWidget* owner, const QString& prefix, const QString& caption);

  // Empties the view, then lists every line in order, each followed by a line break.
  void Fill(const QStringList& headerLines);

  QPlainTextEdit* HeaderView;
};

}  // namespace tarvex
