#pragma once
// The programs' window icons, from the icon files of the repository (icons/png) compiled into
// the programs as resources.
#include <QIcon>
#include <QString>

namespace tarvex {

// The sizes every icon of the tool set is drawn in.
constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// The application icon named as in the icon theme ("tarvex-scrivane"), at every size; a null
// icon for a name the programs do not carry.
QIcon AppIcon(const QString& name);

// Makes a program look like its desktop entry: the window icon, and the desktop file's name
// ("tarvex-scrivane"), which the desktop uses to group the windows with their launcher.
void PresentAs(const QString& desktopName);

}  // namespace tarvex
