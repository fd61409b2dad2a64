#pragma once
// A COG script of about `bytes` characters with CR LF line ends, as the benchmarks that follow
// an operation through sizes open it: a symbols section of declarations, then message handlers
// full of calls, braces, comments and uses of the declared symbols, up to the size.
#include <QString>

namespace bench {

inline QString ScriptOfSize(qsizetype bytes) {
  QString s = QStringLiteral(
      "# Jedi Knight COG script\r\n#\r\n# Written with Scrivane\r\n\r\nflags=0x240\r\n\r\nsymbols\r\n\r\n"
      "message     startup\r\nmessage     activated\r\nmessage     timer\r\nthing       victim\r\n"
      "thing       player\r\nflex        delay=0.5\r\nvector      dir\r\nint         damage\r\n\r\nend\r\n\r\ncode\r\n\r\n");
  const QString handler = QStringLiteral(
      "activated:\r\n    SetThingFlags(victim, 0x400);   // keep hidden\r\n"
      "    if(GetThingHealth(player) < 50) { Sleep(delay); }\r\n"
      "    damage = RandVec() * 12.5 + VectorScale(dir, 3.0);\r\n"
      "    Print(\"victim hit\");\r\n    return;\r\n\r\n");
  s.reserve(bytes + handler.size());
  while (s.size() + handler.size() < bytes) s += handler;
  return s + QStringLiteral("end\r\n");
}

}  // namespace bench
