#include "common/authorheader.h"

#include "common/ansicodec.h"
#include "common/prefs.h"
#include "common/text.h"
#include "common/tarvex.h"

namespace tarvex {

Author Author::FromSettings() { return {prefs::AuthName.Get(), prefs::AuthEMail.Get(), prefs::AuthWebsite.Get()}; }

namespace {

// The header lines that carry the author's fields and the comments, without their text.
const QString kNamePrefix = QStringLiteral("#& created by: ");
const QString kFieldPrefix = QStringLiteral("#& ");
const QString kCommentsPrefix = QStringLiteral("#&>");

QString TooLong(qsizetype lineBytes, int longestLine) {
  return QStringLiteral("a header line of %1 bytes, longer than the %2 bytes the game reads of a line (it would read "
                        "the rest as a line of its own)")
      .arg(lineBytes)
      .arg(longestLine);
}

}  // namespace

QString Author::Refusal(const QString& fileName, int longestLine) const {
  const struct {
    const QString& value;
    const char* key;
    const QString& prefix;
  } fields[] = {{name, "Name", kNamePrefix}, {email, "EMail", kFieldPrefix}, {website, "Website", kFieldPrefix}};
  for (const auto& f : fields) {
    QString what;
    for (const QChar c : f.value) {
      if (IsLineBreak(c)) what = QStringLiteral("a line break");
      else if (c == QLatin1Char('"')) what = QStringLiteral("a double quote");
      if (!what.isEmpty()) break;
    }
    if (what.isEmpty()) {
      what = DescribeUnencodable(f.value, false);
      if (!what.isEmpty()) what = QStringLiteral("the character ") + what;
    }
    if (what.isEmpty() && f.prefix.size() + f.value.size() > longestLine)
      return QStringLiteral("The author setting \"%1\" (Pendrel/AuthInfo) is %2 characters long, which makes %3 in "
                            "%4. Shorten the setting and save again; nothing was written.")
          .arg(QLatin1String(f.key))
          .arg(f.value.size())
          .arg(TooLong(f.prefix.size() + f.value.size(), longestLine), fileName);
    if (!what.isEmpty())
      return QStringLiteral("The author setting \"%1\" (Pendrel/AuthInfo) holds %2, which the header of %3 cannot "
                            "store. Change the setting and save again; nothing was written.")
          .arg(QLatin1String(f.key), what, fileName);
  }
  return QString();
}

QString CommentsRefusal(const QString& comments, const QString& fileName, int longestLine,
                        const QString& consequence) {
  for (const QChar c : comments)
    if (IsLineBreak(c))
      return QStringLiteral("The comments & description cannot hold a line break: they are written on one line of "
                            "%1. %2")
          .arg(fileName, consequence);
  const QString bad = DescribeUnencodable(comments, false);
  if (!bad.isEmpty())
    return QStringLiteral("The comments & description hold the character %1, which %2 (Windows-1252) cannot store. %3")
        .arg(bad, fileName, consequence);
  const qsizetype bytes = kCommentsPrefix.size() + comments.size();
  if (bytes > longestLine)
    return QStringLiteral("The comments & description are %1 characters long, which makes %2 in %3. %4")
        .arg(comments.size())
        .arg(TooLong(bytes, longestLine), fileName, consequence);
  return QString();
}

QString HeaderRefusal(const Author& author, const QString& comments, const QString& fileName, int longestLine) {
  const QString refusal = author.Refusal(fileName, longestLine);
  if (!refusal.isEmpty()) return refusal;
  return CommentsRefusal(comments, fileName, longestLine,
                         QStringLiteral("Shorten them and save again; nothing was written."));
}

QStringList AuthorHeader(const QString& fileTitle, const QString& program, const QString& comments,
                         const Author& author) {
  const QString ruler = QStringLiteral("#& ") + QString(49, QLatin1Char('='));
  return {
      QStringLiteral("#& ") + fileTitle,
      QStringLiteral("#& created using Tarvex/") + program + QStringLiteral(" version ") + QLatin1String(TARVEX_VERSION),
      QStringLiteral("#&"),
      kNamePrefix + author.name,
      kFieldPrefix + author.email,
      kFieldPrefix + author.website,
      QStringLiteral("#&"),
      QStringLiteral("#& Comments & Description:"),
      kCommentsPrefix + comments,
      QStringLiteral("#&"),
      ruler,
      QStringLiteral("#& ") + program + QStringLiteral(" by Dessel"),
      QStringLiteral("#& ") + QLatin1String(kEmail),
      QStringLiteral("#& ") + QLatin1String(kWebsite),
      ruler,
  };
}

HeaderLine ReadHeaderLine(QStringView line) {
  HeaderLine out;
  if (!line.startsWith(QLatin1String("#&"))) return out;
  out.header = true;
  out.comments = line.startsWith(QLatin1String("#&>"));
  out.text = line.mid(out.comments ? 3 : 2).toString();
  return out;
}

void HeaderedTable::SetComments(const QString& text) {
  if (comments_ == text) return;
  comments_ = text;
  modified_ = true;
}

}  // namespace tarvex
