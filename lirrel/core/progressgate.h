#pragma once
// Decides when a long load or save shows its progress window and how often it is updated:
// a run that ends within half a second shows nothing, and a shown window is redrawn at most
// every 50 ms, so the caption text is only built when it will be seen.
#include <QElapsedTimer>
#include <QString>
#include <functional>

#include "lirrel/core/tablelistener.h"

namespace lirrel {

class ProgressGate {
 public:
  // Milliseconds since some fixed point; the steady clock unless a test installs its own.
  using Clock = std::function<qint64()>;

  static constexpr qint64 kShowAfterMs = 500;
  static constexpr qint64 kUpdateEveryMs = 50;
  static constexpr int kStride = 64;

  ProgressGate(TableListener* listener, const Clock& clock, qint64 max);
  ~ProgressGate();  // closes the window when it was shown

  // True when the next step should be shown: build the caption and call Step.
  bool Due() {
    if (max_ <= 0 || !listener_) return false;
    // The clock is read every kStride steps only (and at the first): reading it costs more
    // than a short line does.
    if (--countdown_ > 0) return false;
    countdown_ = kStride;
    return Now() - last_ >= (shown_ ? kUpdateEveryMs : kShowAfterMs);
  }
  void Step(const QString& caption, qint64 pos);
  // Closes the window when it was shown (the destructor does too).
  void Finish();
  bool Shown() const { return shown_; }

 private:
  qint64 Now() const { return clock_ ? clock_() : timer_.elapsed(); }

  TableListener* listener_;
  Clock clock_;
  QElapsedTimer timer_;
  qint64 max_;
  qint64 last_ = 0;
  bool shown_ = false;
  int countdown_ = 1;
};

}  // namespace lirrel
