#include "lirrel/core/stringtable.h"

#include <QFile>
#include <QFileInfo>

#include "common/ansicodec.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"
#include "lirrel/core/tablefile.h"

namespace lirrel {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kCantLoad = QStringLiteral("Can't Load File");
const QString kCantSave = QStringLiteral("Can't Save File");
constexpr int kUnreadableShown = 5;  // lines named in the message; the rest are counted

}  // namespace

StringTable::StringTable(TableListener* listener) : listener_(listener ? listener : &silent_) {
  keys_.push_back({0, QLatin1String(kPlaceholder), QString(), QString(), QString()});
  groups_ << QLatin1String(kAllGroup);
  groupIndex_.insert(groups_.front(), 0);
}

void StringTable::Reset() {
  header_ = QStringList{QString()};
  groups_ = QStringList{QLatin1String(kAllGroup)};
  groupIndex_.clear();
  groupIndex_.insert(groups_.front(), 0);
  keys_.clear();
  keys_.push_back({0, QLatin1String(kPlaceholder), QString(), QString(), QString()});
  tail_.clear();
  afterEnd_.clear();
  unreadable_ = 0;
  unreadableShown_.clear();
  listener_->ListsReset();
  listener_->GroupAdded(groups_.front(), 0);
  listener_->KeyAdded(keys_.front().name, 0);
}

QString StringTable::NamedPath(const QString& folder, const QString& name) const {
  if (!name.isEmpty()) {
    const QString exact = tarvex::JoinPath(folder, name);
    if (QFileInfo::exists(exact)) return exact;
  } else if (folder == folder_ && !path_.isEmpty()) {
    return path_;
  }
  return TablePath(folder);
}

bool StringTable::LoadTable(const QString& folder, LoadMode mode, const QString& name) {
  const QString table = NamedPath(folder, name);
  const QString path = mode == LoadMode::Revert ? TablePath(folder, true) : table;
  const QFileInfo info(path);
  if (!info.exists()) {
    Notify(path + kCrLf + QStringLiteral("This file does not exist."), kCantLoad, TableListener::Notice::Warning);
    return false;
  }
  // The time until the progress window shows counts from here: reading and decoding a big
  // file is part of the wait.
  const qint64 size = info.size();
  ProgressGate gate(listener_, clock_, size);
  // The file is read whole before the table is touched, so a file that cannot be read leaves
  // the table in memory as it was.
  QByteArray bytes;
  QString error;
  const tarvex::FileStamp stamp = tarvex::StampOf(table);  // taken before the read: a write during it shows
  if (!tarvex::ReadWholeFile(path, &bytes, &error)) {
    Notify(path + kCrLf + error, kCantLoad, TableListener::Notice::Warning);
    return false;
  }
  path_ = table;
  stamp_ = stamp;
  Rebuild(tarvex::DecodeAnsi(bytes), size,
          mode == LoadMode::Refresh ? QStringLiteral("Refreshing data") : QStringLiteral("Loading and Parsing jkstrings.uni"),
          folder, gate);
  modified_ = mode == LoadMode::Revert;
  if (unreadable_ > 0 && mode != LoadMode::Refresh) TellUnreadable(path);
  return true;
}

void StringTable::TellUnreadable(const QString& path) const {
  QString text = path + kCrLf +
                 (unreadable_ == 1 ? QStringLiteral("1 line cannot be read as a key and is not listed. Saving keeps it "
                                                    "in the file as it stands.")
                                   : QStringLiteral("%1 lines cannot be read as keys and are not listed. Saving keeps "
                                                    "them in the file as they stand.")
                                         .arg(unreadable_)) +
                 kCrLf + kCrLf + unreadableShown_.join(kCrLf);
  if (unreadable_ > unreadableShown_.size())
    text += kCrLf + QStringLiteral("and %1 more.").arg(unreadable_ - unreadableShown_.size());
  Notify(text, QStringLiteral("Lirrel"), TableListener::Notice::Warning);
}

