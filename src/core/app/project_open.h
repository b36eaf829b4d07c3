#pragma once
// Opening a project file: the one routine of the desktop program and the
// batch tool. The kind of file goes by its extension (KindOfFile): a project
// file is read whole, an old-format file is read and re-stored as a project
// file of the same name, a file of any other extension is not read. The open
// project is replaced only when a file is read; a file that cannot be read or
// is refused leaves it exactly as it was.
//
//   OpenOutcome opened = OpenProject(state, path, sink);
//   if (opened.status == OpenStatus::kModelOnly) {   // ask where the conditions come from, then
//     OpenModelOnly(state, opened, sink);
//     ApplyImportDefaults(state);
//   }

#include <string>
#include <string_view>

#include "core/model/project_file.h"
#include "core/model/project_state.h"

namespace tarn {

class MessageSink;

// The kind of a file by its last three characters, upper-cased: "CLD" a
// project file, "TRN" an old-format file, anything else neither.
enum class FileKind { kProject, kOldFormat, kOther };
FileKind KindOfFile(std::string_view path);

// An old-format file is re-stored as a project file: its path with the last
// three characters replaced by "CLD", and the message that says so.
std::string ReStoredPath(std::string_view path);
// "The data will be re-stored in the file " + path + CR + CR + "Use Save or Save As before exiting"
std::string ReStoredMessage(std::string_view path);

// What opening a file did, and so what the caller must still do.
enum class OpenStatus {
  kOpened,      // a project file was read: the project is as its file holds it
  kReStored,    // an old-format file was read: `currentFile` is its ReStoredPath and `modified` is set;
                // the caller shows ReStoredMessage
  kModelOnly,   // a project file with a model and no Tarn data: nothing read yet; the caller chooses
                // where the conditions come from, then calls OpenModelOnly
  kUnreadable,  // the file cannot be read, or its extension is neither kind: nothing shown
  kRefused,     // the file is damaged: the reader has shown why
};

struct OpenOutcome {
  OpenStatus status = OpenStatus::kUnreadable;
  FileKind kind = FileKind::kOther;
  std::string path;  // the file read, surrounding double quotes dropped
  std::string text;  // a model-only file's text, for OpenModelOnly

  // The open project is now the file's (the model-only case needs OpenModelOnly first).
  bool Opened() const { return status == OpenStatus::kOpened || status == OpenStatus::kReStored; }
};

// Opens the file at path (a leading and trailing double quote are dropped).
OpenOutcome OpenProject(ProjectState& state, std::string_view path, MessageSink& sink);

// A model read from a model-only file starts from the open project as a
// species distribution without solids and single points.
void ImportStart(ProjectState& state);

// Reads the model-only file that OpenProject found over ImportStart of the
// open project, which is replaced only when the read succeeds. The
// conditions are then still to be supplied: GetTarndata, or
// ApplyImportDefaults (the batch tool's choice).
ReadStatus OpenModelOnly(ProjectState& state, const OpenOutcome& outcome, MessageSink& sink);

// The project was written to path: Save writes there from now on.
void SavedAs(ProjectState& state, std::string_view path);

}  // namespace tarn
