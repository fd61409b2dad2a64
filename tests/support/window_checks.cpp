#include "tests/support/window_checks.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QWidget>

namespace tarvex::test {

namespace {
QString Id(const QWidget* w) { return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName(); }
}  // namespace

void ForEachInterfaceFont(const std::function<void(int points)>& run) {
  const QFont before = QApplication::font();
  for (int pt : {9, 12, 16}) {
    QFont f = before;
    f.setPointSize(pt);
    QApplication::setFont(f);
    run(pt);
  }
  QApplication::setFont(before);
}

QString AccessibleName(QWidget* w) {
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  return a ? a->text(QAccessible::Name) : QString();
}

QStringList AccessibleNameProblems(QWidget* window) {
  QStringList out;
  QMap<QString, QString> seen;  // name -> the widget that has it
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || w->focusPolicy() == Qt::NoFocus || !w->isEnabled()) continue;
    if (w->parentWidget() && w->parentWidget()->inherits("QComboBox")) continue;  // the box's own line edit
    const QString name = AccessibleName(w).trimmed();
    if (name.isEmpty()) out << Id(w) + QStringLiteral(": no name");
    else if (seen.contains(name)) out << Id(w) + QStringLiteral(": \"%1\" as ").arg(name) + seen.value(name);
    else seen.insert(name, Id(w));
  }
  return out;
}

QStringList ClippedWidgets(QWidget* window) {
  QStringList out;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window) || !(qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                                     qobject_cast<QAbstractButton*>(w)))
      continue;
    if (w->parentWidget() && w->parentWidget()->inherits("QComboBox")) continue;
    const auto* label = qobject_cast<QLabel*>(w);
    const int needH = label && label->wordWrap() ? w->heightForWidth(w->width()) : w->sizeHint().height();
    // A push button's smallest size has a style's minimum width beyond its text; a narrow
    // button is whole when its text fits.
    const auto* push = qobject_cast<QPushButton*>(w);
    const int needW = push && push->icon().isNull() ? push->fontMetrics().horizontalAdvance(push->text().remove(QLatin1Char('&'))) + 8
                                                    : w->minimumSizeHint().width();
    const bool inside = !w->parentWidget() || w->parentWidget()->rect().contains(w->geometry());
    if (w->height() < needH || w->width() < needW || !inside)
      out << QStringLiteral("%1 %2x%3 needs %4x%5%6").arg(Id(w)).arg(w->width()).arg(w->height()).arg(needW).arg(needH)
                 .arg(inside ? QString() : QStringLiteral(" outside its parent"));
  }
  return out;
}

}  // namespace tarvex::test
