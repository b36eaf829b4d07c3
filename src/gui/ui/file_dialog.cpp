#include "gui/ui/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "gui/ui/text.h"
#include "core/model/number_text.h"

namespace tarn::gui {

namespace {

std::vector<std::string> SplitOn(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == separator) {
      parts.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

// "Tarn (*.trn)" -> "Tarn"; a description without a trailing "(...)" stays.
std::string LabelOf(std::string_view description) {
  std::string_view label = Trim(description);
  if (!label.empty() && label.back() == ')') {
    std::size_t open = label.rfind('(');
    if (open != std::string_view::npos) label = Trim(label.substr(0, open));
  }
  return std::string(label);
}

void AddUnique(std::vector<std::string>& patterns, const std::string& pattern) {
  for (const std::string& p : patterns)
    if (p == pattern) return;
  patterns.push_back(pattern);
}

std::vector<std::string> PatternsOf(std::string_view field) {
  std::vector<std::string> patterns;
  for (const std::string& part : SplitOn(field, ';')) {
    std::string pattern(Trim(part));
    if (pattern.empty()) continue;
    if (pattern == "*.*") pattern = "*";
    AddUnique(patterns, pattern);
    QString q = ToQ(pattern);
    AddUnique(patterns, FromQ(q.toLower()));
    AddUnique(patterns, FromQ(q.toUpper()));
  }
  return patterns;
}

void Prepare(QFileDialog& dialog, const std::string& title, std::string_view filter) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setWindowTitle(ToQ(title));
  QStringList names = QtNameFilters(ParseFilterString(filter));
  if (!names.isEmpty()) dialog.setNameFilters(names);
}

// A save dialog that can give a name typed without an extension the one of
// the file type chosen when the user accepts, before it looks for an
// existing file of that name (so the overwrite question names the right file).
class SaveDialog : public QFileDialog {
 public:
  explicit SaveDialog(QWidget* parent) : QFileDialog(parent) {}
  void AddChosenType(std::vector<FileFilter> filters) { filters_ = std::move(filters); }

 protected:
  void accept() override {
    int chosen = static_cast<int>(QtNameFilters(filters_).indexOf(selectedNameFilter()));
    if (chosen >= 0) setDefaultSuffix(ExtensionOf(filters_[static_cast<std::size_t>(chosen)]));
    QFileDialog::accept();
  }

 private:
  std::vector<FileFilter> filters_;
};

std::optional<std::string> Run(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return FromQ(files.front());
}

}  // namespace

std::vector<FileFilter> ParseFilterString(std::string_view filter) {
  std::vector<std::string> fields = SplitOn(filter, '|');
  std::vector<FileFilter> filters;
  for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
    if (Trim(fields[i]).empty() && Trim(fields[i + 1]).empty()) continue;
    FileFilter f{LabelOf(fields[i]), PatternsOf(fields[i + 1])};
    if (f.patterns.empty()) f.patterns.push_back("*");
    filters.push_back(std::move(f));
  }
  return filters;
}

QStringList QtNameFilters(const std::vector<FileFilter>& filters) {
  QStringList names;
  for (const FileFilter& f : filters) {
    QStringList patterns;
    for (const std::string& p : f.patterns) patterns << ToQ(p);
    QString joined = patterns.join(u' ');
    names << (f.label.empty() ? joined : ToQ(f.label) + QStringLiteral(" (") + joined + u')');
  }
  return names;
}

std::optional<std::string> OpenFileDialog(const std::string& title, std::string_view filter,
                                          const std::string& startFolder, QWidget* parent) {
  QFileDialog dialog(parent);
  Prepare(dialog, title, filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (!startFolder.empty()) dialog.setDirectory(ToQ(startFolder));
  return Run(dialog);
}

QString ExtensionOf(const FileFilter& filter) {
  if (filter.patterns.empty()) return {};
  QString pattern = ToQ(filter.patterns.front());
  return pattern.startsWith(QStringLiteral("*.")) ? pattern.mid(2) : QString();
}

std::optional<std::string> SaveFileDialog(const std::string& title, std::string_view filter,
                                          const std::string& presetFile, QWidget* parent, TypedName typed) {
  SaveDialog dialog(parent);
  Prepare(dialog, title, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (typed == TypedName::kAddChosenType) dialog.AddChosenType(ParseFilterString(filter));
  if (!presetFile.empty()) {
    QFileInfo preset(ToQ(presetFile));
    if (presetFile.find('/') != std::string::npos) dialog.setDirectory(preset.absolutePath());
    dialog.selectFile(preset.fileName());
  }
  return Run(dialog);
}

}  // namespace tarn::gui
