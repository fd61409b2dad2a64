// The window icons come from pixels drawn at build time; they must be the pages as drawn now.
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include "common/ui/fileicons.h"

TEST(FileIcon, HoldsThePageAsDrawnAtEverySize) {
  for (tarvex::FileKind kind : {tarvex::FileKind::Cog, tarvex::FileKind::Cgt, tarvex::FileKind::Dat, tarvex::FileKind::Uni}) {
    const QIcon icon = tarvex::FileIcon(kind);
    ASSERT_EQ(icon.availableSizes().size(), std::size(tarvex::kIconSizes));
    for (int size : tarvex::kIconSizes) {
      const QImage shown = icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
      EXPECT_EQ(shown, tarvex::DrawPage(tarvex::DesignOf(kind), size)) << int(kind) << " at " << size;
    }
  }
}
