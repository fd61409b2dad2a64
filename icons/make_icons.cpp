// Writes the tool set's four file icons (drawn by common/ui/fileicons), each as a Windows
// icon with 16, 32 and 48 pixel images and as a 48 pixel PNG for the freedesktop icon theme;
// or, with --source, the same images as a C++ source of pixel tables, from which the programs
// take their window icons instead of drawing them at every start.
//   make_icons <output folder>
//   make_icons --source <file.cpp>
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>
#include <vector>

#include "common/ui/fileicons.h"

namespace {

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

constexpr tarvex::FileKind kKinds[] = {tarvex::FileKind::Cog, tarvex::FileKind::Cgt, tarvex::FileKind::Dat,
                                       tarvex::FileKind::Uni};

bool WriteSource(const QString& path) {
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
  QTextStream out(&f);
  out << "// The file icons' pages as drawn by make_icons at build time (premultiplied ARGB).\n"
         "#include \"common/ui/fileicons.h\"\n\nnamespace tarvex {\nnamespace {\n";
  QStringList table;
  for (tarvex::FileKind kind : kKinds) {
    for (int size : tarvex::kIconSizes) {
      const QImage img = tarvex::DrawPage(tarvex::DesignOf(kind), size).convertToFormat(QImage::Format_ARGB32_Premultiplied);
      const QString name = QStringLiteral("k%1_%2").arg(QLatin1String(tarvex::DesignOf(kind).file)).arg(size);
      out << "const quint32 " << name << "[] = {";
      for (int y = 0; y < size; ++y) {
        const auto* line = reinterpret_cast<const quint32*>(img.constScanLine(y));
        out << "\n ";
        for (int x = 0; x < size; ++x) out << " 0x" << QString::number(line[x], 16) << ',';
      }
      out << "};\n";
      table << QStringLiteral("    {FileKind(%1), %2, %3},").arg(int(kind)).arg(size).arg(name);
    }
  }
  out << "}  // namespace\n\nconst DrawnPage kDrawnPages[] = {\n" << table.join(QLatin1Char('\n'))
      << "\n};\nconst int kDrawnPageCount = " << table.size() << ";\n\n}  // namespace tarvex\n";
  out.flush();
  return f.commit();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc == 3 && QByteArray(argv[1]) == "--source") {
    if (WriteSource(QString::fromLocal8Bit(argv[2]))) return 0;
    std::fprintf(stderr, "make_icons: cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icons <output folder> | make_icons --source <file.cpp>\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  for (tarvex::FileKind kind : kKinds) {
    const tarvex::IconDesign& design = tarvex::DesignOf(kind);
    const QString base = out.filePath(QLatin1String(design.file));
    std::vector<QImage> images;
    for (int size : tarvex::kIconSizes) images.push_back(tarvex::DrawPage(design, size));
    const QByteArray ico = MultiImageIco(images);
    QFile f(base + QStringLiteral(".ico"));
    if (ico.isEmpty() || !f.open(QIODevice::WriteOnly) || f.write(ico) != ico.size()) {
      std::fprintf(stderr, "make_icons: cannot write %s.ico\n", design.file);
      return 1;
    }
    f.close();
    if (!tarvex::DrawPage(design, 48).save(base + QStringLiteral(".png"), "PNG")) {
      std::fprintf(stderr, "make_icons: cannot write %s.png\n", design.file);
      return 1;
    }
  }
  return 0;
}
