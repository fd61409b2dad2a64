#pragma once
// Checks of a window as a user of the keyboard, a screen reader or a large font meets it.
#include <QStringList>

class QWidget;

namespace tarvex::test {

// Every visible, enabled widget the focus can reach without an accessible name, or with the
// name of another such widget: one line each ("objectName: why"); empty when all is well.
QStringList AccessibleNameProblems(QWidget* window);

// Labels, fields, drop-downs and buttons whose text would be cut: lower than their size hint
// or narrower than their smallest size, or reaching out of their parent. Empty when none is.
QStringList ClippedWidgets(QWidget* window);

// The accessible name a screen reader is told.
QString AccessibleName(QWidget* w);

}  // namespace tarvex::test
