#pragma once
// A COG script of about `bytes` characters with CR LF line ends, as the benchmarks that follow
// an operation through sizes open it: a symbols section of declarations, then message handlers
// full of calls, braces, comments and uses of the declared symbols, up to the size.
#include <QString>

namespace bench {

inline const QString kScriptHead = QStringLiteral(
    "# Jedi Knight COG script\r\n#\r\n# Written with Scrivane\r\n\r\nflags=0x240\r\n\r\nsymbols\r\n\r\n"
    "message     startup\r\nmessage     activated\r\nmessage     timer\r\nthing       victim\r\n"
    "thing       player\r\nflex        delay=0.5\r\nvector      dir\r\nint         damage\r\n\r\nend\r\n\r\ncode\r\n\r\n");
inline const QString kScriptHandler = QStringLiteral(
    "activated:\r\n    SetThingFlags(victim, 0x400);   // keep hidden\r\n"
    "    if(GetThingHealth(player) < 50) { Sleep(delay); }\r\n"
    "    damage = RandVec() * 12.5 + VectorScale(dir, 3.0);\r\n"
    "    Print(\"victim hit\");\r\n    return;\r\n\r\n");

// The first line (from 0) of the handler `handlers` handlers after the one nearest the middle of
// such a script of `lines` lines: the same line of a handler at every size, so that what is
// done there has the same surroundings.
inline int HandlerLine(int lines, int handlers = 0) {
  const int head = int(kScriptHead.count(QStringLiteral("\r\n"))), each = int(kScriptHandler.count(QStringLiteral("\r\n")));
  return head + ((lines / 2 - head) / each + handlers) * each;
}

inline QString ScriptOfSize(qsizetype bytes) {
  QString s = kScriptHead;
  const QString& handler = kScriptHandler;
  s.reserve(bytes + handler.size());
  while (s.size() + handler.size() < bytes) s += handler;
  return s + QStringLiteral("end\r\n");
}

}  // namespace bench
