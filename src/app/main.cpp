// The desktop program: finds and prepares the program folder, loads the main
// window with the command line and hands over to its first activation.

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <string>
#include <vector>

#include "core/app/command_line.h"
#include "gui/app/main_window.h"
#include "gui/app/program_start.h"
#include "gui/ui/message_box.h"
#include "gui/ui/screen.h"
#include "gui/ui/text.h"
#include "core/model/number_text.h"

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
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarn"));
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
