#pragma once
// The header of "#&" lines that Lirrel and Orvane write at the top of the files they save:
// the file's title, the program and its version, the author's information, the one-line
// comments & description, and the tool maker's lines. Reading a file back, every line that
// begins with "#&" is a header line and a "#&>" line carries the comments.
#include <QString>
#include <QStringList>
#include <QStringView>

namespace tarvex {

// The author's information from the shared settings ("Pendrel"/"AuthInfo").
struct Author {
  QString name;
  QString email;
  QString website;
  static Author FromSettings();
  // Why these fields cannot go into the header of fileName, naming the setting and the
  // character (a line break would start a line of its own, a double quote a key line, and a
  // character the code page lacks would become "?") or the length (a header line longer than
  // longestLine bytes is read by the game as two lines); empty when they can.
  QString Refusal(const QString& fileName, int longestLine) const;
};

// Why the comments & description cannot go into the header of fileName: a line break, a
// character the code page lacks, or a header line longer than longestLine bytes. The
// message says what was done instead (consequence); empty when they can.
QString CommentsRefusal(const QString& comments, const QString& fileName, int longestLine,
                        const QString& consequence);

// Why the header of fileName cannot be written with these author settings and comments (the
// first of Author::Refusal and CommentsRefusal); empty when it can.
QString HeaderRefusal(const Author& author, const QString& comments, const QString& fileName, int longestLine);

// The 15 header lines: "#& " + fileTitle, "#& created using Tarvex/" + program + " version "
// + version, the author lines, "#&>" + comments, and the ruled block naming program.
QStringList AuthorHeader(const QString& fileTitle, const QString& program, const QString& comments,
                         const Author& author);

// A header line of a file as read.
struct HeaderLine {
  bool header = false;    // the line begins with "#&"
  bool comments = false;  // it begins with "#&>": text is the comments & description
  QString text;           // what follows "#&" (or "#&>")
};
HeaderLine ReadHeaderLine(QStringView line);

// What the tables of Lirrel and Orvane have alike: the header of the file last read, the
// comments & description that the next save writes, and whether the table changed since it
// was last read or written.
class HeaderedTable {
 public:
  // The header lines of the file last read, each without its "#&" (the comments without
  // "#&>"); one empty entry when the file had none.
  const QStringList& headerLines() const { return header_; }
  const QString& Comments() const { return comments_; }
  // Other comments change the table.
  void SetComments(const QString& text);
  bool Modified() const { return modified_; }

 protected:
  QStringList header_{QString()};
  QString comments_;
  bool modified_ = false;
};

}  // namespace tarvex
