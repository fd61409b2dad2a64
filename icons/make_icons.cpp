// Draws the tool set's four file icons (a page with a folded corner, a coloured band and the
// type's letters) and writes each as a Windows icon with 16, 32 and 48 pixel images and as a
// 48 pixel PNG for the freedesktop icon theme.
//   make_icons <output folder>
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <vector>

namespace {

struct IconDesign {
  const char* file;   // without extension
  const char* label;  // letters on the band
  QColor color;
};

QImage DrawPage(const IconDesign& design, int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 48.0, size / 48.0);

  // The page, its right upper corner folded down.
  QPainterPath page;
  page.moveTo(8, 2);
  page.lineTo(31, 2);
  page.lineTo(41, 12);
  page.lineTo(41, 46);
  page.lineTo(8, 46);
  page.closeSubpath();
  p.setPen(QPen(QColor(70, 70, 80), 1.5));
  p.setBrush(QColor(250, 250, 246));
  p.drawPath(page);
  QPainterPath fold;
  fold.moveTo(31, 2);
  fold.lineTo(31, 12);
  fold.lineTo(41, 12);
  fold.closeSubpath();
  p.setBrush(QColor(214, 214, 220));
  p.drawPath(fold);

  // Lines of text on the page.
  p.setPen(QPen(QColor(150, 150, 165), size >= 32 ? 1.6 : 2.4, Qt::SolidLine, Qt::RoundCap));
  for (int y = 34; y <= 42; y += 4) p.drawLine(QPointF(12, y), QPointF(y == 38 ? 30 : 37, y));

  // The coloured band with the type's letters.
  p.setPen(Qt::NoPen);
  p.setBrush(design.color);
  p.drawRoundedRect(QRectF(3, 15, 36, 15), 3, 3);
  if (size >= 32) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 15, 36, 15), Qt::AlignCenter, QLatin1String(design.label));
  } else {
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 22.5), QPointF(32, 22.5));
  }
  return img;
}

// One icon image in the Windows icon format, as Qt's writer makes it: the directory entry
// (16 bytes) and the image data.
bool EncodeIco(const QImage& img, QByteArray* entry, QByteArray* data) {
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  QImageWriter w(&buf, "ico");
  if (!w.write(img) || bytes.size() < 22) return false;
  *entry = bytes.mid(6, 16);
  QDataStream s(bytes.mid(14, 8));
  s.setByteOrder(QDataStream::LittleEndian);
  quint32 length = 0, offset = 0;
  s >> length >> offset;
  *data = bytes.mid(offset, length);
  return data->size() == static_cast<qsizetype>(length);
}

// Puts several single-image icons into one file.
QByteArray MultiImageIco(const std::vector<QImage>& images) {
  std::vector<QByteArray> entries, datas;
  for (const QImage& img : images) {
    QByteArray e, d;
    if (!EncodeIco(img, &e, &d)) return QByteArray();
    entries.push_back(e);
    datas.push_back(d);
  }
  QByteArray out;
  QDataStream s(&out, QIODevice::WriteOnly);
  s.setByteOrder(QDataStream::LittleEndian);
  s << quint16(0) << quint16(1) << quint16(entries.size());
  quint32 offset = 6 + 16 * quint32(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    s.writeRawData(entries[i].constData(), 8);  // size, colours, planes, bits
    s << quint32(datas[i].size()) << offset;
    offset += datas[i].size();
  }
  for (const QByteArray& d : datas) s.writeRawData(d.constData(), int(d.size()));
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icons <output folder>\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const IconDesign designs[] = {
      {"COGPage", "COG", QColor(38, 92, 180)},
      {"CGTPage", "CGT", QColor(34, 140, 80)},
      {"DATPage", "DAT", QColor(206, 110, 24)},
      {"JKUni", "UNI", QColor(130, 56, 160)},
  };
  for (const IconDesign& design : designs) {
    const QString base = out.filePath(QLatin1String(design.file));
    const QByteArray ico = MultiImageIco({DrawPage(design, 16), DrawPage(design, 32), DrawPage(design, 48)});
    QFile f(base + QStringLiteral(".ico"));
    if (ico.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(ico) != ico.size()) {
      std::fprintf(stderr, "make_icons: cannot write %s.ico\n", design.file);
      return 1;
    }
    f.close();
    if (!DrawPage(design, 48).save(base + QStringLiteral(".png"), "PNG")) {
      std::fprintf(stderr, "make_icons: cannot write %s.png\n", design.file);
      return 1;
    }
  }
  return 0;
}
