#pragma once
// The project file: tagged text elements, one record a line, CR LF line ends.
// The root element and the model section are shared with the fitting program;
// Tarn's own data live in the "Tarn" section.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/model/project_state.h"

namespace tarn {

class MessageSink;

// The content between the first "<tag>" and the first "</tag>" of text (the
// tag's blanks removed), not trimmed; empty when either is missing.
std::string GetElement(std::string_view tag, std::string_view text);
// "<tag>" + value trimmed + "</tag>", the tag's blanks removed.
std::string MakeElement(std::string_view tag, std::string_view value);

// The first "<tag>" and "</tag>" of every tag of a text, found in one pass, so
// that reading the many indexed elements of a large project costs no more
// than reading its text. Get(tag) gives what GetElement(tag, text) gives. The
// text must outlive the index.
class ElementIndex {
 public:
  explicit ElementIndex(std::string_view text);
  std::string Get(std::string_view tag) const;

 private:
  std::string_view text_;
  std::unordered_map<std::string_view, std::size_t> first_;  // tag or "/tag" -> position of its '<'
};

// A count read from a file: the leading number rounded, -1 when it is not a
// finite number of sensible magnitude (so that CountsFitText refuses it).
long long RoundedCount(std::string_view text);
// The calculation type a file's number stands for: 1 is the distribution,
// any other value the titration.
int CalculationType(double value);

enum class ReadStatus {
  kOk,          // the project was replaced by the file's
  kUnreadable,  // the file could not be opened or read; nothing changed, nothing shown
  kRefused,     // the file is not a project Tarn can hold; a message was shown, nothing changed
};

// What a project file's text holds.
enum class ProjectTextKind {
  kProject,    // the root, the model section and the Tarn section all open and close
  kModelOnly,  // a complete model and no Tarn data (a file of the fitting program alone)
  kDamaged,    // anything else: a file cut short, or no project file at all
};
// The sections are found as GetElement finds them; the model and the Tarn
// section must lie inside the root element <calvor>. A Tarn section that is
// there but empty counts as no Tarn data.
ProjectTextKind KindOfProjectText(std::string_view text);

// Reads a whole file into text; false when it cannot be opened or read.
bool ReadTextFile(const std::string& path, std::string& text);

// Reads the file at path into the open project, replacing it; `currentFile`
// becomes that path. A file without
// Tarn data (written by the fitting program alone) reads its model only. A
// damaged file (KindOfProjectText), or one whose counts declare more than
// its text could fill (CountsFitText), is refused with DamagedFileMessage
// and changes nothing. A leading and trailing double quote around the path
// are dropped.
ReadStatus OpenXML(ProjectState& state, std::string_view path, MessageSink& sink);
// The same from the file's text; messages name the file state.currentFile.
ReadStatus ReadProjectText(ProjectState& state, std::string_view text, MessageSink& sink);

// The file's text for the open project.
std::string ProjectText(const ProjectState& state);

// Writes the project to path with the save routine (save_file.h), so a
// failure leaves the old file as it was. On success clears modified; on
// failure shows "can't save " + path + CR + "try saving with another name"
// and keeps modified.
bool WriteProject(ProjectState& state, const std::string& path, MessageSink& sink);

// The path without the surrounding double quotes a command line may give it.
std::string Unquoted(std::string_view path);

}  // namespace tarn
