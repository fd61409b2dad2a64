#pragma once
// The tool set's file icons: a page with a folded corner and a coloured band with the type's
// letters. Drawn, not stored, so every program and the icon files share one design.
#include <QColor>
#include <QIcon>
#include <QImage>

namespace tarvex {

enum class FileKind { Cog, Cgt, Dat, Uni };

struct IconDesign {
  const char* file;   // icon file name without extension
  const char* label;  // letters on the band
  QColor color;
};

const IconDesign& DesignOf(FileKind kind);

// The page drawn at size x size pixels.
QImage DrawPage(const IconDesign& design, int size);

// The icon at the usual sizes, for window titles.
QIcon FileIcon(FileKind kind);

}  // namespace tarvex
