#include "gui/ui/printer.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "gui/ui/message_box.h"
#include "gui/ui/text.h"

namespace tarn::gui {

namespace {

constexpr const char* kPrinterFailed = "The printer could not be started";

}  // namespace

bool ChoosePrinterInDialog(QPrinter& printer, const QString& title, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(title);
  return dialog.exec() == QDialog::Accepted;
}

QString FixedPitchFamily() {
  for (const QString& family : QFontDatabase::families())
    if (family.toLower().contains(QStringLiteral("courier"))) return family;
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QFont FixedPitchFont(int pointSize) {
  QFont font(FixedPitchFamily(), pointSize);
  font.setFixedPitch(true);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

PrintOutcome PrintOnPrinter(QPrinter& printer, const std::vector<std::string>& lines) {
  QPainter painter;
  if (!painter.begin(&printer)) return {};
  painter.setFont(FixedPitchFont());
  const QFontMetrics metrics(painter.font(), &printer);
  const int lineHeight = metrics.lineSpacing();
  const int pageHeight = painter.viewport().height();
  PrintOutcome outcome{true, 1};
  int y = metrics.ascent();
  for (const std::string& line : lines) {
    if (y + metrics.descent() > pageHeight && y > metrics.ascent()) {
      printer.newPage();
      ++outcome.pages;
      y = metrics.ascent();
    }
    painter.drawText(0, y, ToQ(line));
    y += lineHeight;
  }
  painter.end();
  return outcome;
}

PrintOutcome PrintLines(const std::vector<std::string>& lines, const QString& title, QWidget* parent,
                        const PrinterChooser& chooser) {
  QPrinter printer;
  if (!chooser(printer, title, parent)) return {};
  PrintOutcome outcome = PrintOnPrinter(printer, lines);
  if (!outcome.printed) ShowMessage(kPrinterFailed, kAppTitle, parent);
  return outcome;
}

}  // namespace tarn::gui
