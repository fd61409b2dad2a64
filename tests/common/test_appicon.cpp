// The window icons are the repository's icon files, compiled in, at every size.
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include "common/ui/appicon.h"

TEST(AppIcon, EveryProgramAtEverySizeAsTheRepositoryHoldsIt) {
  for (const char* name : {"tarvex-scrivane", "tarvex-lirrel", "tarvex-orvane", "tarvex-setup"}) {
    const QIcon icon = tarvex::AppIcon(QLatin1String(name));
    EXPECT_EQ(icon.availableSizes().size(), std::size(tarvex::kIconSizes)) << name;
    for (int size : tarvex::kIconSizes) {
      const QImage file(QStringLiteral(TARVEX_SOURCE_DIR "/icons/png/%1x%1/%2.png").arg(size).arg(QLatin1String(name)));
      ASSERT_EQ(file.size(), QSize(size, size)) << name << " at " << size;
      EXPECT_EQ(icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                file.convertToFormat(QImage::Format_ARGB32_Premultiplied))
          << name << " at " << size;
    }
  }
  EXPECT_TRUE(tarvex::AppIcon(QStringLiteral("text-x-jk-cog")).isNull());  // file icons are not window icons
}
