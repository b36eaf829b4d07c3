#pragma once
// A small window that shows what the clipboard holds, text or picture, and
// follows every change of the clipboard.
//
//   auto* viewer = new ClipboardViewer(this);  viewer->show();

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QStackedWidget;

namespace tarn::gui {

class ClipboardViewer : public QWidget {
  Q_OBJECT

 public:
  explicit ClipboardViewer(QWidget* parent = nullptr);

  // Shows the clipboard's present content (called on every change).
  void Refresh();

  QString Description() const;  // the line above the content

 private:
  QLabel* description_;
  QStackedWidget* pages_;
  QPlainTextEdit* text_;
  QLabel* picture_;
};

}  // namespace tarn::gui
