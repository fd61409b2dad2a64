#pragma once
// Checks of a window as a user of the keyboard, a screen reader or a large font meets it.
#include <QStringList>
#include <functional>

class QWidget;

namespace tarvex::test {

// Every visible, enabled widget the focus can reach without an accessible name, or with the
// name of another such widget: one line each ("objectName: why"); empty when all is well.
QStringList AccessibleNameProblems(QWidget* window);

// Labels, fields, drop-downs and buttons whose text would be cut: lower than their size hint
// or narrower than their smallest size, or reaching out of their parent. Empty when none is.
QStringList ClippedWidgets(QWidget* window);

// Runs `run` once with each interface font size of a user's desktop (9, 12 and 16 points),
// the application's font set to it, and puts the font back.
void ForEachInterfaceFont(const std::function<void(int points)>& run);

// The accessible name a screen reader is told.
QString AccessibleName(QWidget* w);

}  // namespace tarvex::test
