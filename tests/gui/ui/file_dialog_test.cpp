// The "|"-separated filter strings and the save dialog's preset name and
// overwrite question (the open dialog is driven by the program's tests).

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

#include "gui/ui/file_dialog.h"
#include "support/gui_test.h"

namespace tarn::gui {
namespace {

using Patterns = std::vector<std::string>;

TEST(FileFilterTest, ReadsThePairsAndOffersBothCases) {
  std::vector<FileFilter> filters =
      ParseFilterString("Tarn (*.trn)|*.trn| Calvor Data(*.CLD)|*.CLD|All Files (*.*)|*.*|");
  ASSERT_EQ(filters.size(), 3u);
  EXPECT_EQ(filters[0].label, "Tarn");
  EXPECT_EQ(filters[0].patterns, (Patterns{"*.trn", "*.TRN"}));
  EXPECT_EQ(filters[1].label, "Calvor Data");
  EXPECT_EQ(filters[2].patterns, Patterns{"*"});
  EXPECT_EQ(QtNameFilters(filters), (QStringList{"Tarn (*.trn *.TRN)", "Calvor Data (*.CLD *.cld)", "All Files (*)"}));
  EXPECT_EQ(QtNameFilters(ParseFilterString("Calvor Data(*.CLD)|*.CLD||")), QStringList{"Calvor Data (*.CLD *.cld)"});
  filters = ParseFilterString("Data|*.dat;*.Txt|No pattern|");
  ASSERT_EQ(filters.size(), 2u);
  EXPECT_EQ(filters[0].patterns, (Patterns{"*.dat", "*.DAT", "*.Txt", "*.txt", "*.TXT"}));
  EXPECT_EQ(filters[1].patterns, Patterns{"*"});
  EXPECT_TRUE(ParseFilterString("").empty());
  EXPECT_TRUE(ParseFilterString("|").empty());
}

TEST(SaveFileDialogTest, PresetsTheNameAndConfirmsOverwriting) {
  QTemporaryDir dir;
  const QString existing = dir.filePath("zn.CLD");
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  QString preset;
  test::AnswerWindow<QFileDialog>([&](QFileDialog& dialog) {
    preset = dialog.selectedFiles().value(0);
    test::ChooseFile(dialog, dir.filePath("new.CLD"));
  });
  const char* filter = "Calvor Data(*.CLD)|*.CLD||";
  EXPECT_EQ(SaveFileDialog("Save Tarn file as", filter, existing.toStdString()), dir.filePath("new.CLD").toStdString());
  EXPECT_EQ(preset, existing);

  // Choosing the existing file asks first: No keeps the dialog open, Yes takes the file.
  std::shared_ptr<test::ModalSeen> no, yes;
  test::AnswerWindow<QFileDialog>([&](QFileDialog& dialog) {
    no = test::AnswerMessageBox(QMessageBox::No, {}, &dialog);
    test::ChooseFile(dialog, existing);
    EXPECT_TRUE(dialog.isVisible());
    yes = test::AnswerMessageBox(QMessageBox::Yes, {}, &dialog);
    test::ChooseFile(dialog, existing);
  });
  EXPECT_EQ(SaveFileDialog("Save Tarn file as", filter, existing.toStdString()), existing.toStdString());
  EXPECT_TRUE(no->text.contains("zn.CLD"));
  EXPECT_TRUE(yes->seen);
}

}  // namespace
}  // namespace tarn::gui
