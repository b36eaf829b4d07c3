#include "core/app/project_open.h"

#include <utility>

#include "core/model/number_text.h"
#include "core/model/old_format.h"

namespace tarn {

namespace {

// Reads text with reader over a copy of the open project named path; the
// open project takes the copy only when the read succeeds.
template <typename Reader>
ReadStatus ReadOver(ProjectState& state, const std::string& path, std::string_view text, MessageSink& sink,
                    Reader reader) {
  ProjectState read = state;
  read.currentFile = path;
  ReadStatus status = reader(read, text, sink);
  if (status == ReadStatus::kOk) state = std::move(read);
  return status;
}

OpenStatus StatusOf(ReadStatus read) {
  if (read == ReadStatus::kUnreadable) return OpenStatus::kUnreadable;
  return read == ReadStatus::kRefused ? OpenStatus::kRefused : OpenStatus::kOpened;
}

}  // namespace

FileKind KindOfFile(std::string_view path) {
  std::string last = Upper(path.substr(path.size() < 3 ? 0 : path.size() - 3));
  if (last == "CLD") return FileKind::kProject;
  if (last == "TRN") return FileKind::kOldFormat;
  return FileKind::kOther;
}

std::string ReStoredPath(std::string_view path) {
  return std::string(path.substr(0, path.size() < 3 ? 0 : path.size() - 3)) + "CLD";
}

std::string ReStoredMessage(std::string_view path) {
  return "The data will be re-stored in the file " + std::string(path) + "\r\r" + "Use Save or Save As before exiting";
}

OpenOutcome OpenProject(ProjectState& state, std::string_view path, MessageSink& sink) {
  OpenOutcome outcome;
  outcome.path = Unquoted(path);
  outcome.kind = KindOfFile(outcome.path);
  if (outcome.kind == FileKind::kOldFormat) {
    outcome.status = StatusOf(OpenTrn(state, outcome.path, sink));
    if (outcome.status == OpenStatus::kOpened) {
      outcome.status = OpenStatus::kReStored;
      state.currentFile = ReStoredPath(outcome.path);
      state.modified = true;  // not in the project file yet
    }
    return outcome;
  }
  std::string text;
  if (outcome.kind != FileKind::kProject || !ReadTextFile(outcome.path, text)) return outcome;
  if (KindOfProjectText(text) == ProjectTextKind::kModelOnly) {
    outcome.status = OpenStatus::kModelOnly;
    outcome.text = std::move(text);
    return outcome;
  }
  outcome.status = StatusOf(ReadOver(state, outcome.path, text, sink, ReadProjectText));
  return outcome;
}

void ImportStart(ProjectState& state) {
  state.type = kDistribution;
  state.nsolids = 0;
  state.nsingle = 0;
}

ReadStatus OpenModelOnly(ProjectState& state, const OpenOutcome& outcome, MessageSink& sink) {
  ProjectState start = state;
  ImportStart(start);
  ReadStatus status = ReadOver(start, outcome.path, outcome.text, sink, ReadProjectText);
  if (status == ReadStatus::kOk) state = std::move(start);
  return status;
}

void SavedAs(ProjectState& state, std::string_view path) {
  state.currentFile = std::string(path);
}

}  // namespace tarn
