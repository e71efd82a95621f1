#include "render/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

extern char** environ;

namespace velkor::render {

namespace {

pid_t Spawn(const std::string& program, const std::string& argument, int writeEnd, int readEnd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, writeEnd, STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, readEnd);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::string arg0 = program, arg1 = argument;
  char* argv[] = {arg0.data(), arg1.data(), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Reads until end of file, the deadline or the size limit.
void Collect(int fd, int timeoutMilliseconds, size_t maxOutput, ChildResult& r) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
  uint8_t buffer[1 << 16];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return (void)(r.timedOut = true);
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return (void)(r.timedOut = ready == 0);
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    if (r.output.size() + static_cast<size_t>(n) > maxOutput) return (void)(r.tooMuchOutput = true);
    r.output.insert(r.output.end(), buffer, buffer + n);
  }
}

}  // namespace

ChildResult RunChild(const std::string& program, const std::string& argument, int timeoutMilliseconds,
                     size_t maxOutput) {
  ChildResult r;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return r;
  const pid_t pid = Spawn(program, argument, fds[1], fds[0]);
  close(fds[1]);
  if (pid < 0) {
    close(fds[0]);
    return r;
  }
  r.started = true;
  Collect(fds[0], timeoutMilliseconds, maxOutput, r);
  close(fds[0]);
  if (r.timedOut || r.tooMuchOutput) kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
  return r;
}

}  // namespace velkor::render
