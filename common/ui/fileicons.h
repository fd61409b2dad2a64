#pragma once
// The tool set's file icons: a page with a folded corner and a coloured band with the type's
// letters. Drawn, not stored, so every program and the icon files share one design; the
// drawing runs once, at build time (make_icons), and the programs use the drawn pixels.
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

// The sizes every icon comes in.
constexpr int kIconSizes[] = {16, 32, 48};

// The page drawn at size x size pixels.
QImage DrawPage(const IconDesign& design, int size);

// The pages drawn at build time: size x size premultiplied ARGB pixels, row by row.
struct DrawnPage {
  FileKind kind;
  int size;
  const quint32* pixels;
};
extern const DrawnPage kDrawnPages[];
extern const int kDrawnPageCount;

// The icon at the usual sizes, for window titles, from the pages drawn at build time.
QIcon FileIcon(FileKind kind);

}  // namespace tarvex
