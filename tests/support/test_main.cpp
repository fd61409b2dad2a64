// Entry point of every test program: a QApplication (offscreen in CI), a settings folder of
// its own, then the tests.
#include <QApplication>
#include <gtest/gtest.h>

#include "tests/support/test_env.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  tarvex::test::TempSettings settings;  // no test ever writes to the real settings folder
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
