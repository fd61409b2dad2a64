#pragma once
// How the string table tells its window what changed. The table calls these while it loads,
// saves, adds and deletes; a window mirrors them into its lists, its count label, its
// progress window and its message boxes. Every method has an empty default so that a
// listener only overrides what it shows.
#include <QString>

namespace lirrel {

class TableListener {
 public:
  enum class Notice { Warning, Info };

  virtual ~TableListener() = default;

  // A load starts: empty the group list and the key list. "All" (0) and "(empty)" (0) follow
  // through GroupAdded and KeyAdded.
  virtual void ListsReset() {}
  virtual void GroupAdded(const QString& name, int index) { (void)name, (void)index; }
  virtual void KeyAdded(const QString& name, int index) { (void)name, (void)index; }
  virtual void CountChanged(int count) { (void)count; }
  // A load has ended: select the first group and the first key.
  virtual void LoadFinished() {}

  // The progress window: shown with a caption and a bar from 0 to max, then updated, then
  // closed. Shown only for loads and saves that take a while.
  virtual void ProgressShown(const QString& caption, qint64 max) { (void)caption, (void)max; }
  virtual void ProgressUpdated(const QString& caption, qint64 pos) { (void)caption, (void)pos; }
  virtual void ProgressClosed() {}

  // A message box with an OK button.
  virtual void Message(const QString& text, const QString& title, Notice kind) { (void)text, (void)title, (void)kind; }
};

}  // namespace lirrel
