#include "orvane/core/modeltable.h"

#include <algorithm>
#include <climits>

#include <QFileInfo>

#include "common/ansicodec.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/text.h"

namespace orvane {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

qsizetype SkipBlanks(QStringView s, qsizetype i) {
  while (i < s.size() && IsBlank(s[i])) ++i;
  return i;
}

qsizetype TokenEnd(QStringView s, qsizetype i) {
  while (i < s.size() && !IsBlank(s[i])) ++i;
  return i;
}

// A decimal number with an optional sign at i; false when there are no digits. Numbers
// beyond the range of int are refused, as no table can hold such a slot.
bool ReadNumber(QStringView s, qsizetype* i, long long* n) {
  qsizetype p = *i;
  const bool minus = p < s.size() && s[p] == QLatin1Char('-');
  if (p < s.size() && (s[p] == QLatin1Char('-') || s[p] == QLatin1Char('+'))) ++p;
  const qsizetype digits = p;
  long long v = 0;
  while (p < s.size() && s[p].isDigit() && s[p].unicode() < 0x80) {
    if (v < (1LL << 40)) v = v * 10 + (s[p].unicode() - '0');
    ++p;
  }
  if (p == digits) return false;
  *n = minus ? -v : v;
  *i = p;
  return true;
}

QString Quoted(QStringView s) { return QLatin1Char('"') + s.toString() + QLatin1Char('"'); }

// The reading state: the physical lines of the text, one at a time, with their numbers.
class Lines {
 public:
  explicit Lines(const QString& text) : text_(text) {}
  bool Next(QStringView* line) {
    if (!tarvex::NextLine(text_, &pos_, line)) return false;
    ++number_;
    return true;
  }
  int Number() const { return number_; }

 private:
  QStringView text_;
  qsizetype pos_ = 0;
  int number_ = 0;
};

void CutComment(QStringView line, QStringView* data, QString* comment) {
  const qsizetype hash = line.indexOf(QLatin1Char('#'));
  if (hash < 0) {
    *data = line;
    return;
  }
  *data = line.left(hash);
  *comment = line.mid(hash + 1).trimmed().toString();
}

struct Placed {
  ModelEntry entry;
  int line;
};

}  // namespace