void StringTable::Rebuild(const QString& text, qint64 size, const QString& caption, const QString& folder,
                          ProgressGate& gate) {
  Reset();
  QStringList header;
  QString pending;  // comment lines waiting for the key they stand before
  qint64 lineNo = 0, read = 0;
  int group = 0;  // keys come in runs of one group: the last one is tried first
  bool ended = false;  // the "END" line has been read
  QStringView line;
  for (qsizetype at = 0; tarvex::NextLine(text, &at, &line);) {
    ++lineNo;
    read += line.size();
    if (gate.Due())
      gate.Step(caption + QStringLiteral(" - Line") + tarvex::NumText(lineNo) + QStringLiteral(" - ") +
                    tarvex::NumText(read) + QStringLiteral(" of ") + tarvex::NumText(size) + QStringLiteral(" bytes"),
                read);
    TableLine parsed = ReadTableLine(line);
    if (parsed.kind == TableLine::Header) {
      header << parsed.text;
      if (parsed.comments) comments_ = parsed.text;
    } else if (parsed.kind == TableLine::Comment) {
      pending += parsed.text;
      pending += kCrLf;
    } else if (parsed.kind == TableLine::Key) {
      const QStringView name = GroupView(parsed.name);
      if (groups_[group] != name) group = GroupIndex(name.toString());
      AppendKey({group, std::move(parsed.name), std::move(parsed.value), std::move(pending), std::move(parsed.trailer)});
      pending = QString();
    } else if (parsed.kind == TableLine::Skipped && !line.trimmed().isEmpty()) {
      bool end = false;
      if (IsFrameLine(line, &end)) {
        ended = ended || end;
        continue;
      }
      // Not a line this table reads: it is kept as it stands so that saving loses nothing.
      QString& keep = ended ? afterEnd_ : pending;
      keep += line;
      keep += kCrLf;
      if (++unreadable_ <= kUnreadableShown) {
        constexpr qsizetype kShown = 60;
        unreadableShown_ << QStringLiteral("Line") + tarvex::NumText(lineNo) + QStringLiteral(": ") +
                                (line.size() > kShown ? line.left(kShown).toString() + QStringLiteral("...") : line.toString());
      }
    }
  }
  gate.Finish();
  tail_ = pending;
  header_ = header.isEmpty() ? QStringList{QString()} : header;
  folder_ = folder;
  modified_ = false;
  listener_->CountChanged(Count());
  listener_->LoadFinished();
}

int StringTable::GroupIndex(const QString& group) {
  const auto it = groupIndex_.constFind(group);
  if (it != groupIndex_.constEnd()) return it.value();
  const int g = int(groups_.size());
  groups_ << group;
  groupIndex_.insert(group, g);
  listener_->GroupAdded(group, g);
  return g;
}

int StringTable::AppendKey(StringKey key) {
  keys_.push_back(std::move(key));
  const int k = Count();
  modified_ = true;
  listener_->KeyAdded(keys_.back().name, k);
  listener_->CountChanged(k);
  return k;
}

int StringTable::AddKey(const QString& group, const QString& name, const QString& value) {
  return AppendKey({GroupIndex(group), name, value, QString(), QString()});
}

bool StringTable::DeleteKey(int k) {
  if (k < 1 || k > Count()) return false;
  QString& heir = k < Count() ? keys_[size_t(k) + 1].comments : tail_;
  heir.prepend(keys_[size_t(k)].comments);
  keys_.erase(keys_.begin() + k);
  modified_ = true;
  listener_->CountChanged(Count());
  return true;
}

bool StringTable::SetValue(int k, const QString& value) {
  if (k < 1 || k > Count()) return false;
  if (keys_[size_t(k)].value != value) {
    keys_[size_t(k)].value = value;
    keys_[size_t(k)].longKept = false;
    modified_ = true;
  }
  return true;
}

void StringTable::KeepLongValue(int k) {
  if (k >= 1 && k <= Count()) keys_[size_t(k)].longKept = true;
}

QByteArray StringTable::Serialize(int* longLines, QString* firstLong) const {
  return tarvex::EncodeAnsi(SerializeText(Author::FromSettings(), longLines, firstLong));
}

