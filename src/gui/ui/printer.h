#pragma once
// Printing lines of text: the user chooses the printer in the print dialog,
// the lines go out in a fixed-pitch font (the first installed family whose
// name contains "courier", else the system's fixed font), one line per text
// line, a new page when a page is full. A cancelled dialog prints nothing.
//
//   PrintOutcome done = PrintLines(lines, "Print single data point table", this);
//
// Tests replace the dialog with a chooser that sets up the printer itself
// (for instance QPrinter::PdfFormat and an output file) or cancels:
//   PrintLines(lines, title, this, [](QPrinter& p, const QString&, QWidget*) {
//     p.setOutputFormat(QPrinter::PdfFormat); p.setOutputFileName(path); return true; });

#include <QFont>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace tarn::gui {

// Shows the chooser for the printer; false when the user cancelled.
using PrinterChooser = std::function<bool(QPrinter& printer, const QString& title, QWidget* parent)>;

// The print dialog (QPrintDialog) with the title.
bool ChoosePrinterInDialog(QPrinter& printer, const QString& title, QWidget* parent);

// The family name of the fixed-pitch font, and the font of the given point size.
QString FixedPitchFamily();
QFont FixedPitchFont(int pointSize = 10);

struct PrintOutcome {
  bool printed = false;  // false: cancelled, or the printer could not start
  int pages = 0;
};

// Draws the lines on an already chosen printer.
PrintOutcome PrintOnPrinter(QPrinter& printer, const std::vector<std::string>& lines);

// Lets the user choose a printer, then prints the lines. A printer that
// cannot start is reported with a message.
PrintOutcome PrintLines(const std::vector<std::string>& lines, const QString& title, QWidget* parent,
                        const PrinterChooser& chooser = ChoosePrinterInDialog);

}  // namespace tarn::gui