ModelText ReadModelText(const QString& text) {
  ModelText out;
  QStringList countNotes;
  std::vector<std::pair<int, QString>> lineNotes;
  const auto note = [&](int line, const QString& what) { lineNotes.emplace_back(line, what); };
  std::vector<Placed> placed;
  bool first = true;
  int countLine = 0;

  Lines lines(text);
  QStringView raw;
  while (lines.Next(&raw)) {
    const int number = lines.Number();
    if (raw.size() > kLongestLine)
      note(number, QStringLiteral("the line is %1 bytes long, longer than the %2 bytes the game reads of a line; it "
                                  "reads the rest as a line of its own and loads no model from this file.")
                       .arg(raw.size())
                       .arg(kLongestLine));
    if (raw.startsWith(QLatin1String("#&"))) {
      const tarvex::HeaderLine h = tarvex::ReadHeaderLine(raw);
      out.headerLines << h.text;
      if (h.comments) {
        out.hasComments = true;
        out.comments = h.text;
      }
      continue;
    }
    if (raw.isEmpty() || raw.front() == QLatin1Char('#') || raw.front() == QLatin1Char(';')) continue;

    QStringView data;
    QString comment, joined;
    CutComment(raw, &data, &comment);
    // The game joins a line that ends in a backslash with the next one.
    while (data.endsWith(QLatin1Char('\\'))) {
      note(lines.Number(), QStringLiteral("the line ends in a backslash: the game joins the next line to it."));
      QStringView next;
      joined = data.chopped(1).toString();
      if (!lines.Next(&next)) {
        data = joined;
        break;
      }
      QStringView nextData;
      comment.clear();
      CutComment(next, &nextData, &comment);
      joined += nextData;
      data = joined;
    }

    if (first) {
      first = false;
      if (data.startsWith(QLatin1String("nummodels:"), Qt::CaseInsensitive)) {
        qsizetype i = SkipBlanks(data, 10);
        long long n = 0;
        if (ReadNumber(data, &i, &n)) {
          out.declaredCount = int(qBound(-(1LL << 31), n, (1LL << 31) - 1));
          countLine = number;
          continue;
        }
      }
      countNotes << QStringLiteral("Line %1: the game expects \"numModels: N\" as the first line that is not a "
                                   "comment, and without it loads no model from this file.")
                        .arg(number);
    }

    qsizetype i = SkipBlanks(data, 0);
    long long slot = 0;
    if (!ReadNumber(data, &i, &slot) || i >= data.size() || data[i] != QLatin1Char(':')) {
      note(number, QStringLiteral("the game ignores this line: it does not begin with a slot number and a colon."));
      continue;
    }
    i = SkipBlanks(data, i + 1);
    const qsizetype modelEnd = TokenEnd(data, i);
    const qsizetype soundStart = SkipBlanks(data, modelEnd);
    const qsizetype soundEnd = TokenEnd(data, soundStart);
    if (modelEnd == i || soundEnd == soundStart) {
      note(number, QStringLiteral("the game ignores this line: it does not give a model and a sound."));
      continue;
    }
    if (slot < INT_MIN || slot > INT_MAX) {
      note(number, QStringLiteral("the game ignores this line: its slot number is too large."));
      continue;
    }
    if (SkipBlanks(data, soundEnd) < data.size())
      note(number, QStringLiteral("the game ignores the text after the sound, and Orvane does not keep it."));
    ModelEntry e{int(slot), data.mid(i, modelEnd - i).toString(),
                 data.mid(soundStart, soundEnd - soundStart).toString(), comment};
    for (const QString* name : {&e.model, &e.sound})
      if (name->size() > kGameNameLimit)
        note(number, QStringLiteral("the name %1 is longer than the %2 characters the game reads.")
                         .arg(Quoted(*name))
                         .arg(kGameNameLimit));
    placed.push_back({std::move(e), number});
  }

  // Slot order; of two lines with one slot the later wins, as in the game.
  std::stable_sort(placed.begin(), placed.end(),
                   [](const Placed& a, const Placed& b) { return a.entry.slot < b.entry.slot; });
  out.entries.reserve(placed.size());
  for (size_t k = 0; k < placed.size(); ++k) {
    if (k + 1 < placed.size() && placed[k + 1].entry.slot == placed[k].entry.slot) {
      note(placed[k].line, QStringLiteral("slot %1 is given again on line %2; the game keeps the later line, and so "
                                          "does Orvane.")
                               .arg(placed[k].entry.slot)
                               .arg(placed[k + 1].line));
      continue;
    }
    out.entries.push_back(std::move(placed[k].entry));
  }

  const int n = int(out.entries.size());
  if (out.declaredCount >= 0) {
    if (out.declaredCount != n)
      countNotes << QStringLiteral("Line %1: numModels says %2, but the file holds %3 models; Orvane writes the "
                                   "true count.")
                        .arg(countLine)
                        .arg(out.declaredCount)
                        .arg(n);
  } else if (first) {
    countNotes << QStringLiteral("The file has no \"numModels: N\" line: the game loads no model from it.");
  }
  // Slots no line fills, and slots outside the table the game makes.
  const long long size = out.declaredCount >= 0 ? out.declaredCount : (n ? out.entries.back().slot + 1LL : 0);
  long long expect = 0;
  QStringList slotNotes;
  for (const Placed& p : placed) {
    const int s = p.entry.slot;
    if (s < 0 || s >= size) {
      note(p.line, QStringLiteral("slot %1 lies outside the %2 slots of the table; the game writes it outside its "
                                  "memory.")
                       .arg(s)
                       .arg(size));
    }
  }
  const auto missing = [&](long long from, long long to) {
    if (from > to) return;
    slotNotes << (from == to ? QStringLiteral("Slot %1: no line fills it; the game shows an empty slot.").arg(from)
                             : QStringLiteral("Slots %1 to %2: no line fills them; the game shows empty slots.")
                                   .arg(from)
                                   .arg(to));
  };
  for (const ModelEntry& e : out.entries) {
    if (e.slot < 0) continue;
    if (e.slot >= size) break;
    missing(expect, e.slot - 1LL);
    expect = e.slot + 1LL;
  }
  missing(expect, size - 1);
  // Notes in line order.
  std::stable_sort(lineNotes.begin(), lineNotes.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  out.notes = countNotes;
  for (const auto& [line, what] : lineNotes) out.notes << QStringLiteral("Line %1: %2").arg(line).arg(what);
  out.notes += slotNotes;
  return out;
}

QString ModelFileText(const std::vector<ModelEntry>& entries, const QString& comments, const tarvex::Author& author) {
  QString text;
  qsizetype estimate = 1024;
  for (const ModelEntry& e : entries) estimate += e.model.size() + e.sound.size() + e.comment.size() + 16;
  text.reserve(estimate);
  for (const QString& line : tarvex::AuthorHeader(QStringLiteral("Models.Dat"), QStringLiteral("Orvane"), comments,
                                                  author)) {
    text += line;
    text += kCrLf;
  }
  text += kCrLf;
  text += QStringLiteral("numModels: ") + QString::number(entries.size()) + kCrLf;
  text += kCrLf;
  text += QStringLiteral("#\tModel\tSound") + kCrLf;
  for (size_t i = 0; i < entries.size(); ++i) {
    text += EntryLine(int(i), entries[i]);
    text += kCrLf;
  }
  return text;
}

QString EntryLine(int i, const ModelEntry& e) {
  QString line = QString::number(i) + QStringLiteral(": ") + e.model + QLatin1Char('\t') + e.sound;
  if (!e.comment.isEmpty())
    line += QStringLiteral("\t# ") + e.comment;
  else if (e.sound.endsWith(QLatin1Char('\\')))
    line += QStringLiteral("\t#");  // a line that ended in the backslash would be joined to the next
  return line;
}

QString LineProblem(int i, const ModelEntry& e) {
  const qsizetype bytes = EntryLine(i, e).size();
  if (bytes <= kLongestLine) return QString();
  return QStringLiteral("The comment of slot %1 (%2) is %3 characters long, which makes a line of %4 bytes in "
                        "models.dat, longer than the %5 bytes the game reads of a line (it would read the rest as a "
                        "line of its own and load no model).")
      .arg(i)
      .arg(Quoted(e.model))
      .arg(e.comment.size())
      .arg(bytes)
      .arg(kLongestLine);
}

QString NameProblem(const QString& name, const QString& what) {
  if (name.isEmpty()) return QStringLiteral("The %1 name is empty.").arg(what);
  if (name.size() > kGameNameLimit)
    return QStringLiteral("The %1 name %2 is %3 characters long; the game reads at most %4.")
        .arg(what, Quoted(name))
        .arg(name.size())
        .arg(kGameNameLimit);
  static const struct {
    QChar c;
    const char* said;
  } kRefused[] = {{QLatin1Char(' '), "a blank"},          {QLatin1Char('\t'), "a tab"},
                  {QLatin1Char('#'), "'#'"},              {QLatin1Char(';'), "';'"},
                  {QLatin1Char('\\'), "a backslash"},     {QLatin1Char('/'), "a slash"},
                  {QLatin1Char('"'), "a double quote"}};
  for (const auto& r : kRefused)
    if (name.contains(r.c))
      return QStringLiteral("The %1 name %2 holds %3, which the game cannot read in a file name here.")
          .arg(what, Quoted(name), QLatin1String(r.said));
  for (const QChar c : name)
    if (c.unicode() < 0x20)
      return QStringLiteral("The %1 name %2 holds a control character.").arg(what, Quoted(name));
  const QString bad = tarvex::DescribeUnencodable(name);
  if (!bad.isEmpty())
    return QStringLiteral("The %1 name holds the character %2, which models.dat (Windows-1252) cannot store.")
        .arg(what, bad);
  return QString();
}

QString CommentProblem(const QString& comment) {
  for (const QChar c : comment)
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(QChar::LineSeparator) ||
        c == QChar(QChar::ParagraphSeparator))
      return QStringLiteral("The comment cannot hold a line break: it is written at the end of its model's line.");
  const QString bad = tarvex::DescribeUnencodable(comment);
  if (!bad.isEmpty())
    return QStringLiteral("The comment holds the character %1, which models.dat (Windows-1252) cannot store.").arg(bad);
  return QString();
}

