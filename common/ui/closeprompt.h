#pragma once
// The question a window asks before its unsaved table is dropped (on close, or before
// another file is loaded over it).
#include <QString>
#include <functional>

namespace tarvex {

// With modified false: true at once. Otherwise asks "Save changes to <fileName>?" with Yes,
// No and Cancel (the application's title, a question icon): Yes calls save and is true when
// it succeeded, No is true, Cancel is false.
bool MayDropChanges(bool modified, const QString& fileName, const std::function<bool()>& save);

}  // namespace tarvex
