#include "common/ui/closeprompt.h"

#include "common/ui/prompts.h"

namespace tarvex {

bool MayDropChanges(bool modified, const QString& fileName, const std::function<bool()>& save) {
  if (!modified) return true;
  const MsgResult answer = prompts().MsgBox(QStringLiteral("Save changes to ") + fileName + QLatin1Char('?'),
                                            QString(), MsgButtons::YesNoCancel, MsgIcon::Question);
  if (answer == MsgResult::Cancel) return false;
  return answer == MsgResult::No || save();
}

}  // namespace tarvex
