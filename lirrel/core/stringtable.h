#pragma once
// The string table of jkstrings.uni in memory: its keys with their groups, the header of the
// file as last read, and the comments & description line. Loads, saves, adds and deletes,
// and reports each change to a listener (the editor window).
#include <QString>
#include <QStringList>
#include <QHash>
#include <vector>

#include "common/authorheader.h"
#include "common/filestamp.h"
#include "lirrel/core/progressgate.h"
#include "lirrel/core/tablefile.h"
#include "lirrel/core/tablelistener.h"

namespace lirrel {

struct StringKey {
  int group = 0;     // index into groupTable
  QString name;      // the key, without quotes
  QString value;     // the message, without quotes
  QString comments;  // the comment lines the file had before this key, each ended by CR LF
  QString trailer;   // what followed the value's closing quote on the key's line
  bool longKept = false;  // the user kept a value the game cuts short; not reported again
};

enum class LoadMode { Load = 0, Revert = 1, Refresh = 2 };

class StringTable : public tarvex::HeaderedTable {
 public:
  static constexpr const char* kPlaceholder = "(empty)";
  static constexpr const char* kAllGroup = "All";
  static constexpr const char* kCustomGroup = "Custom Keys";

  explicit StringTable(TableListener* listener = nullptr);

  // Entry 0 is the placeholder "(empty)", never written; keys 1..Count() in file order, then
  // the keys added since the load.
  const std::vector<StringKey>& keyTable() const { return keys_; }
  // Entry 0 is "All"; then the group names in order of first appearance (compared exactly).
  const QStringList& groupTable() const { return groups_; }
  // The comment lines after the last key, each ended by CR LF; written before "END".
  const QString& TailComments() const { return tail_; }
  // Lines of the last file read that are neither keys, comments, header, count nor "END" (a
  // lone double quote, a name followed by text that is no value, a stray word): they are not
  // listed but written back as they stood, in their place (those after "END" after it). A
  // Load or Revert that met any tells how many, and the first few with their numbers.
  int UnreadableLines() const { return unreadable_; }
  int Count() const { return int(keys_.size()) - 1; }

  // Reads jkstrings.uni (Load, Refresh) or jkstrings.~un (Revert) of the folder. name is the
  // table's file name as the user gave it ("JKSTRINGS.UNI"): when the folder holds a file of
  // exactly that name it is the one read (and later written), otherwise the folder's table is
  // found ignoring letter case. A file that does not exist or cannot be read is reported and
  // leaves the table as it was; false then. After a Revert the table counts as changed: what
  // it shows differs from the file it will be saved to.
  bool LoadTable(const QString& folder, LoadMode mode, const QString& name = QString());

  // Writes the table to jkstrings.uni of the folder, keeping the file it replaces as
  // jkstrings.~un, then reads it back (Refresh). Author settings the header cannot hold are
  // refused before anything is written. The new file is complete on disk before the
  // old one is touched; on any failure the old file stays as it was, the reason is reported
  // and false is returned. Author settings and comments that would make a header line longer
  // than the game reads are refused too. Key lines the game would cut are reported after the
  // save, except those whose value the user chose to keep (KeepLongValue). name: as for
  // LoadTable; empty writes the file last loaded from that folder.
  bool SaveTable(const QString& folder, const QString& name = QString());

  // Appends a key and returns its index. The group is looked up exactly ("All" is group 0)
  // and added when new.
  int AddKey(const QString& group, const QString& name, const QString& value);
  // Removes key k (1..Count()); the keys after it move down by one. The placeholder stays.
  // The comment lines before the key stay in the file: they go to the key that follows.
  bool DeleteKey(int k);
  // Changes the value of key k (1..Count()). False for the placeholder or an unknown index.
  // Keys added or deleted, values or comments changed make the table Modified() until the
  // next load.
  bool SetValue(int k, const QString& value);

  // The folder of the last successful load (empty before the first), and the path of the
  // table file read there (jkstrings.uni under its own name, also after a Revert).
  const QString& LoadedFolder() const { return folder_; }
  const QString& LoadedPath() const { return path_; }
  // The table file at LoadedPath() as it was last read or written here.
  const tarvex::FileStamp& Stamp() const { return stamp_; }

  // The user was told that key k's line is longer than the game reads and kept it: the save
  // does not report it again (until the value changes).
  void KeepLongValue(int k);

  // Builds the bytes that SaveTable writes, and counts the key lines longer than the game
  // reads (first such key in *firstLong).
  QByteArray Serialize(int* longLines = nullptr, QString* firstLong = nullptr) const;

  void SetListener(TableListener* listener) { listener_ = listener ? listener : &silent_; }
  // Replaces the clock of the progress window's timing (tests).
  void SetClock(const ProgressGate::Clock& clock) { clock_ = clock; }

 private:
  void Reset();
  // Rebuilds the table from the text of a file; the caption and size are those of the
  // progress window.
  void Rebuild(const QString& text, qint64 size, const QString& caption, const QString& folder, ProgressGate& gate);
  // The table file of the folder that name picks (see LoadTable).
  QString NamedPath(const QString& folder, const QString& name) const;
  // The index of the group, added (and reported) when new.
  int GroupIndex(const QString& group);
  int AppendKey(StringKey key);
  QString SerializeText(const Author& author, int* longLines, QString* firstLong) const;
  // Tells how many lines of the file at path could not be read, naming the first few.
  void TellUnreadable(const QString& path) const;
  void Notify(const QString& text, const QString& title, TableListener::Notice kind) const {
    listener_->Message(text, title, kind);
  }
  bool WriteSafely(const QString& path, const QString& folder, const QByteArray& bytes);

  TableListener silent_;
  TableListener* listener_;
  ProgressGate::Clock clock_;
  std::vector<StringKey> keys_;
  QStringList groups_;
  QHash<QString, int> groupIndex_;
  QString tail_;
  QString afterEnd_;     // unreadable lines that stood after "END", each ended by CR LF
  int unreadable_ = 0;
  QStringList unreadableShown_;  // the first few, as "Line 12: text"
  QString folder_, path_;
  tarvex::FileStamp stamp_;  // the file at path_ as it was last read or written here
};

}  // namespace lirrel
