#include "common/settings.h"

#include "common/files.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace tarvex {

QString SettingsFolder() {
  const QString over = qEnvironmentVariable("TARVEX_CONFIG_DIR");
  if (!over.isEmpty()) return QDir::cleanPath(over);
#ifdef Q_OS_WIN
  QString base = qEnvironmentVariable("APPDATA");
  if (base.isEmpty()) base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#else
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
  return QDir::cleanPath(base + QStringLiteral("/tarvex"));
}

QString SettingsFile(const QString& app) { return SettingsFolder() + QLatin1Char('/') + app + QStringLiteral(".ini"); }

namespace {

QString GroupKey(const QString& section, const QString& key) { return section + QLatin1Char('/') + key; }

// A settings file QSettings may open: a file or nothing yet. A pipe in its place would have the
// read wait for a writer for ever.
bool Openable(const QString& file) { return NotAFileReason(file).isEmpty(); }

QString Fault(const QString& file, const QString& reason) {
  return QStringLiteral("Cannot save the settings to \"%1\": %2").arg(QDir::toNativeSeparators(file), reason);
}

// The text after "key=" in the file's [section], as it stands (blanks around it dropped, as
// QSettings drops them); fallback when the line is not found.
QString RawValue(const QString& file, const QString& section, const QString& key, const QString& fallback) {
  QByteArray bytes;
  if (!ReadWholeFile(file, &bytes)) return fallback;
  const QString header = QLatin1Char('[') + section + QLatin1Char(']');
  bool inSection = false;
  for (const QString& raw : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
    const QString line = raw.trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      inSection = line == header;
    } else if (inSection) {
      const qsizetype eq = line.indexOf(QLatin1Char('='));
      if (eq > 0 && line.left(eq).trimmed() == key) return line.mid(eq + 1).trimmed();
    }
  }
  return fallback;
}

// Values are written as text; QSettings quotes a text that holds commas, so it reads back
// whole. A value written by hand without quotes comes back as a list, with the blanks around
// its commas lost: that value is read from its line in the file instead.
QString FromStored(const QVariant& v, const QString& file, const QString& section, const QString& key) {
  if (v.typeId() == QMetaType::QByteArray) return QString::fromUtf8(v.toByteArray());
  if (v.typeId() == QMetaType::QStringList)
    return RawValue(file, section, key, v.toStringList().join(QLatin1Char(',')));
  return v.toString();
}

}  // namespace

QString GetSetting(const QString& app, const QString& section, const QString& key, const QString& def) {
  const QString file = SettingsFile(app);
  if (!Openable(file)) return def;
  QSettings s(file, QSettings::IniFormat);
  const QVariant v = s.value(GroupKey(section, key));
  if (!v.isValid()) return def;
  return FromStored(v, file, section, key);
}

bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value,
                 QString* fault) {
  QDir().mkpath(SettingsFolder());
  const QString file = SettingsFile(app);
  if (!Openable(file)) {
    if (fault && fault->isEmpty()) *fault = Fault(file, NotAFileReason(file));
    return false;
  }
  QSettings s(file, QSettings::IniFormat);
  s.setValue(GroupKey(section, key), value);
  s.sync();
  if (s.status() == QSettings::NoError) return true;
  if (fault && fault->isEmpty()) {
    // QSettings tells only that it failed; the reason is found by trying a write of the size
    // the file would have had (its values as text, with room for the lines around them).
    qint64 size = 0;
    for (const QString& k : s.allKeys()) size += k.size() + s.value(k).toString().toUtf8().size() + 8;
    // A folder that could not be made is judged where it would have been made.
    QString target = file;
    for (QFileInfo up(QFileInfo(target).absolutePath()); !up.isDir() && up.filePath() != target;
         up = QFileInfo(up.absolutePath()))
      target = up.filePath();
    QString reason = WriteFaultReason(target, size);
    if (reason.isEmpty()) reason = QStringLiteral("The file could not be written.");
    *fault = Fault(file, reason);
  }
  return false;
}

bool SettingToBool(const QString& stored, bool def) {
  const QString t = stored.trimmed();
  if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return true;
  if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return false;
  bool ok = false;
  const double n = t.toDouble(&ok);
  return ok ? n != 0 : def;
}

int SettingToInt(const QString& stored, int def) {
  bool ok = false;
  const int n = stored.trimmed().toInt(&ok);
  return ok ? n : def;
}

bool SettingExists(const QString& app, const QString& section, const QString& key) {
  if (!Openable(SettingsFile(app))) return false;
  QSettings s(SettingsFile(app), QSettings::IniFormat);
  return s.contains(GroupKey(section, key));
}

}  // namespace tarvex
