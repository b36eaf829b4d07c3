#include "support/gui/gui_test.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>
#include <cmath>

#include "core/engine/new_concentrations.h"
#include "gui/ui/grid.h"
#include "core/model/message_sink.h"
#include "core/model/project_file.h"

namespace tarn::gui::test {

void AnswerModal(std::function<void(QWidget*)> answer, QWidget* notThis) {
  auto* timer = new QTimer(qApp);
  auto polls = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, polls, notThis, answer = std::move(answer)] {
    QWidget* modal = QApplication::activeModalWidget();
    const bool found = modal != nullptr && modal != notThis && modal->isVisible();
    if (!found && ++*polls <= 1000) return;  // 10 s at 10 ms
    timer->stop();
    timer->deleteLater();
    if (found)
      answer(modal);
    else
      ADD_FAILURE() << "no modal dialog appeared";
  });
  timer->start(10);
}

std::shared_ptr<ModalSeen> AnswerMessageBox(QMessageBox::StandardButton button, std::function<void()> then,
                                            QWidget* notThis) {
  auto seen = std::make_shared<ModalSeen>();
  AnswerWindow<QMessageBox>(
      [seen, button, then](QMessageBox& box) {
        *seen = {true, box.windowTitle(), box.text(), box.icon()};
        if (then) then();
        if (button == QMessageBox::NoButton) return box.reject();  // Esc or the close button
        ASSERT_NE(box.button(button), nullptr) << "the message box has no such button";
        box.button(button)->click();
      },
      notThis);
  return seen;
}

std::shared_ptr<ModalSeen> AnswerInputBox(std::optional<QString> text) {
  auto seen = std::make_shared<ModalSeen>();
  AnswerWindow<QInputDialog>([seen, text](QInputDialog& dialog) {
    *seen = {true, dialog.windowTitle(), dialog.labelText()};
    if (!text) return dialog.reject();
    dialog.setTextValue(*text);
    dialog.accept();
  });
  return seen;
}

std::shared_ptr<ModalSeen> AnswerFileDialog(std::optional<QString> path, std::function<void()> then) {
  auto seen = std::make_shared<ModalSeen>();
  AnswerWindow<QFileDialog>([seen, path, then](QFileDialog& dialog) {
    *seen = {true, dialog.windowTitle(), dialog.directory().absolutePath()};
    if (then) then();
    if (!path) return dialog.reject();
    ChooseFile(dialog, *path);
  });
  return seen;
}

void ChooseFile(QFileDialog& dialog, const QString& path) {
  dialog.selectFile(path);  // folder and list selection
  if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    name->setText(QFileInfo(path).fileName());
  static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept is protected
}

void SaveScreenshot(QWidget& widget, const QString& name) {
  widget.show();
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
  QDir().mkpath(QStringLiteral(TARN_SCREENSHOT_DIR));
  QString path = QDir(QStringLiteral(TARN_SCREENSHOT_DIR)).filePath(name + QStringLiteral(".png"));
  EXPECT_TRUE(widget.grab().save(path)) << path.toStdString();
  EXPECT_GT(QFileInfo(path).size(), 0) << path.toStdString();
}

void ExpectEveryCellWhole(const Grid& grid) {
  const QFontMetricsF metrics(grid.font());
  for (int c = 0; c < grid.Cols(); ++c)
    for (int r = 0; r < grid.Rows(); ++r)
      for (const QString& line : QString::fromStdString(grid.Text(r, c)).split(u'\r'))
        EXPECT_LE(std::ceil(metrics.horizontalAdvance(line)) + 7, grid.ColWidthPixels(c))
            << r << "," << c << " " << line.toStdString();
}

void ExpectEveryPictureWhole(const Grid& grid) {
  for (int c = 0; c < grid.Cols(); ++c)
    for (int r = 0; r < grid.Rows(); ++r) {
      const QPixmap picture = grid.CellPicture(r, c);
      if (picture.isNull()) continue;
      EXPECT_LE(picture.width() + 6, grid.ColWidthPixels(c)) << r << "," << c;
      EXPECT_LE(picture.height(), grid.RowHeightPixels(r)) << r << "," << c;
    }
}

QString SourcePath(const QString& relative) {
  return QDir(QStringLiteral(TARN_SOURCE_DIR)).filePath(relative);
}

int CalculatedSample(Session& session, const std::string& fileName, int npoints) {
  std::string text;
  RecordingSink sink;
  EXPECT_TRUE(ReadTextFile(SourcePath("samples/").toStdString() + fileName, text)) << fileName;
  EXPECT_EQ(ReadProjectText(session.project, text, sink), ReadStatus::kOk) << fileName;
  session.project.npoints = npoints;
  return CalculatePoints(session.project, session.work, session.results, sink);
}

}  // namespace tarn::gui::test
