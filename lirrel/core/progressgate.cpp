#include "lirrel/core/progressgate.h"

namespace lirrel {

ProgressGate::ProgressGate(TableListener* listener, const Clock& clock, qint64 max)
    : listener_(listener), clock_(clock), max_(max) {
  timer_.start();
  last_ = Now();
}

ProgressGate::~ProgressGate() { Finish(); }

void ProgressGate::Finish() {
  max_ = 0;  // no later step shows the window again
  if (!shown_) return;
  shown_ = false;
  listener_->ProgressClosed();
}

void ProgressGate::Step(const QString& caption, qint64 pos) {
  if (!shown_) {
    shown_ = true;
    listener_->ProgressShown(caption, max_);
  }
  listener_->ProgressUpdated(caption, pos);
  last_ = Now();
}

}  // namespace lirrel
