#pragma once
// The multiplayer model table models.dat: its entries, the header of the file as last read,
// the comments & description line, and the text Orvane writes. The reader follows the game's
// own line reader and notes every place where the game would read the file differently from
// what Orvane shows.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

#include "common/authorheader.h"

namespace orvane {

inline constexpr const char* kModelsFileName = "models.dat";
inline constexpr const char* kModelsBackupName = "models.~da";
// The game cuts names to this many characters; a longer one overflows its buffer.
inline constexpr int kGameNameLimit = 31;
// The longest line the game reads whole; it reads the rest of a longer line as a line of its
// own, which spoils the table: no model is loaded.
inline constexpr int kLongestLine = 1023;
// At most this many notes are listed after a load; the rest are counted.
inline constexpr int kShownNotes = 10;

struct ModelEntry {
  int slot = 0;     // the number before the colon as read; renumbered 0 ... N-1 on save
  QString model;    // the .3do file name, without folder
  QString sound;    // the .snd file name, without folder
  QString comment;  // the text after the '#' that ends the line, trimmed; empty when none

  bool operator==(const ModelEntry& o) const {
    return slot == o.slot && model == o.model && sound == o.sound && comment == o.comment;
  }
};

// What one reading of a models.dat text gives.
struct ModelText {
  std::vector<ModelEntry> entries;  // in slot order; of two lines with one slot the later wins
  QStringList headerLines;          // the "#&" lines without "#&" ("#&>" for the comments line)
  bool hasComments = false;         // a "#&>" line was found; its text is in comments
  QString comments;
  int declaredCount = -1;  // the count of the "numModels" line, -1 when there is none
  QStringList notes;       // "Line 5: ...": what the game would read differently
};

ModelText ReadModelText(const QString& text);

// The whole file as Orvane writes it, lines ending in CR LF; entry i is written as slot i.
QString ModelFileText(const std::vector<ModelEntry>& entries, const QString& comments, const tarvex::Author& author);

// Entry i's line as written (without its line end).
QString EntryLine(int i, const ModelEntry& e);
// Why entry i's line cannot be written: longer than the game reads. Names the slot and the
// model; empty when it can.
QString LineProblem(int i, const ModelEntry& e);

// Why the game could not read name as the file name of a model or sound class; empty when it
// can. what names the field in the message ("model", "sound").
QString NameProblem(const QString& name, const QString& what);
// Why a comment cannot be written at the end of a model line; empty when it can.
QString CommentProblem(const QString& comment);

// The notes of a load of `what` (a file's name) as one message: at most kShownNotes lines and
// a count of the rest; empty when there are none.
QString NotesMessage(const QStringList& notes, const QString& what = QStringLiteral("this file"));

// The table the editor works on: the entries, the header of the file last read and the
// comments & description, loaded from and saved to a models.dat.
class ModelTable : public tarvex::HeaderedTable {
 public:
  const std::vector<ModelEntry>& modelTable() const { return entries_; }
  int Count() const { return int(entries_.size()); }
  // The file last loaded or saved; empty before the first.
  const QString& Path() const { return path_; }

  // Reads the file at path. A file that cannot be read leaves the table as it was; false
  // then, and *error says the path and the system's reason. *notes: what the game would read
  // differently. The comments are kept when the file has none.
  bool Load(const QString& path, QString* error, QStringList* notes = nullptr);
  // Loads the content of another file (the backup) while the table stays the one at Path();
  // the table counts as changed.
  bool LoadContent(const QString& path, QString* error, QStringList* notes = nullptr);
  // Writes the table to path, keeping the file it replaces as its backup (BackupPath). The
  // new file is complete on disk before the old one is touched; a failure leaves the old file
  // whole, returns false and says the path and the reason in *error. A table the game could
  // not read (an author setting or comments the header cannot hold, a line longer than the
  // game reads) is refused before anything is written, *error naming the setting or the
  // entry. The entries are numbered 0 ... N-1 afterwards, as written.
  bool Save(const QString& path, QString* error);

  // Appends an entry as the last slot and returns its index.
  int Add(const QString& model, const QString& sound, const QString& comment);
  bool Delete(int i);
  // Moves entry i one place up (delta -1) or down (+1); false at either end.
  bool Move(int i, int delta);
  bool Set(int i, const QString& model, const QString& sound, const QString& comment);

 private:
  bool Read(const QString& path, QString* error, QStringList* notes);
  void Renumber();

  std::vector<ModelEntry> entries_;
  QString path_;
};

// The backup beside a table: its name with the extension ".~da" ("models.~da").
QString BackupPath(const QString& path);

}  // namespace orvane
