#pragma once
// Test environment shared by the test programs: a QApplication for widget tests and a
// temporary settings folder, so that no test touches the user's real settings.
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iterator>
#include <type_traits>
#include <utility>
#include <vector>

namespace tarvex::test {

// Points TARVEX_CONFIG_DIR at a fresh temporary folder for the life of the object.
class TempSettings {
 public:
  TempSettings();
  ~TempSettings();
  QString Folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray old_;
  bool hadOld_ = false;
};

// Path of a file in the shared corpus and language facts folder (next to the project).
QString SharedPath(const QString& rel);

// What `f` makes of each element of the list, in order: a QStringList of texts, or a vector.
template <class List, class F>
auto Map(const List& list, F f) {
  using R = std::decay_t<decltype(f(*std::begin(list)))>;
  std::conditional_t<std::is_same_v<R, QString>, QStringList, std::vector<R>> out;
  for (const auto& x : list) out.push_back(f(x));
  return out;
}

// The files of a folder of the shared corpus ("corpus/cog") that match the pattern, in name
// order, with their bytes; none when the corpus is not there.
std::vector<std::pair<QString, QByteArray>> CorpusFiles(const QString& folder, const QString& pattern = QStringLiteral("*"));

// Runs pending events (deferred deletes included).
void ProcessEvents();

// Makes a folder refuse new files for the life of the object: by its permissions, or for
// root (whom permissions do not stop) with the immutable attribute. Ok() is false when
// neither could be set; the test should then skip.
class ReadOnlyFolder {
 public:
  explicit ReadOnlyFolder(const QString& path);
  ~ReadOnlyFolder();
  bool Ok() const { return ok_; }

 private:
  QString path_;
  bool ok_ = false, immutable_ = false;
};

// A tiny file system of its own (a tmpfs of the given size, mounted on a temporary folder) for
// tests of a full disk. Needs root; Ok() is false otherwise and the test should skip. The
// mount is undone when the object goes, also when the test failed.
class SmallDisk {
 public:
  explicit SmallDisk(qint64 size = 64 * 1024);
  ~SmallDisk();
  bool Ok() const { return mounted_; }
  QString Path() const { return dir_.path(); }
  // Fills the disk with a filler file until no more than `left` bytes are free.
  void FillLeaving(qint64 left);
  // Mounts the disk again read-only (or writable again); false when that failed.
  bool SetReadOnly(bool readOnly);

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
};

// Sets the immutable attribute on a file for the life of the object (root only; Ok() false
// otherwise): it can be neither written, renamed, replaced nor removed.
class ImmutableFile {
 public:
  explicit ImmutableFile(const QString& path);
  ~ImmutableFile();
  bool Ok() const { return ok_; }

 private:
  QString path_;
  bool ok_ = false;
};

}  // namespace tarvex::test
