#include "gui/app/about_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "core/app/program_folder.h"
#include "core/app/version.h"
#include "gui/app/help_command.h"
#include "gui/ui/text.h"

namespace tarn::gui {

AboutWindow::AboutWindow(const std::string& programFolder, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Tarn"));
  setModal(true);
  auto* name = new QLabel(QStringLiteral("Tarn"), this);
  name->setObjectName(QStringLiteral("ProgramName"));
  QFont large = name->font();
  large.setPointSize(large.pointSize() * 2);
  large.setBold(true);
  name->setFont(large);
  auto* version = new QLabel(QStringLiteral("Version %1").arg(QString::fromLatin1(ProgramVersion())), this);
  version->setObjectName(QStringLiteral("Version"));
  auto* purpose = new QLabel(
      QStringLiteral("Tarn simulates equilibria in solution: titrations and species distributions from a model of "
                     "reagents, complexes and solids, shown as speciation plots, tables of concentrations, single "
                     "data points and conditional constants."),
      this);
  purpose->setObjectName(QStringLiteral("Purpose"));
  purpose->setWordWrap(true);
  const QString folder = ToQ(HelpFolder(programFolder));
  auto* help = new QLabel(QStringLiteral("Help: press F1 in any window, or open the <a href=\"help\">help pages</a>"
                                         " (in %1).")
                              .arg(folder.toHtmlEscaped()),
                          this);
  help->setObjectName(QStringLiteral("HelpPlace"));
  help->setTextFormat(Qt::RichText);
  help->setWordWrap(true);
  connect(help, &QLabel::linkActivated, this, [programFolder] { ShowHelp(programFolder, kHelpMainPage); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  for (QWidget* w : std::initializer_list<QWidget*>{name, version, purpose, help}) layout->addWidget(w);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  setMinimumWidth(420);
}

}  // namespace tarn::gui
