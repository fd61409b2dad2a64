// The hints while typing, driven key by key over a plain text the way the document window
// drives them (fuzz_hints checks the section marks kept edit by edit against a full scan).
#include "scrivane/core/hints.h"

using namespace scrivane;

namespace {

constexpr QChar kDown(0x2193), kDblClick(0x2022);  // in key strings: Down, double click

// A document window reduced to its text, caret and panels: keys go through the decisions,
// then the character goes in.
struct Typist {
  QString text;
  qsizetype caret = 0, sel = 0;
  HintPanels p;
  bool listFocus = false;  // the list has the keyboard
  QStringList messages{"activate", "activated", "arrived", "Blocked", "startup", "touched"};
  FunctionHelpIndex functions;
  QString helpText;

  Typist(const QString& withCaret) : text(withCaret), caret(text.indexOf('|')) {
    text.remove(caret, 1);
    for (const auto& [name, tag] : {std::pair{"Thing", "parent"}, {"Sleep", "Sleep(flex seconds)|Pauses."},
                                    {"sleep", "sleep(other)|Second."}})
      functions.Add(name, tag);
  }
  HintAnswer Run(HintAnswer (*f)(const HintInput&, int), int k) {
    const TextLines lines(text);
    const SectionMarks m = ScanSectionMarks(text);
    const HintInput in{lines, caret, sel, qint32(m.lsym), qint32(m.lsymend), p, messages, &functions};
    const HintAnswer a = f(in, k);
    if (a.edit) Put(a.editStart, a.editLength, a.editText);
    if (a.moveCaret) caret = a.caret, sel = 0;
    if (a.newHelp) helpText = a.helpText;
    p = a.panels;
    listFocus = (listFocus || a.focusList) && p.listUp;
    return a;
  }
  void Put(qsizetype at, qsizetype len, const QString& s) { text.replace(at, len, s), caret = at + s.size(), sel = 0; }
  void Type(const QString& keys, int clickItem = -1) {
    for (const QChar ch : keys) {
      if (ch == kDblClick) {
        p.listCurrent = clickItem;
        Run([](const HintInput& in, int) { return ListDblClick(in); }, 0);
      } else if (listFocus) {
        if (ch == kDown) p.listCurrent = std::min(p.listCurrent + 1, int(messages.size()) - 1);
        else Run(ListKeyPress, ch.unicode());
      } else if (ch == QLatin1Char('\b')) {
        Run(TextKeyDown, kKeyBack);
        Put(caret - 1, 1, {});
      } else if (!Run(TextKeyDown, ch == kDown ? kKeyDown : 0).swallowKey) {
        Run(TextKeyPress, ch.unicode());
        Put(caret, sel, ch == QLatin1Char('\r') ? QStringLiteral("\r\n") : QString(ch));
      }
    }
  }
};

const QString kScript = "# x\r\nsymbols\r\n|\r\nend\r\ncode\r\nstartup:\r\n  \r\nend\r\n";

// Start text and keys; the text after with "|" at the caret, the panels up. (The list shown and
// filled by Enter, Down and Tab, and the function help opened and closed by its parentheses, are
// typed in the window: MainWindowTest.MessageListAndFunctionHelpWhileTyping.)
struct Case { const char* name; QString start, keys, want; bool listUp, helpUp; int clickItem = -1; };

TEST(Hints, TypingInADocument) {
  const QString code = QString(kScript).remove('|').replace("  \r\nend", "  |\r\nend");
  const Case cases[] = {
      {"any case, inside a longer word", kScript, "Messages ", "", true, false},
      {"blank after thing does not", kScript, "thing ", "", false, false},
      {"not in the code section", code, "message ", "", false, false},
      {"not without an end line", "x\r\nsymbols\r\n|", "message ", "x\r\nsymbols\r\nmessage |", false, false},
      {"the rest of the line is the typed word", "x\r\nsymbols\r\nmessage|act\r\nend", " \t", "x\r\nsymbols\r\nmessage activate\t|\r\nend", false, false},
      {"nothing typed: Enter only breaks", kScript, "message \r", "# x\r\nsymbols\r\nmessage \r\n|\r\nend\r\ncode\r\nstartup:\r\n  \r\nend\r\n", false, false},
      {"a prefix of no name stays", "x\r\nsymbols\r\n|\r\nend", "message qq\r", "x\r\nsymbols\r\nmessage qq\r\n|\r\nend", false, false},
      {"Down then Enter takes the typed match", "x\r\nsymbols\r\n|\r\nend", QString("message a") + kDown + kDown + "\r", "x\r\nsymbols\r\nmessage activate|\r\nend", false, false},
      {"double click takes the clicked name", "x\r\nsymbols\r\n|\r\nend", QString("message a") + kDblClick, "x\r\nsymbols\r\nmessage arrived|\r\nend", false, false, 2},
      {"Backspace hides the list", "x\r\nsymbols\r\n|\r\nend", "message \b", "x\r\nsymbols\r\nmessage|\r\nend", false, false},
      {"a category shows nothing", "|", "Thing(", "", false, false},
      {"the help first added, in any letter case", "|", "SLEEP(", "", false, true},
      {"Backspace over ( hides", "|", "Sleep(\b", "", false, false},
      {"Backspace over ) never shown stays hidden", "|", "x)\b", "", false, false},
  };
  for (const Case& c : cases) {
    Typist t(c.start);
    t.Type(c.keys, c.clickItem);
    if (!c.want.isEmpty()) { EXPECT_EQ(QString(t.text).insert(t.caret, '|'), c.want) << c.name; }
    EXPECT_EQ(std::pair(t.p.listUp, t.p.helpUp), std::pair(c.listUp, c.helpUp)) << c.name;
    EXPECT_TRUE(!c.helpUp || t.helpText == "Sleep(flex seconds)") << c.name;
  }
}

TEST(Hints, WordBackAndPopupPlace) {
  const struct { QString text; qsizetype caret, start, length; } words[] = {
      {"ab cd", 5, 3, 2}, {"ab ", 3, 2, 1}, {" ab", 3, 0, 3}, {"x\r\nab", 5, 3, 2}, {"x\r\n", 3, 2, 1}, {"", 0, 0, 0}};
  for (const auto& w : words) {
    const WordBack r = SelectWordBack(TextLines(w.text), w.caret);
    EXPECT_EQ(std::pair(r.start, r.length), std::pair(w.start, w.length)) << w.text.toStdString();
    EXPECT_EQ(r.text, w.text.mid(w.start, w.length));
  }
  // The list goes below the typed line, above it when it does not fit below, shortened to
  // the roomier side when it fits on neither; never over the line (14 pixels from lineTop).
  const struct { int areaHeight, chLeft, lineTop; bool usable; QRect want; } places[] = {
      {200, 50, 40, true, {49, 40 + 14 - 1 + 7, 100, 80}},
      {200, 50, 40, false, {57, 60, 100, 80}},       // the caret's own place
      {200, 290, 170, true, {210, 90, 100, 80}},     // near the bottom right: above, moved left
      {200, 50, 110, true, {49, 130, 100, 80}},      // just fits below
      {100, 50, 50, true, {49, 70, 100, 40}},        // fits nowhere: below, shortened
      {100, 50, 70, true, {49, 10, 100, 60}},        // fits nowhere: above has more room
  };
  for (const auto& p : places) {
    const QRect area(10, 10, 300, p.areaHeight);
    const QRect ch(p.chLeft, p.lineTop, 1, 14), caret(p.chLeft + 8, p.lineTop, 1, 14);
    const QRect got = PopupRect(ch, p.usable, caret, 14, 96, area, {100, 80});
    EXPECT_EQ(got, p.want) << p.lineTop;
    EXPECT_FALSE(got.intersects(QRect(0, p.lineTop, 400, 14))) << p.lineTop;
  }
}

}  // namespace
