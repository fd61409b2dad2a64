#include "scrivane/core/linewidths.h"

#include <algorithm>

namespace scrivane {

void LineWidths::Count(int width, int by) {
  if (width == 0) return;
  auto it = counts_.try_emplace(width, 0).first;
  if ((it->second += by) == 0) counts_.erase(it);
}

void LineWidths::MoveGap(int to, int room) {
  // The gap moves to line `to` and is made at least `room` wide.
  const int gap = gapEnd_ - gapStart_;
  if (gap < room) {
    const int lines = Lines();
    const int grown = std::max(room, lines / 2 + 64);
    std::vector<int> buf(std::size_t(lines + grown));
    std::copy(buf_.begin(), buf_.begin() + std::min(gapStart_, to), buf.begin());
    // Lines from `to` on go behind the new gap, wherever the old one was.
    for (int line = std::min(gapStart_, to); line < lines; ++line) buf[std::size_t(line < to ? line : line + grown)] = Width(line);
    buf_ = std::move(buf);
    gapStart_ = to;
    gapEnd_ = to + grown;
    return;
  }
  if (to < gapStart_) {
    std::move_backward(buf_.begin() + to, buf_.begin() + gapStart_, buf_.begin() + gapEnd_);
  } else if (to > gapStart_) {
    std::move(buf_.begin() + gapEnd_, buf_.begin() + gapEnd_ + (to - gapStart_), buf_.begin() + gapStart_);
  }
  gapEnd_ += to - gapStart_;
  gapStart_ = to;
}

void LineWidths::Replace(int first, int removed, int added) {
  MoveGap(first, added - removed);
  for (int i = 0; i < removed; ++i) Count(buf_[std::size_t(gapEnd_ + i)], -1);
  gapEnd_ += removed;
  std::fill(buf_.begin() + gapStart_, buf_.begin() + gapStart_ + added, 0);
  gapStart_ += added;
}

bool LineWidths::Set(int line, int width) {
  int& slot = buf_[std::size_t(Slot(line))];
  if (slot == width) return false;
  const int widest = Widest();
  Count(slot, -1);
  Count(width, 1);
  slot = width;
  return Widest() != widest;
}

}  // namespace scrivane
