#pragma once
// The small windows a main window of Lirrel or Orvane opens (comments, header viewer,
// progress, pickers): made once, placed over their main window, brought forward when asked
// for again.
#include <QPoint>
#include <QWidget>

namespace tarvex {

// Puts w over owner, offset from the owner's top left corner.
void PlaceOver(const QWidget* owner, QWidget* w, QPoint offset);

// Shows w in front of the other windows, with the focus.
void BringForward(QWidget* w);

}  // namespace tarvex