QString NotesMessage(const QStringList& notes, const QString& what) {
  if (notes.isEmpty()) return QString();
  QString text = QStringLiteral("The game would read %1 differently from what Orvane shows:").arg(what);
  for (qsizetype i = 0; i < notes.size() && i < kShownNotes; ++i) text += kCrLf + notes[i];
  if (notes.size() > kShownNotes) text += kCrLf + QStringLiteral("... and %1 more.").arg(notes.size() - kShownNotes);
  return text;
}

QString BackupPath(const QString& path) {
  return tarvex::JoinPath(tarvex::FolderPart(path), QFileInfo(tarvex::FileTitle(path)).completeBaseName() +
                                                        QStringLiteral(".~da"));
}

bool ModelTable::Read(const QString& path, QString* error, QStringList* notes) {
  QByteArray bytes;
  QString reason;
  if (!tarvex::ReadWholeFile(path, &bytes, &reason)) {
    if (error) *error = path + kCrLf + reason;
    return false;
  }
  ModelText t = ReadModelText(tarvex::DecodeAnsi(bytes));
  entries_ = std::move(t.entries);
  header_ = t.headerLines.isEmpty() ? QStringList{QString()} : t.headerLines;
  if (t.hasComments) comments_ = t.comments;
  if (notes) *notes = t.notes;
  return true;
}

