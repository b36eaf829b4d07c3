#include "gui/app/help_window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <array>

#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

struct HelpPage {
  const char* name;  // as the help commands name it
  const char* file;
};

constexpr std::array<HelpPage, 7> kHelpPages{{
    {kHelpMainPage, "index.html"},
    {"Adjust_Model", "adjust_model.html"},
    {"Tarn plots", "tarn_plots.html"},
    {"Table of concentrations", "table_of_concentrations.html"},
    {"Single_Data_Points", "single_data_points.html"},
    {"Conditional constants", "conditional_constants.html"},
    {"NewModel", "new_model.html"},
}};

QString MissingPageHtml(const QString& path) {
  return QStringLiteral(
             "<h2>Help page not found</h2><p>The help page <tt>%1</tt> is not there. The help pages belong "
             "in the folder <tt>help</tt> of the program folder.</p>")
      .arg(path.toHtmlEscaped());
}

}  // namespace

std::string HelpFileOf(const std::string& pageName) {
  for (const HelpPage& page : kHelpPages)
    if (pageName == page.name) return page.file;
  return kHelpPages.front().file;
}

HelpWindow::HelpWindow(const QString& helpFolder, QWidget* parent)
    : QWidget(parent, Qt::Window), folder_(helpFolder), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Tarn Help"));
  constexpr int kReadingPointSize = 10;  // pages are read, not laid out in twips
  QFont reading = browser_->font();
  reading.setPointSize(kReadingPointSize);
  browser_->setFont(reading);
  browser_->document()->setDocumentMargin(12);
  browser_->setOpenExternalLinks(true);
  auto* tools = new QToolBar(this);
  tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  back_ = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"), browser_,
                           &QTextBrowser::backward);
  forward_ = tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"), browser_,
                              &QTextBrowser::forward);
  home_ = tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Home"), this,
                           [this] { ShowPage(kHelpMainPage); });
  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(tools);
  layout->addWidget(browser_);
  resize(760, 560);
}

void HelpWindow::ShowPage(const std::string& pageName) {
  Open(HelpFileOf(pageName));
  show();
  raise();
  activateWindow();
}

void HelpWindow::Open(const std::string& fileName) {
  QString path = QDir(folder_).filePath(ToQ(fileName));
  if (QFileInfo(path).isReadable())
    browser_->setSource(QUrl::fromLocalFile(path));
  else
    browser_->setHtml(MissingPageHtml(path));
}

}  // namespace tarn::gui
