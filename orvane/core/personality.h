#pragma once
// The multiplayer personalities of MotS, misc\per\*.per: a "version 2" line, then one
// "param N: value" line per parameter. The game stops reading at the first line that does
// not match, so the reader notes every such line and the writer writes only lines it reads.
#include <QString>
#include <QStringList>
#include <map>

namespace orvane {

inline constexpr int kMaxParam = 255;

struct PersonalityText {
  std::map<int, QString> params;  // parameter number -> value as written
  QStringList notes;              // "Line 4: ...": lines at which the game stops reading
};

PersonalityText ReadPersonality(const QString& text);

// "version 2", then the parameters in ascending number, lines ending in CR LF.
QString PersonalityFileText(const std::map<int, QString>& params);

// Why the game could not read the parameter number or value; empty when it can.
QString ParamProblem(int number);
QString ValueProblem(const QString& value);

// The five personality files, in the order their display names are numbered
// (GUI_PERSONALITY1 ...).
const QStringList& PersonalityFiles();

}  // namespace orvane
