#pragma once
// The per-user settings store: text values addressed by application, section and key.
// One INI file per application name in the tool set's configuration folder.
#include <QString>

namespace tarvex {

// Folder that holds the settings files: $TARVEX_CONFIG_DIR when set, else the user's
// configuration folder followed by "tarvex" (roaming application data on Windows).
QString SettingsFolder();

// Full path of the settings file of one application ("Scrivane" -> .../Scrivane.ini).
QString SettingsFile(const QString& app);

// Value stored under app/section/key, or def when the key is absent.
QString GetSetting(const QString& app, const QString& section, const QString& key, const QString& def = QString());

// True when app/section/key holds a value, even an empty one.
bool SettingExists(const QString& app, const QString& section, const QString& key);

// Stores the value; it has reached the disk when this returns. False when it could not be
// written; then, when *fault is still empty, it receives the sentence that tells the user
// which file could not be written and why.
bool SaveSetting(const QString& app, const QString& section, const QString& key, const QString& value,
                 QString* fault = nullptr);

// Conversions of the stored text forms. A text that does not convert gives def.
bool SettingToBool(const QString& stored, bool def);
int SettingToInt(const QString& stored, int def);
inline QString BoolSetting(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace tarvex
