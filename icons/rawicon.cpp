// Build tool: writes an icon picture as the window icons carry it inside the programs, its
// pixels as they are drawn (32-bit ARGB, unpremultiplied), uncompressed, so that a program
// reads a size without decoding a PNG. A window system that is handed every size of a window
// icon at once (X11) has every size read when the window is made.
//   tarvex_rawicon <picture.png> <out>
// The output: "TXI1", then width and height as 32-bit numbers, then the rows of pixels, all in
// the byte order of the machine that builds (and runs) the programs.
#include <QFile>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: tarvex_rawicon <picture.png> <out>\n");
    return 2;
  }
  const QImage image = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_ARGB32);
  if (image.isNull()) {
    std::fprintf(stderr, "tarvex_rawicon: cannot read %s\n", argv[1]);
    return 1;
  }
  QFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::fprintf(stderr, "tarvex_rawicon: cannot write %s\n", argv[2]);
    return 1;
  }
  const quint32 size[2] = {quint32(image.width()), quint32(image.height())};
  bool ok = out.write("TXI1", 4) == 4 && out.write(reinterpret_cast<const char*>(size), sizeof size) == qint64(sizeof size);
  for (int y = 0; ok && y < image.height(); ++y)
    ok = out.write(reinterpret_cast<const char*>(image.constScanLine(y)), qint64(image.width()) * 4) == qint64(image.width()) * 4;
  if (!ok || !out.flush()) {
    std::fprintf(stderr, "tarvex_rawicon: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
