#include "common/authorheader.h"

#include "common/prefs.h"
#include "common/tarvex.h"

namespace tarvex {

Author Author::FromSettings() { return {prefs::AuthName.Get(), prefs::AuthEMail.Get(), prefs::AuthWebsite.Get()}; }

QStringList AuthorHeader(const QString& fileTitle, const QString& program, const QString& comments,
                         const Author& author) {
  const QString ruler = QStringLiteral("#& ") + QString(49, QLatin1Char('='));
  return {
      QStringLiteral("#& ") + fileTitle,
      QStringLiteral("#& created using Tarvex/") + program + QStringLiteral(" version ") + QLatin1String(TARVEX_VERSION),
      QStringLiteral("#&"),
      QStringLiteral("#& created by: ") + author.name,
      QStringLiteral("#& ") + author.email,
      QStringLiteral("#& ") + author.website,
      QStringLiteral("#&"),
      QStringLiteral("#& Comments & Description:"),
      QStringLiteral("#&>") + comments,
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

}  // namespace tarvex
