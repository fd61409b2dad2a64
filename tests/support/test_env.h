#pragma once
// Test environment shared by the test programs: a QApplication for widget tests and a
// temporary settings folder, so that no test touches the user's real settings.
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tarvex::test {

// Points TARVEX_CONFIG_DIR at a fresh temporary folder for the life of the object.
class TempSettings {
 public:
  TempSettings();
  ~TempSettings();
  QString Folder() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QByteArray old_;
  bool hadOld_ = false;
};

// Path of a file in the shared corpus and language facts folder (next to the project).
QString SharedPath(const QString& rel);

// Runs pending events (deferred deletes included).
void ProcessEvents();

}  // namespace tarvex::test
