#pragma once
// The COG function reference "cogref.dat": a header line, then category lines (".Name") each
// followed by its function lines ("Name(params)|description"), ended by a line "EOF".
// The parser turns the file into plain data for the reference tree and lists every line it
// had to skip, so a damaged file never stops the editor.
#include <QString>
#include <vector>

namespace scrivane {

// One function of the reference: key and tag are the whole line, text is the function's name
// (the line up to its first "(").
struct CogRefEntry {
  QString key;
  QString text;
  QString tag;
};

// A category's name is its tree key and display text; its tag is CogRefCategoryTag().
struct CogRefCategory {
  QString name;
  std::vector<CogRefEntry> functions;
};

struct CogRefProblem {
  int line = 0;  // 1-based line of the file; 0 when the problem concerns the whole file
  QString reason;
};

struct CogRefData {
  std::vector<CogRefCategory> categories;  // in file order
  std::vector<CogRefProblem> problems;     // in file order
};

// The tag every category node carries.
QString CogRefCategoryTag();
// True for the category tag, in any letter case.
bool IsCategoryTag(const QString& tag);

// Parses the text of a reference file; CR LF, LF and CR line ends are all accepted.
// Line 1 is skipped whatever it holds; a line "EOF" (any case) ends the catalogue, and so does
// the end of the text. Skipped, each recorded as a problem: blank lines, function lines without
// "(", function lines before the first category, category lines without a name, and lines whose
// key was used before. Keys (category names and whole function lines share one key space)
// compare ignoring letter case. A repeated category line still makes that category current,
// so the functions below it join the category of that name.
CogRefData ParseCogRef(const QString& text);

// Reads and parses the file (ANSI code page). *exists is set to false, and nothing is parsed,
// when there is no file at path. A file that exists but cannot be read yields no categories
// and one problem on line 0.
CogRefData LoadCogRefFile(const QString& path, bool* exists);

// The message that tells the user which lines were skipped: their count and the first five by
// line number and reason. Empty when there are no problems.
QString FormatCogRefProblems(const std::vector<CogRefProblem>& problems);

// The signature part of a tag: everything before its first "|", the whole tag when it has none.
QString SignatureOf(const QString& tag);

// The description part of a tag: everything after its first "|". A tag without "|" gives the
// whole tag (so a category shows "parent", and a function its whole line).
QString DescriptionOf(const QString& tag);

}  // namespace scrivane
