// The main window's project commands: opening a file from the start window
// or the command line (project files, old-format files and model-only files
// through the import window), new projects, save, save as, restart and the
// save prompt.

#include <QMdiArea>

#include "core/app/command_line.h"
#include "core/app/program_folder.h"
#include "core/app/recent_files.h"
#include "gui/app/import_window.h"
#include "gui/app/main_window.h"
#include "gui/app/new_project_window.h"
#include "gui/app/start_window.h"
#include "gui/ui/file_dialog.h"
#include "gui/ui/message_box.h"
#include "gui/ui/text.h"
#include "core/model/number_text.h"
#include "core/model/old_format.h"
#include "core/model/project_file.h"

namespace tarn::gui {

namespace {

constexpr const char* kOpenTitle = "Select data file";
// Both kinds of project first, so a folder of projects shows them all.
constexpr const char* kOpenFilter =
    "Tarn projects (*.cld *.trn)|*.cld;*.trn|Tarn (*.trn)|*.trn| Calvor Data(*.CLD)|*.CLD|All Files (*.*)|*.*|";
constexpr const char* kImportTitle = "Add data from Tarn file";
constexpr const char* kImportFilter = "Tarn (*.trn)|*.trn|All Files (*.*)|*.*|";
constexpr const char* kSaveAsTitle = "Save Tarn file as";
constexpr const char* kSaveAsFilter = "Calvor Data(*.CLD)|*.CLD||";

std::string CantOpen(const std::string& path) {
  return "can't open " + path;
}

}  // namespace

void T32Main::RememberFile(const std::string& path) {
  GuiMessageSink sink(this);
  setWindowTitle(ToQ(UpdateRecent(session_.settings, path, SettingsPath(session_.programFolder), sink)));
}

bool T32Main::SaveSettings() {
  GuiMessageSink sink(this);
  return WriteSettings(session_.settings, SettingsPath(session_.programFolder), sink);
}

bool T32Main::StartAction(int choice) {
  Settings& settings = session_.settings;
  if (choice >= 1 && choice <= kRecentCount) {
    std::string path = settings.recent(choice);
    settings.readdir = FolderOf(path);
    return OpenProjectFile(path) == Opened::kYes;
  }
  if (choice == kStartOpenFile) {
    std::optional<std::string> picked = OpenFileDialog(kOpenTitle, kOpenFilter, settings.readdir, this);
    if (!picked) return false;
    std::string path(Trim(*picked));
    settings.readdir = FolderOf(path);
    return OpenProjectFile(path) == Opened::kYes;
  }
  if (choice == kStartNewProject) return NewProject();
  if (choice == kStartQuit) EndProgram();
  return true;
}

// Opens a file by its kind. A file that cannot be read or is refused (a
// damaged file) leaves the open project as it was and stays out of the
// recent list and the title.
T32Main::Opened T32Main::OpenProjectFile(const std::string& path) {
  FileKind kind = KindOfFile(path);
  if (kind == FileKind::kOldFormat) return OpenOldFormat(path);
  std::string text;
  if (kind != FileKind::kProject || !ReadTextFile(Unquoted(path), text)) {
    ShowMessage(CantOpen(path), kAppTitle, this);
    return Opened::kNo;
  }
  if (KindOfProjectText(text) == ProjectTextKind::kModelOnly) return ImportModelOnly(path, text);
  return OpenProjectText(path, text, session_.project);
}

// Reads the text over `start` (a copy of the open project, prepared by the
// caller); the open project is replaced only when the read succeeds.
T32Main::Opened T32Main::OpenProjectText(const std::string& path, const std::string& text, ProjectState start) {
  GuiMessageSink sink(this);
  start.currentFile = path;
  if (ReadProjectText(start, text, sink) != ReadStatus::kOk) return Opened::kNo;
  session_.project = std::move(start);
  session_.edits.Reset(!session_.project.modified);
  RememberFile(path);
  ShowChild(kEditorWindow);
  return Opened::kYes;
}

// An old-format file is re-stored as a project file of the same name.
T32Main::Opened T32Main::OpenOldFormat(const std::string& path) {
  ProjectState& project = session_.project;
  GuiMessageSink sink(this);
  std::string previous = project.currentFile;
  project.currentFile = path;
  ReadStatus status = OpenTrn(project, sink);
  if (status != ReadStatus::kOk) {
    project.currentFile = previous;
    if (status == ReadStatus::kUnreadable) ShowMessage(CantOpen(path), kAppTitle, this);
    return Opened::kNo;
  }
  project.currentFile = ReStoredPath(Unquoted(path));
  session_.edits.Reset(false);  // not yet saved under its new name
  ShowMessage(ReStoredMessage(project.currentFile), kAppTitle, this);
  RememberFile(project.currentFile);
  ShowChild(kEditorWindow);
  return Opened::kYes;
}

// A project file with a model but no Tarn data: the import window asks where
// the conditions come from.
T32Main::Opened T32Main::ImportModelOnly(const std::string& path, const std::string& text) {
  Importing importing(ShortName(path, session_.settings.shortnames), this);
  importing.exec();
  int importChoice = importing.ImportChoice();
  if (importChoice == kImportQuit) return Opened::kNo;
  ProjectState start = session_.project;
  start.type = kDistribution;
  start.nsolids = 0;
  start.nsingle = 0;
  if (OpenProjectText(path, text, std::move(start)) == Opened::kNo) return Opened::kNo;
  if (importChoice != kImportFromTrn || GetTarndata() != kImportAdded) ApplyImportDefaults(session_.project);
  session_.edits.Reset(false);  // the imported conditions are not in the file yet
  return Opened::kYes;
}

// The import reader: conditions and single points from an old-format file
// chosen by the user. Returns the import status.
int T32Main::GetTarndata() {
  std::optional<std::string> path = OpenFileDialog(kImportTitle, kImportFilter, session_.settings.readdir, this);
  if (!path) return kImportRefused;
  GuiMessageSink sink(this);
  return tarn::GetTarndata(session_.project, *path, sink);
}

bool T32Main::NewProject() {
  NewMod newMod(session_, this);
  newMod.exec();
  if (newMod.NewProjectChoice() != kNewProjectAccepted) return false;
  session_.edits.Reset(false);
  SaveAs_Click();
  RememberFile(session_.project.currentFile);
  ShowChild(kEditorWindow);
  return true;
}

// A project saved enters the recent list, whichever way it came (a file
// re-stored from the old format, a new project whose Save As was cancelled).
bool T32Main::FileSave_Click() {
  if (!HasProject()) return false;
  const std::string path = session_.project.currentFile;
  if (!WriteTo(path)) return false;
  RememberFile(path);
  return true;
}

// A project written is the saved state of its history.
bool T32Main::WriteTo(const std::string& path) {
  GuiMessageSink sink(this);
  if (!WriteProject(session_.project, path, sink)) return false;
  session_.edits.MarkSaved();
  return true;
}

// The chosen name gets the extension ".cld" when it has none of a project
// file, so that it opens again as one; an existing file of that name is
// replaced only after the user agrees.
bool T32Main::SaveAs_Click() {
  if (!HasProject()) return false;
  std::optional<std::string> chosen = SaveFileDialog(kSaveAsTitle, kSaveAsFilter, session_.project.currentFile, this);
  if (!chosen) return false;
  std::string path = *chosen;
  if (KindOfFile(path) != FileKind::kProject) {
    path += ".cld";
    if (FileExists(path) && !AskYesNo(path + "\r" + "already exists. Replace it?", kSaveAsTitle, this)) return false;
  }
  if (!WriteTo(path)) return false;
  session_.project.currentFile = path;
  session_.settings.writedir = FolderOf(path);
  RememberFile(path);
  return true;
}

// The save prompt, with the work saved as chosen. A save that failed or a
// Save As that was cancelled counts as Return, so no work is lost.
int T32Main::RunSavePrompt(SaverEnd end) {
  Saver saver(session_.project.currentFile, end, this);
  saver.exec();
  int choice = saver.SaveChoice();
  bool saved = true;
  if (choice == kSaveOverwrite) saved = FileSave_Click();
  if (choice == kSaveAs) saved = SaveAs_Click();
  return saved ? choice : kSaveReturn;
}

void T32Main::FileRestart_Click() {
  if (session_.project.modified && RunSavePrompt(SaverEnd::kRestart) == kSaveReturn) return;
  CloseAllWindows();
  RunStartWindow();
}

}  // namespace tarn::gui
