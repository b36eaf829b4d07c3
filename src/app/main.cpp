// The desktop program: finds and prepares the program folder, loads the main
// window with the command line and hands over to its first activation.
// "tarn --version" prints the version and ends.

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/app/command_line.h"
#include "core/app/version.h"
#include "core/model/number_text.h"
#include "gui/app/main_window.h"
#include "gui/app/program_start.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"

namespace {

// The decimal separator of the user's locale, for numbers shown and typed.
void UseLocaleDecimalSeparator() {
  QString point = QLocale::system().decimalPoint();
  tarn::SetDecimalSeparator(point == QStringLiteral(",") ? ',' : '.');
}

std::string CommandLineText() {
  std::vector<std::string> arguments;
  const QStringList all = QCoreApplication::arguments();
  for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(tarn::gui::FromQ(all[i]));
  return tarn::JoinArguments(arguments);
}

}  // namespace

int main(int argc, char** argv) {
  // Answered before any window system is needed, so it works on a terminal
  // without a display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", tarn::VersionLine());
    return 0;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarn"));
  QGuiApplication::setDesktopFileName(QStringLiteral("tarn"));  // the installed desktop entry
  tarn::gui::ApplyProgramFont();
  UseLocaleDecimalSeparator();

  tarn::gui::GuiMessageSink sink;
  std::optional<std::string> folder =
      tarn::gui::OpenProgramFolder(tarn::gui::FromQ(QCoreApplication::applicationDirPath()), sink);
  if (!folder) return 1;

  tarn::gui::T32Main main(*folder);
  QObject::connect(&main, &tarn::gui::T32Main::ProgramEnded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
  main.Load(CommandLineText());
  main.show();
  QTimer::singleShot(0, &main, &tarn::gui::T32Main::FirstActivation);
  return QApplication::exec();
}
