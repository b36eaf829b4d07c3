#pragma once
// The one routine that writes the program's files: the project file, the
// settings file, the store file and the batch tool's output. The text goes to
// a new temporary file beside the file, is flushed to the disk and renamed
// over the file, so a failure at any step leaves the old file as it was.
//
// - A symbolic link is followed: the file it names is written, and the link
//   stays a link.
// - An existing file keeps its permissions, and its owner and group where
//   the user may give them; a new file gets what a plain new file gets
//   (0666 less the umask).
// - An existing file without any write permission is refused, even for the
//   super-user, and so is anything that is not a regular file (a folder, a
//   device).
// - The temporary file, "<folder>/.<name>.XXXXXX", has an unpredictable
//   name and is created exclusively, so nothing planted there is written
//   through.
// - Every write, the flush to the disk and the close are checked; a full
//   disk fails the save and the temporary file is removed.
// - A file in a folder that cannot be written is refused even when the file
//   itself could be written: the temporary file cannot be made beside it, and
//   writing the file in place would destroy it if the write failed half-way.

#include <string>
#include <string_view>

namespace tarn {

// The steps of a save, in order.
enum class SaveStep { kNone, kCreate, kWrite, kFlush, kClose, kRename };

struct SaveResult {
  bool ok = true;
  SaveStep failedAt = SaveStep::kNone;
  int error = 0;  // the errno of the failed step
};

SaveResult SaveTextFile(const std::string& path, std::string_view text);

// For tests, which cannot fill a disk: while an object lives, every save
// fails at the given step with the given errno. A failing write first
// writes part of the text, as a disk that fills up does.
class InjectedSaveFault {
 public:
  InjectedSaveFault(SaveStep step, int error);
  ~InjectedSaveFault();
  InjectedSaveFault(const InjectedSaveFault&) = delete;
  InjectedSaveFault& operator=(const InjectedSaveFault&) = delete;
};

}  // namespace tarn
