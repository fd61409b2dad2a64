#pragma once
// The game's GOB archives (and MotS's GOO, of the same layout): a header, then an index of
// entries, each a data offset, a data length and a NUL-ended name of up to 128 bytes.
// Listing reads the header and the index only; an entry's bytes are read on their own.
// Every offset and length is checked against the size of the file before it is used, so a
// malformed archive is refused with its fault and nothing beyond the file is read.
#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <vector>

namespace orvane {

inline constexpr int kGobHeaderSize = 12;
inline constexpr int kGobEntrySize = 136;
inline constexpr int kGobNameSize = 128;
inline constexpr quint32 kGobVersion = 20;

class GobIndex {
 public:
  struct Entry {
    quint32 offset = 0;
    quint32 length = 0;
    qsizetype nameStart = 0;  // into the index bytes
    int nameLength = 0;
  };

  // Reads the index from a device positioned anywhere; the device's size is the archive's.
  // On a fault returns false and *fault says what is wrong (without the file's name).
  bool Read(QIODevice& device, QString* fault);
  // The same for an archive on disk; *fault then names the file.
  bool ReadFile(const QString& path, QString* fault);

  int Count() const { return int(entries_.size()); }
  const Entry& At(int i) const { return entries_[size_t(i)]; }
  QByteArrayView NameBytes(int i) const {
    return QByteArrayView(index_.constData() + entries_[size_t(i)].nameStart, entries_[size_t(i)].nameLength);
  }
  // The name as stored ("3do\ky.3do"), in Windows-1252.
  QString Name(int i) const;
  // The entries whose names begin with folder (letter case ignored, "3do\"), as file names
  // without that folder, sorted ignoring case. Entries in folders below it are left out.
  QStringList NamesIn(const QString& folder) const;
  // The index of the entry named name (letter case ignored), or -1.
  int Find(const QString& name) const;

 private:
  QByteArray index_;
  std::vector<Entry> entries_;
};

// Reads the bytes of one entry of the archive at path. The entry is checked against the
// file's size again, as the file may have changed since it was listed.
bool ReadGobEntry(const QString& path, const GobIndex::Entry& entry, QByteArray* bytes, QString* fault);

}  // namespace orvane
