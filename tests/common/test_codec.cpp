#include "common/ansicodec.h"

using namespace tarvex;

// Every byte string round-trips (fuzz_codec, with a seed of all 256 bytes).
TEST(AnsiCodec, KnownCharacters) {
  struct { unsigned char byte; char16_t ch; } cases[] = {
      {0x80, u'€'}, {0xA9, u'©'}, {0xF6, u'ö'}, {0x81, 0x0081}, {0x8D, 0x008D},
      {0x8F, 0x008F}, {0x90, 0x0090}, {0x9D, 0x009D}, {0x9F, u'Ÿ'}, {0x85, u'…'}, {0x00, 0}};
  for (auto c : cases) {
    EXPECT_EQ(DecodeAnsi(QByteArray(1, char(c.byte)))[0].unicode(), c.ch) << int(c.byte);
    EXPECT_EQ(EncodeAnsi(QString(QChar(c.ch))), QByteArray(1, char(c.byte))) << int(c.byte);
  }
}

TEST(AnsiCodec, CharactersOutsideTheCodePageAreReported) {
  const QString text = QStringLiteral("ab\u03A9c\u4E2D");
  qsizetype bad = 0;
  EXPECT_EQ(EncodeAnsi(text, &bad), QByteArray("ab?c?"));
  EXPECT_EQ(bad, 2);
  EXPECT_EQ(FirstUnencodable(text), 2);
  // A C1 control that the code page replaces with a printable character is not storable.
  EXPECT_EQ(FirstUnencodable(QString(QChar(0x0080))), 0);
}
