#pragma once
// Files of the game and of the tool set are bytes in the Windows-1252 code page.
// This codec maps every byte 0x00-0xFF to exactly one character and back, so any file
// survives a load and a save byte for byte.
#include <QByteArray>
#include <QString>

namespace tarvex {

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
