#pragma once
// Files of the game and of the tool set are bytes in the Windows-1252 code page.
// This codec maps every byte 0x00-0xFF to exactly one character and back, so any file
// survives a load and a save byte for byte.
#include <QByteArray>
#include <QString>

namespace tarvex {

namespace ansi {
// 0x80-0x9F. The five bytes the code page leaves undefined keep their C1 control character.
inline constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace ansi

// The character of one byte.
inline char16_t DecodeAnsiByte(unsigned char b) { return b >= 0x80 && b < 0xA0 ? ansi::kHigh[b - 0x80] : char16_t(b); }

QString DecodeAnsi(const QByteArray& bytes);

// Encodes text; a character the code page cannot hold is written as '?' and, for the first
// such character, its 0-based index is stored in *firstBad (left at -1 when all fit).
QByteArray EncodeAnsi(const QString& text, qsizetype* firstBad = nullptr);

// 0-based index of the first character that Windows-1252 cannot store, or -1.
qsizetype FirstUnencodable(const QString& text);

// Names the first character of text the code page cannot store, with its code point and
// line ("'Ω' (U+03A9) on line 3", without the line when withLine is false); empty when every
// character fits.
QString DescribeUnencodable(const QString& text, bool withLine = true);

}  // namespace tarvex
