#include "gui/app/about_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tarn::gui {

const char* ProgramVersion() {
  return TARN_VERSION;
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
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
                     "reagents, complexes and solids."),
      this);
  purpose->setWordWrap(true);
  auto* contact = new QLabel(QStringLiteral("Contact: <a href=\"%1\">%2</a>")
                                 .arg(QString::fromLatin1(kContactLink), QString::fromLatin1(kContactText)),
                             this);
  contact->setObjectName(QStringLiteral("Contact"));
  contact->setTextFormat(Qt::RichText);
  contact->setOpenExternalLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  for (QWidget* w : std::initializer_list<QWidget*>{name, version, purpose, contact}) layout->addWidget(w);
  layout->addSpacing(8);
  layout->addWidget(buttons);
  setMinimumWidth(360);
}

}  // namespace tarn::gui
