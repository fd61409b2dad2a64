#pragma once
// Builds a game archive (GOB/GOO layout) in memory from a list of names and contents: the
// header, the index right after it, then the entries' data in order.
#include <QByteArray>
#include <QtEndian>
#include <utility>
#include <vector>

namespace tarvex::test {

using GobFiles = std::vector<std::pair<QByteArray, QByteArray>>;

inline void PutU32(QByteArray& out, quint32 v) {
  char b[4];
  qToLittleEndian(v, b);
  out.append(b, 4);
}

inline QByteArray BuildGob(const GobFiles& files) {
  QByteArray out("GOB ", 4);
  PutU32(out, 20);
  PutU32(out, 12);
  PutU32(out, quint32(files.size()));
  quint32 at = quint32(16 + files.size() * 136);
  for (const auto& [name, data] : files) {
    PutU32(out, at);
    PutU32(out, quint32(data.size()));
    out += name.left(127).leftJustified(128, '\0');
    at += quint32(data.size());
  }
  for (const auto& file : files) out += file.second;
  return out;
}

}  // namespace tarvex::test
