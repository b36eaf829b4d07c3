// The main window's project commands: opening a file from the start window
// or the command line (project files, old-format files and model-only files
// through the import window), new projects, save, save as, restart and the
// save prompt.

#include <QMdiArea>

#include "core/app/program_folder.h"
#include "core/app/project_open.h"
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
  GuiMessageSink sink(this);
  OpenOutcome opened = OpenProject(session_.project, path, sink);
  if (opened.status == OpenStatus::kModelOnly) return ImportModelOnly(opened);
  if (opened.status == OpenStatus::kUnreadable) ShowMessage(CantOpen(path), kAppTitle, this);
  if (!opened.Opened()) return Opened::kNo;
  const bool reStored = opened.status == OpenStatus::kReStored;
  session_.edits.Reset(!session_.project.modified);  // a re-stored file is not saved under its new name yet
  if (reStored) ShowMessage(ReStoredMessage(session_.project.currentFile), kAppTitle, this);
  RememberFile(session_.project.currentFile);
  ShowChild(kEditorWindow);
  return Opened::kYes;
}

// A project file with a model but no Tarn data: the import window asks where
// the conditions come from.
T32Main::Opened T32Main::ImportModelOnly(const OpenOutcome& opened) {
  Importing importing(ShortName(opened.path, session_.settings.shortnames), this);
  importing.exec();
  int importChoice = importing.ImportChoice();
  if (importChoice == kImportQuit) return Opened::kNo;
  GuiMessageSink sink(this);
  if (OpenModelOnly(session_.project, opened, sink) != ReadStatus::kOk) return Opened::kNo;
  if (importChoice != kImportFromTrn || GetTarndata() != kImportAdded) ApplyImportDefaults(session_.project);
  session_.edits.Reset(false);  // the imported conditions are not in the file yet
  RememberFile(session_.project.currentFile);
  ShowChild(kEditorWindow);
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
  SavedAs(session_.project, path);
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
