#pragma once
// Runs a check as an ordinary user: when the tests run as the super-user (as
// CI does), in a child process that gives up its rights (user and group
// "nobody"), so that a read-only folder is read-only for it too.
//
//   EXPECT_TRUE(AsOrdinaryUser([&] { return !SaveTextFile(path, "new").ok; }));

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tarn::testing {

// True when body is.
inline bool AsOrdinaryUser(const std::function<bool()>& body) {
  if (::geteuid() != 0) return body();
  pid_t child = ::fork();
  if (child == 0) {
    constexpr unsigned kNobody = 65534;
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(3);
    ::_exit(body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace tarn::testing
