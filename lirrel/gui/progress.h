#pragma once
// The window that shows how far a long load or save has come: its caption carries the
// progress text, its bar the position.
#include <QProgressBar>
#include <QWidget>

namespace lirrel {

class Progress : public QWidget {
  Q_OBJECT
 public:
  explicit Progress(QWidget* owner = nullptr);

  // Sets caption and position and draws the window at once: the load or save that drives it
  // does not return to the event loop until it has finished.
  void Show(const QString& caption, qint64 max);
  void Update(const QString& caption, qint64 pos);

  QProgressBar* ProgressBar;

 private:
  void Draw();

  qint64 max_ = 0;
  int scale_ = 1;  // the bar counts in int: very long files are shown in steps of scale_
};

}  // namespace lirrel
