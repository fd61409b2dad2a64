#pragma once
// A widget that is made the first time it is used, for the panels a window rarely shows (a tree
// view costs about as much to make as a whole line of text costs to draw). It reads like the
// plain pointer it replaces: "list->clear()" makes the list when it is not there yet, then
// clears it. Code that must not make it (a layout pass, a close) asks IfMade() first.
#include <QWidget>
#include <functional>
#include <utility>

namespace scrivane {

template <typename T>
class OnFirstUse {
 public:
  explicit OnFirstUse(std::function<T*()> make) : make_(std::move(make)) {}
  OnFirstUse(const OnFirstUse&) = delete;
  OnFirstUse& operator=(const OnFirstUse&) = delete;

  T* get() const {
    if (!made_) made_ = make_();
    return made_;
  }
  T* operator->() const { return get(); }
  operator T*() const { return get(); }
  // The widget when it has been made, nullptr before.
  T* IfMade() const { return made_; }

 private:
  std::function<T*()> make_;
  mutable T* made_ = nullptr;
};

// The last control before `widget` in the focus chain that takes the focus, going back no
// further than `window`; nullptr when there is none. A widget made on first use takes its
// place in the Tab order after it, as if it had been made with the window.
inline QWidget* FocusableBefore(QWidget* widget, QWidget* window) {
  for (QWidget* w = widget->previousInFocusChain(); w != window; w = w->previousInFocusChain())
    if (w->focusPolicy() != Qt::NoFocus) return w;
  return nullptr;
}

}  // namespace scrivane
