#include "core/model/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

namespace tarn {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinks = 40;  // as the kernel allows in one path

// The fault tests inject; the program never sets one.
struct Fault {
  SaveStep step = SaveStep::kNone;
  int error = 0;
};

Fault& InjectedFault() {
  static Fault fault;
  return fault;
}

// True (with errno set) when the test injected a failure of this step.
bool Injected(SaveStep step) {
  if (InjectedFault().step != step) return false;
  errno = InjectedFault().error;
  return true;
}

SaveResult Failed(SaveStep step, int error) {
  return {false, step, error};
}

// The file a path names, its symbolic links followed; the path itself when
// it does not exist yet. False (errno set) for a loop of links.
bool FollowLinks(const std::string& path, std::string& target) {
  fs::path p(path);
  for (int hops = 0; hops < kMaxLinks; ++hops) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = p.string();
      return true;
    }
    std::error_code ec;
    fs::path next = fs::read_symlink(p, ec);
    if (ec) {
      errno = ec.value();
      return false;
    }
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  errno = ELOOP;
  return false;
}

// An existing file may be replaced only when it is a regular file with a
// write permission that applies to this user. The mode bits are looked at
// as well, so a file made read-only is kept even for the super-user.
int RefusalOf(const std::string& target, const struct stat& st) {
  if (!S_ISREG(st.st_mode)) return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
  if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  return 0;
}

mode_t NewFileMode() {
  mode_t mask = ::umask(0);  // read by setting it; everything runs on one thread
  ::umask(mask);
  return 0666 & ~mask;
}

// Writes all of text, going on after a short write; false (errno set) when a
// write fails.
bool WriteAll(int fd, std::string_view text) {
  bool injected = InjectedFault().step == SaveStep::kWrite;
  while (!text.empty()) {
    std::size_t chunk = injected ? text.size() / 2 : text.size();
    if (injected && chunk == 0) {
      Injected(SaveStep::kWrite);
      return false;
    }
    ssize_t written = ::write(fd, text.data(), chunk);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
    if (injected) {  // the disk is full after the first part
      Injected(SaveStep::kWrite);
      return false;
    }
  }
  return true;
}

// The temporary file beside the target, made with a name nobody can guess
// and only if nothing has that name.
int CreateTemporary(const fs::path& target, std::string& tempPath) {
  if (Injected(SaveStep::kCreate)) return -1;
  std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd >= 0) tempPath = name.data();
  return fd;
}

// Gives the temporary file the permissions (and, where allowed, the owner)
// of the file it replaces.
bool TakePermissions(int fd, const struct stat* existing) {
  if (existing != nullptr) {
    if (::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
      [[maybe_unused]] int ignored = ::fchown(fd, static_cast<uid_t>(-1), existing->st_gid);
    }
    return ::fchmod(fd, existing->st_mode & 07777) == 0;
  }
  return ::fchmod(fd, NewFileMode()) == 0;
}

// Writes, flushes and closes the temporary file; the failed step, or kNone.
SaveStep WriteTemporary(int fd, std::string_view text, const struct stat* existing) {
  if (!TakePermissions(fd, existing)) {
    int error = errno;
    ::close(fd);
    errno = error;
    return SaveStep::kCreate;
  }
  SaveStep failed = SaveStep::kNone;
  if (!WriteAll(fd, text))
    failed = SaveStep::kWrite;
  else if (Injected(SaveStep::kFlush) || ::fsync(fd) != 0)
    failed = SaveStep::kFlush;
  int error = errno;
  bool closed = ::close(fd) == 0;
  if (failed == SaveStep::kNone && (Injected(SaveStep::kClose) || !closed)) return SaveStep::kClose;
  errno = error;
  return failed;
}

// The rename reaches the disk once the folder is flushed too.
void FlushFolder(const fs::path& folder) {
  int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // the new file is in place already: nothing left to undo
  ::close(fd);
}

}  // namespace

SaveResult SaveTextFile(const std::string& path, std::string_view text) {
  std::string resolved;
  if (!FollowLinks(path, resolved)) return Failed(SaveStep::kCreate, errno);
  const fs::path target(resolved);
  if (target.filename().empty()) return Failed(SaveStep::kCreate, EISDIR);
  struct stat st {};
  const bool exists = ::stat(resolved.c_str(), &st) == 0;
  if (exists)
    if (int refusal = RefusalOf(resolved, st)) return Failed(SaveStep::kCreate, refusal);

  std::string tempPath;
  int fd = CreateTemporary(target, tempPath);
  if (fd < 0) return Failed(SaveStep::kCreate, errno);
  SaveStep failed = WriteTemporary(fd, text, exists ? &st : nullptr);
  if (failed == SaveStep::kNone && (Injected(SaveStep::kRename) || ::rename(tempPath.c_str(), resolved.c_str()) != 0))
    failed = SaveStep::kRename;
  if (failed != SaveStep::kNone) {
    int error = errno;
    ::unlink(tempPath.c_str());
    return Failed(failed, error);
  }
  FlushFolder(target.parent_path());
  return {};
}

InjectedSaveFault::InjectedSaveFault(SaveStep step, int error) {
  InjectedFault() = {step, error};
}

InjectedSaveFault::~InjectedSaveFault() {
  InjectedFault() = {};
}

}  // namespace tarn
