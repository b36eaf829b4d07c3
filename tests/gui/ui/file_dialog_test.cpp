// The "|"-separated filter strings and the save dialog's preset name and
// overwrite question (the open dialog is driven by the program's tests).

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

#include "gui/ui/file_dialog.h"
#include "support/gui/gui_test.h"

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

// A name typed without an extension takes the file type chosen in the
// dialog, and only then is it checked against the files already there.
TEST(SaveFileDialogTest, ANameWithoutExtensionTakesTheChosenType) {
  QTemporaryDir dir;
  const char* filter = "SVG drawing (*.svg)|*.svg|PDF document (*.pdf)|*.pdf|PNG picture (*.png)|*.png|";
  const QStringList names = QtNameFilters(ParseFilterString(filter));
  for (int chosen : {2, 0}) {
    test::AnswerWindow<QFileDialog>([&](QFileDialog& dialog) {
      dialog.selectNameFilter(names[chosen]);
      test::ChooseFile(dialog, dir.filePath("figure"));
    });
    std::optional<std::string> path =
        SaveFileDialog("Save plot as", filter, "plot.svg", nullptr, TypedName::kAddChosenType);
    EXPECT_EQ(path, dir.filePath(chosen == 2 ? "figure.png" : "figure.svg").toStdString());
  }
  QFile existing(dir.filePath("figure.pdf"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.close();
  std::shared_ptr<test::ModalSeen> asked;
  test::AnswerWindow<QFileDialog>([&](QFileDialog& dialog) {
    dialog.selectNameFilter(names[1]);
    asked = test::AnswerMessageBox(QMessageBox::Yes, {}, &dialog);
    test::ChooseFile(dialog, dir.filePath("figure"));
  });
  EXPECT_EQ(SaveFileDialog("Save plot as", filter, "plot.svg", nullptr, TypedName::kAddChosenType),
            dir.filePath("figure.pdf").toStdString());
  EXPECT_TRUE(asked->text.contains("figure.pdf"));
  // Without the rule the name stays as typed.
  test::AnswerWindow<QFileDialog>([&](QFileDialog& dialog) { test::ChooseFile(dialog, dir.filePath("plain")); });
  EXPECT_EQ(SaveFileDialog("Save plot as", filter, "plot.svg"), dir.filePath("plain").toStdString());
}

}  // namespace
}  // namespace tarn::gui
