// The main of the GUI tests: a QApplication around GoogleTest. Without a
// display the tests run on Qt's offscreen platform; XDG_RUNTIME_DIR gets a
// private folder when it is not set, as Qt expects; Qt's own settings (the
// file dialog's history) go to a folder of the run, not the user's.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "gui/ui/screen.h"

namespace {

void PrepareEnvironment() {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    QString folder = QDir::temp().filePath(QStringLiteral("tarn-gui-tests-%1").arg(getuid()));
    QDir().mkpath(folder);
    chmod(folder.toLocal8Bit().constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", folder.toLocal8Bit());
  }
}

}  // namespace

int main(int argc, char** argv) {
  PrepareEnvironment();
  QTemporaryDir config;
  if (config.isValid()) qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarn"));
  tarn::gui::ApplyProgramFont();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
