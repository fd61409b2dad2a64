#include "common/authorheader.h"

#include "common/ansicodec.h"
#include "common/prefs.h"
#include "common/text.h"
#include "common/tarvex.h"

namespace tarvex {

Author Author::FromSettings() { return {prefs::AuthName.Get(), prefs::AuthEMail.Get(), prefs::AuthWebsite.Get()}; }

QString Author::Refusal(const QString& fileName) const {
  const struct {
    const QString& value;
    const char* key;
  } fields[] = {{name, "Name"}, {email, "EMail"}, {website, "Website"}};
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
    if (!what.isEmpty())
      return QStringLiteral("The author setting \"%1\" (Pendrel/AuthInfo) holds %2, which the header of %3 cannot "
                            "store. Change the setting and save again; nothing was written.")
          .arg(QLatin1String(f.key), what, fileName);
  }
  return QString();
}

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

void HeaderedTable::SetComments(const QString& text) {
  if (comments_ == text) return;
  comments_ = text;
  modified_ = true;
}

}  // namespace tarvex