QString StringTable::SerializeText(const Author& author, int* longLines, QString* firstLong) const {
  const int n = Count();
  if (longLines) *longLines = 0;
  QString text;
  qsizetype estimate = 1024;
  for (int i = 1; i <= n; ++i) {
    const StringKey& key = keys_[size_t(i)];
    estimate += key.name.size() + key.value.size() + key.comments.size() + key.trailer.size() + 37;
  }
  text.reserve(estimate + tail_.size() + afterEnd_.size());
  for (const QString& line : HeadLines(n, comments_, author)) {
    text += line;
    text += kCrLf;
  }
  ProgressGate gate(listener_, clock_, n);
  for (int i = 1; i <= n; ++i) {
    if (gate.Due())
      gate.Step(QStringLiteral("Saving jkstrings.uni - Line ") + tarvex::NumText(i) + QStringLiteral(" of ") +
                    tarvex::NumText(n),
                i);
    const StringKey& key = keys_[size_t(i)];
    text += key.comments;
    const qsizetype start = text.size();
    AppendKeyLine(text, key.name, key.value);
    text += key.trailer;
    if (text.size() - start > kGameLineLimit && longLines && !key.longKept) {
      if (*longLines == 0 && firstLong) *firstLong = key.name;
      ++*longLines;
    }
    text += kCrLf;
  }
  gate.Finish();
  text += tail_;
  text += QStringLiteral("END");
  text += kCrLf;
  text += afterEnd_;
  return text;
}

bool StringTable::WriteSafely(const QString& path, const QString& folder, const QByteArray& bytes) {
  QString error, failed;
  if (tarvex::WriteWholeFileWithBackup(path, TablePath(folder, true), bytes, &error, &failed)) return true;
  Notify(failed + kCrLf + error, kCantSave, TableListener::Notice::Warning);
  return false;
}

bool StringTable::SaveTable(const QString& folder, const QString& name) {
  const Author author = Author::FromSettings();
  const QString refusal = tarvex::HeaderRefusal(author, comments_, QLatin1String(kTableFileName), kGameLineLimit);
  if (!refusal.isEmpty()) {
    Notify(refusal, kCantSave, TableListener::Notice::Warning);
    return false;
  }
  int longLines = 0;
  QString firstLong;
  const QString text = SerializeText(author, &longLines, &firstLong);
  qsizetype unencodable = -1;
  const QByteArray bytes = tarvex::EncodeAnsi(text, &unencodable);
  const QString path = NamedPath(folder, name);
  if (!WriteSafely(path, folder, bytes)) return false;
  stamp_ = tarvex::StampOf(path);
  // Which values the user kept long survives the rebuild below.
  std::vector<bool> kept;
  kept.reserve(keys_.size());
  for (const StringKey& key : keys_) kept.push_back(key.longKept);
  // The table is rebuilt from the file just written. Its bytes are at hand, so they are not
  // read from the disk again; when every character had its byte, decoding them gives back
  // the very text they were made from.
  ProgressGate gate(listener_, clock_, bytes.size());
  path_ = path;
  Rebuild(unencodable < 0 ? text : tarvex::DecodeAnsi(bytes), bytes.size(), QStringLiteral("Refreshing data"), folder,
          gate);
  for (size_t k = 0; k < keys_.size() && k < kept.size(); ++k) keys_[k].longKept = kept[k];
  if (longLines > 0) {
    const QString limit = QString::number(kGameLineLimit);
    Notify(longLines == 1
               ? QStringLiteral("The key line of \"%1\" is longer than the %2 bytes the game reads; the game cuts it "
                                "short.")
                     .arg(firstLong, limit)
               : QStringLiteral("%1 key lines are longer than the %2 bytes the game reads; the game cuts them short. "
                                "The first is \"%3\".")
                     .arg(QString::number(longLines), limit, firstLong),
           QStringLiteral("Lirrel"), TableListener::Notice::Info);
  }
  return true;
}

}  // namespace lirrel
