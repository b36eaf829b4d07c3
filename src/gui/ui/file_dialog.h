#pragma once
// Open and save file dialogs that take the program's "|"-separated filter
// strings as written ("Tarn (*.trn)|*.trn|All Files (*.*)|*.*|"): pairs of a
// description and a pattern list (";"-separated), empty fields at the end
// ignored. Each extension is offered in both cases ("*.CLD *.cld") and "*.*"
// matches every file.
//
// The dialogs are Qt's own (non-native) QFileDialog run with exec(), so a test
// answers them through QApplication::activeModalWidget():
//   auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
//   d->selectFile(path); d->accept();      // or d->reject() to cancel
//
//   auto path = OpenFileDialog("Select data file", kFilter, readdir);
//   if (path) ...   // nullopt when the user cancels

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QStringList>

class QWidget;

namespace tarn::gui {

struct FileFilter {
  std::string label;                  // the description without its "(...)" part
  std::vector<std::string> patterns;  // "*.trn", "*.TRN", "*"
};

std::vector<FileFilter> ParseFilterString(std::string_view filter);

// Qt's name filters: "Tarn (*.trn *.TRN)".
QStringList QtNameFilters(const std::vector<FileFilter>& filters);

// startFolder may be empty (the current folder).
std::optional<std::string> OpenFileDialog(const std::string& title, std::string_view filter,
                                          const std::string& startFolder, QWidget* parent = nullptr);

// What a save dialog does with a name typed without an extension.
enum class TypedName {
  kAsTyped,        // returned as typed
  kAddChosenType,  // gets the extension of the file type chosen in the dialog
};

// presetFile is the file name shown at first, with or without its folder. An
// existing file is replaced only after the user confirms it (with the
// extension added, when one is).
std::optional<std::string> SaveFileDialog(const std::string& title, std::string_view filter,
                                          const std::string& presetFile, QWidget* parent = nullptr,
                                          TypedName typed = TypedName::kAsTyped);

// The extension of a filter's first pattern ("*.svg" gives "svg"); empty for "*".
QString ExtensionOf(const FileFilter& filter);

}  // namespace tarn::gui