bool ModelTable::Load(const QString& path, QString* error, QStringList* notes) {
  if (!Read(path, error, notes)) return false;
  path_ = path;
  modified_ = false;
  return true;
}

bool ModelTable::LoadContent(const QString& path, QString* error, QStringList* notes) {
  if (!Read(path, error, notes)) return false;
  modified_ = true;
  return true;
}

bool ModelTable::Save(const QString& path, QString* error) {
  const tarvex::Author author = tarvex::Author::FromSettings();
  QString refusal = tarvex::HeaderRefusal(author, comments_, QLatin1String(kModelsFileName), kLongestLine);
  for (size_t i = 0; i < entries_.size() && refusal.isEmpty(); ++i) {
    refusal = LineProblem(int(i), entries_[i]);
    if (!refusal.isEmpty()) refusal += QStringLiteral(" Shorten the comment and save again; nothing was written.");
  }
  if (!refusal.isEmpty()) {
    if (error) *error = refusal;
    return false;
  }
  const QString text = ModelFileText(entries_, comments_, author);
  qsizetype bad = -1;
  const QByteArray bytes = tarvex::EncodeAnsi(text, &bad);
  if (bad >= 0) {
    if (error)
      *error = path + kCrLf + QStringLiteral("The character %1 cannot be stored in models.dat (Windows-1252).")
                                  .arg(tarvex::DescribeUnencodable(text));
    return false;
  }
  QString reason, failed;
  if (!tarvex::WriteWholeFileWithBackup(path, BackupPath(path), bytes, &reason, &failed)) {
    if (error) *error = (failed.isEmpty() ? path : failed) + kCrLf + reason;
    return false;
  }
  Renumber();
  header_ = ReadModelText(text).headerLines;
  path_ = path;
  modified_ = false;
  return true;
}

void ModelTable::Renumber() {
  for (size_t i = 0; i < entries_.size(); ++i) entries_[i].slot = int(i);
}

int ModelTable::Add(const QString& model, const QString& sound, const QString& comment) {
  entries_.push_back({0, model, sound, comment});
  Renumber();
  modified_ = true;
  return Count() - 1;
}

bool ModelTable::Delete(int i) {
  if (i < 0 || i >= Count()) return false;
  entries_.erase(entries_.begin() + i);
  Renumber();
  modified_ = true;
  return true;
}

bool ModelTable::Move(int i, int delta) {
  const int j = i + delta;
  if (i < 0 || i >= Count() || j < 0 || j >= Count()) return false;
  std::swap(entries_[size_t(i)], entries_[size_t(j)]);
  Renumber();
  modified_ = true;
  return true;
}

bool ModelTable::Set(int i, const QString& model, const QString& sound, const QString& comment) {
  if (i < 0 || i >= Count()) return false;
  ModelEntry& e = entries_[size_t(i)];
  if (e.model == model && e.sound == sound && e.comment == comment) return true;
  e.model = model;
  e.sound = sound;
  e.comment = comment;
  modified_ = true;
  return true;
}

}  // namespace orvane
