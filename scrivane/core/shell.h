#pragma once
// Window-free rules of the editor shell: window numbering, the template test of a path,
// the message list file, font size rounding, the command line and the window arrangements.
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

namespace scrivane {

// The number of a new document window: the number of registered windows + 1, increased
// until no registered window uses it.
int NextWindowNumber(const QSet<int>& taken);

// True when the path names a COG template: its last three characters are "cgt" in any case.
bool IsTemplatePath(const QString& path);

// The names of a message list file: the first line is a header; every further non-empty line
// is a name, each distinct name once, in file order.
QStringList ParseMessageList(const QString& text);

// A font size in points rounded to a whole number, halves to the even neighbour.
int RoundFontSize(double points);

// The command line as one path: the arguments after the program name joined with blanks.
QString CommandLineText(const QStringList& arguments);

// The 14 symbol type names of the language, in their fixed order.
QStringList SymbolTypeNames();

// Window arrangements inside the client area. n windows, in registry order.
std::vector<QRect> CascadeRects(const QRect& area, int n, int step);
std::vector<QRect> TileHorizontalRects(const QRect& area, int n);  // stacked top to bottom, full width
std::vector<QRect> TileVerticalRects(const QRect& area, int n);    // side by side, full height
// Minimized windows lined up along the bottom, left to right, wrapping upwards.
std::vector<QRect> ArrangeIconRects(const QRect& area, int n, const QSize& icon);

// The main window's place at start: the stored rectangle when a strip of its top, where the
// title bar is, lies on the screen's available area (shrunk and moved into that area); otherwise about
// 80 % of the area, centred. An empty stored rectangle means none was stored.
QRect StartWindowRect(const QRect& available, const QRect& stored);

// A new document window filling the document area, moved down and right by one step for each
// of the `open` windows already shown, starting over at the top left when less than half of
// the area would be left to it.
QRect NewDocumentRect(const QRect& area, int open, int step);

// Twips (1/1440 inch) to pixels at the given dots per inch.
int TwipsToPixels(int twips, double dpi);

}  // namespace scrivane
