// The window icons are the repository's icon files, compiled in, at every size.
#include <QIcon>
#include <QImage>
#include <QPixmap>

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
  // Sizes in between, odd shapes and the other modes draw as an icon holding every file does.
  QIcon all;
  for (int size : tarvex::kIconSizes)
    all.addFile(QStringLiteral(TARVEX_SOURCE_DIR "/icons/png/%1x%1/tarvex-scrivane.png").arg(size), QSize(size, size));
  const QIcon icon = tarvex::AppIcon(QStringLiteral("tarvex-scrivane"));
  for (const QSize size : {QSize(24, 24), QSize(20, 40), QSize(300, 300), QSize(1, 1)})
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Selected}) {
      EXPECT_EQ(icon.actualSize(size, mode), all.actualSize(size, mode)) << size.width() << "x" << size.height();
      EXPECT_EQ(icon.pixmap(size, mode).toImage(), all.pixmap(size, mode).toImage()) << size.width() << "x" << size.height();
    }
  EXPECT_TRUE(tarvex::AppIcon(QStringLiteral("text-x-jk-cog")).isNull());  // file icons are not window icons
}
