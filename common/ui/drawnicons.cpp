// The programs' window icons, from the pages make_icons drew at build time: a start of a
// program copies pixels instead of drawing (and looking up a font for) each page.
#include <QPixmap>

#include "common/ui/fileicons.h"

namespace tarvex {

QIcon FileIcon(FileKind kind) {
  QIcon icon;
  for (int i = 0; i < kDrawnPageCount; ++i) {
    const DrawnPage& page = kDrawnPages[i];
    if (page.kind != kind) continue;
    const QImage img(reinterpret_cast<const uchar*>(page.pixels), page.size, page.size, page.size * 4,
                     QImage::Format_ARGB32_Premultiplied);
    icon.addPixmap(QPixmap::fromImage(img));
  }
  return icon;
}

}  // namespace tarvex
