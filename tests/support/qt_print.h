#pragma once
// Included in every test source (the build names it): GoogleTest, and the printing of Qt's
// texts in its assertion messages (lists of them print as GoogleTest prints any container).
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>

inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }
inline std::ostream& operator<<(std::ostream& os, const QByteArray& b) { return os << b.toStdString(); }
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << "QByteArray(\"" << b.toStdString() << "\")"; }
