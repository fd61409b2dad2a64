#pragma once
// The programs' window icons, from the icon files of the repository (icons/png) compiled into
// the programs as resources.
#include <QIcon>
#include <QString>

class QWidget;

namespace tarvex {

// The sizes every icon of the tool set is drawn in.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The application icon named as in the icon theme ("tarvex-scrivane"), at every size; a null
// icon for a name the programs do not carry.
QIcon AppIcon(const QString& name);

// Makes a program look like its desktop entry: the window icon, and the desktop file's name
// ("tarvex-scrivane"), which the desktop uses to group the windows with their launcher. Given
// the main window before it is shown, the icon is given when that window (or a dialog of its
// own) is first shown, so that the platform sets it on the window once.
void PresentAs(const QString& desktopName, QWidget* mainWindow = nullptr);

}  // namespace tarvex
