// The "|"-separated filter strings and the open and save dialogs.

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>

#include "gui/ui/file_dialog.h"
#include "support/gui_test.h"

namespace tarn::gui {
namespace {

using test::AnswerFileDialog;
using test::AnswerModal;

constexpr const char* kOpenFilter = "Tarn (*.trn)|*.trn| Calvor Data(*.CLD)|*.CLD|All Files (*.*)|*.*|";
constexpr const char* kSaveFilter = "Calvor Data(*.CLD)|*.CLD||";

void Touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<model>\r\n");
}

TEST(FileFilterTest, ReadsThePairsAndOffersBothCases) {
  std::vector<FileFilter> filters = ParseFilterString(kOpenFilter);
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[0].label, "Tarn");
  EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.trn", "*.TRN"}));
  EXPECT_EQ(filters[1].label, "Calvor Data");
  EXPECT_EQ(filters[1].patterns, (std::vector<std::string>{"*.CLD", "*.cld"}));
  EXPECT_EQ(filters[2].label, "All Files");
  EXPECT_EQ(filters[2].patterns, (std::vector<std::string>{"*"}));
  EXPECT_EQ(QtNameFilters(filters), (QStringList{"Tarn (*.trn *.TRN)", "Calvor Data (*.CLD *.cld)", "All Files (*)"}));

  filters = ParseFilterString(kSaveFilter);
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(QtNameFilters(filters), QStringList{"Calvor Data (*.CLD *.cld)"});
}

TEST(FileFilterTest, SplitsPatternListsAndToleratesOddStrings) {
  std::vector<FileFilter> filters = ParseFilterString("Data|*.dat;*.Txt|No pattern|");
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].label, "Data");
  EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.dat", "*.DAT", "*.Txt", "*.txt", "*.TXT"}));
  EXPECT_EQ(filters[1].patterns, std::vector<std::string>{"*"});
  EXPECT_TRUE(ParseFilterString("").empty());
  EXPECT_TRUE(ParseFilterString("|").empty());
}

TEST(OpenFileDialogTest, ReturnsTheChosenFileOrNothingOnCancel) {
  QTemporaryDir dir;
  QString file = dir.filePath("cu-gly.CLD");
  Touch(file);
  QString title;
  QString folder;
  QStringList filters;
  AnswerModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    folder = dialog->directory().absolutePath();
    filters = dialog->nameFilters();
    test::ChooseFile(*dialog, file);
  });
  EXPECT_EQ(OpenFileDialog("Select data file", kOpenFilter, dir.path().toStdString()), file.toStdString());
  EXPECT_EQ(title, "Select data file");
  EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
  EXPECT_TRUE(filters.contains("Calvor Data (*.CLD *.cld)"));

  AnswerFileDialog(std::nullopt);
  EXPECT_EQ(OpenFileDialog("Select data file", kOpenFilter, dir.path().toStdString()), std::nullopt);
}

TEST(SaveFileDialogTest, PresetsTheNameAndConfirmsOverwriting) {
  QTemporaryDir dir;
  QString existing = dir.filePath("zn.CLD");
  Touch(existing);
  QString preset;
  AnswerModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    preset = dialog->selectedFiles().value(0);
    test::ChooseFile(*dialog, dir.filePath("new.CLD"));
  });
  EXPECT_EQ(SaveFileDialog("Save Tarn file as", kSaveFilter, existing.toStdString()),
            dir.filePath("new.CLD").toStdString());
  EXPECT_EQ(preset, existing);

  // Choosing the existing file asks first: No keeps the dialog open, Yes takes the file.
  std::vector<QString> questions;
  AnswerModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    auto answer = [&](QMessageBox::StandardButton button) {
      AnswerModal(
          [&questions, button](QWidget* box) {
            auto* question = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(question, nullptr);
            questions.push_back(question->text());
            question->button(button)->click();
          },
          dialog);
      test::ChooseFile(*dialog, existing);
    };
    answer(QMessageBox::No);
    EXPECT_TRUE(dialog->isVisible());
    answer(QMessageBox::Yes);
  });
  EXPECT_EQ(SaveFileDialog("Save Tarn file as", kSaveFilter, existing.toStdString()), existing.toStdString());
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_TRUE(questions[0].contains("zn.CLD"));
}

}  // namespace
}  // namespace tarn::gui
