#include "orvane/core/gobarchive.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "common/ansicodec.h"
#include "common/files.h"
#include "common/text.h"

namespace orvane {

namespace {

quint32 U32(const char* p) { return qFromLittleEndian<quint32>(p); }

QString Named(const QString& path, const QString& fault) {
  return path + QStringLiteral("\r\n") + fault;
}

}  // namespace

bool GobIndex::Read(QIODevice& device, QString* fault) {
  const auto fail = [&](const QString& why) {
    if (fault) *fault = why;
    return false;
  };
  const qint64 size = device.size();
  char head[kGobHeaderSize];
  if (!device.seek(0) || device.read(head, kGobHeaderSize) != kGobHeaderSize)
    return fail(QStringLiteral("The file is too short to be a game archive."));
  if (std::memcmp(head, "GOB ", 4) != 0)
    return fail(QStringLiteral("The file is not a game archive: it does not begin with \"GOB \"."));
  if (U32(head + 4) != kGobVersion)
    return fail(QStringLiteral("The archive has version %1; the game reads version %2.")
                    .arg(U32(head + 4))
                    .arg(kGobVersion));
  const qint64 at = U32(head + 8);
  char countBytes[4];
  if (at + 4 > size || !device.seek(at) || device.read(countBytes, 4) != 4)
    return fail(QStringLiteral("The archive's index lies beyond the end of the file."));
  const qint64 count = U32(countBytes);
  if (count > (size - at - 4) / kGobEntrySize)
    return fail(QStringLiteral("The archive's index claims %1 entries, more than the file can hold.").arg(count));

  QByteArray index(count * kGobEntrySize, Qt::Uninitialized);
  if (count > 0 && device.read(index.data(), index.size()) != index.size())
    return fail(QStringLiteral("The archive's index could not be read whole."));
  std::vector<Entry> entries;
  entries.resize(size_t(count));
  const char* p = index.constData();
  for (qint64 i = 0; i < count; ++i, p += kGobEntrySize) {
    Entry& e = entries[size_t(i)];
    e.offset = U32(p);
    e.length = U32(p + 4);
    const void* nul = std::memchr(p + 8, 0, kGobNameSize);
    if (!nul) return fail(QStringLiteral("Entry %1 of the archive has a name without its closing NUL byte.").arg(i + 1));
    e.nameStart = p + 8 - index.constData();
    e.nameLength = int(static_cast<const char*>(nul) - (p + 8));
    if (qint64(e.offset) + e.length > size)
      return fail(QStringLiteral("Entry %1 of the archive (%2) lies beyond the end of the file.")
                      .arg(i + 1)
                      .arg(tarvex::DecodeAnsi(QByteArray(p + 8, e.nameLength))));
  }
  index_ = std::move(index);
  entries_ = std::move(entries);
  return true;
}

bool GobIndex::ReadFile(const QString& path, QString* fault) {
  QFile file(path);
  if (const QString why = tarvex::NotAFileReason(path); !why.isEmpty()) {
    if (fault) *fault = Named(path, why);
    return false;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    if (fault) *fault = Named(path, file.errorString());
    return false;
  }
  QString why;
  if (Read(file, &why)) return true;
  if (fault) *fault = Named(path, why);
  return false;
}

QString GobIndex::Name(int i) const { return tarvex::DecodeAnsi(NameBytes(i).toByteArray()); }

QStringList GobIndex::NamesIn(const QString& folder) const {
  const QByteArray prefix = tarvex::EncodeAnsi(folder).toLower();
  QStringList out;
  for (int i = 0; i < Count(); ++i) {
    const QByteArrayView name = NameBytes(i);
    if (name.size() <= prefix.size()) continue;
    if (qstrnicmp(name.data(), prefix.constData(), size_t(prefix.size())) != 0) continue;
    const QByteArrayView rest = name.sliced(prefix.size());
    if (rest.contains('\\') || rest.contains('/')) continue;
    out << tarvex::DecodeAnsi(rest.toByteArray());
  }
  std::sort(out.begin(), out.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  return out;
}

int GobIndex::Find(const QString& name) const {
  for (int i = 0; i < Count(); ++i)
    if (tarvex::SameText(Name(i), name)) return i;
  return -1;
}

bool ReadGobEntry(const QString& path, const GobIndex::Entry& entry, QByteArray* bytes, QString* fault) {
  QFile file(path);
  if (const QString why = tarvex::NotAFileReason(path); !why.isEmpty()) {
    if (fault) *fault = Named(path, why);
    return false;
  }
  if (!file.open(QIODevice::ReadOnly)) {
    if (fault) *fault = Named(path, file.errorString());
    return false;
  }
  if (qint64(entry.offset) + entry.length > file.size()) {
    if (fault) *fault = Named(path, QStringLiteral("The entry lies beyond the end of the file; the archive has changed."));
    return false;
  }
  QByteArray data(qsizetype(entry.length), Qt::Uninitialized);
  if (!file.seek(entry.offset) || file.read(data.data(), data.size()) != data.size()) {
    if (fault) *fault = Named(path, file.errorString());
    return false;
  }
  *bytes = std::move(data);
  return true;
}

}  // namespace orvane
