#include "render/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/Interruption.h"

namespace velkor::render {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// In the child between fork and exec: only calls that are safe there. The
// child lives in a process group of its own (so the whole group can be
// killed, and a terminal's Ctrl-C reaches only the parent, which ends it)
// and dies with its parent. Should the parent have died before that was
// set, the child is an orphan already and ends itself.
[[noreturn]] void BecomeChild(const char* program, char* const argv[], pid_t parent, int output, int execFailed) {
  ::setpgid(0, 0);
  if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(127);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);  // the parent may block SIGINT and SIGTERM
  const int null = ::open("/dev/null", O_WRONLY);
  if (::dup2(output, STDOUT_FILENO) < 0 || null < 0 || ::dup2(null, STDERR_FILENO) < 0) ::_exit(127);
  ::execv(program, argv);
  const int error = errno;
  [[maybe_unused]] const ssize_t written = ::write(execFailed, &error, sizeof error);
  ::_exit(127);
}

// Whether the program runs: the report pipe closes on a successful exec and
// carries errno from a failed one.
bool Executed(int execFailed) {
  int error = 0;
  ssize_t n;
  while ((n = ::read(execFailed, &error, sizeof error)) < 0 && errno == EINTR) {
  }
  return n == 0;
}

// Reads until end of file, the deadline or the size limit.
void Collect(int fd, Clock::time_point deadline, size_t maxOutput, ChildResult& r) {
  uint8_t buffer[1 << 16];
  for (;;) {
    const int left = MillisecondsLeft(deadline);
    if (left == 0) return (void)(r.timedOut = true);
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, left);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return (void)(r.timedOut = ready == 0);
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    if (r.output.size() + static_cast<size_t>(n) > maxOutput) return (void)(r.tooMuchOutput = true);
    r.output.insert(r.output.end(), buffer, buffer + n);
  }
}

// Waits for the child's end until the deadline: a child that closed its
// output but goes on (blocked on a read, say) is ended by the same limit.
void AwaitWithin(pid_t pid, Clock::time_point deadline, ChildResult& r) {
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, r.timedOut || r.tooMuchOutput ? 0 : WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) return;
    if (done == 0 && MillisecondsLeft(deadline) == 0) {
      r.timedOut = true;
      ::kill(-pid, SIGKILL);
    } else if (done == 0) {
      ::poll(nullptr, 0, 10);
    }
  }
  if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) r.signal = WTERMSIG(status);
}

}  // namespace

ChildResult RunChild(const std::string& program, const std::string& argument, int timeoutMilliseconds,
                     size_t maxOutput) {
  ChildResult r;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
  int output[2], execFailed[2];
  if (::pipe2(output, O_CLOEXEC) != 0) return r;
  if (::pipe2(execFailed, O_CLOEXEC) != 0) {
    ::close(output[0]), ::close(output[1]);
    return r;
  }
  std::string arg0 = program, arg1 = argument;
  char* argv[] = {arg0.data(), arg1.data(), nullptr};
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) BecomeChild(program.c_str(), argv, parent, output[1], execFailed[1]);
  ::close(output[1]);
  ::close(execFailed[1]);
  if (pid > 0) ::setpgid(pid, pid);  // also here: the group exists before anyone signals it
  const platform::InterruptCleanup killed =
      pid > 0 ? platform::InterruptCleanup::KillGroup(pid) : platform::InterruptCleanup();
  r.started = pid > 0 && Executed(execFailed[0]);
  ::close(execFailed[0]);
  if (r.started) Collect(output[0], deadline, maxOutput, r);
  ::close(output[0]);
  if (pid <= 0) return r;
  if (r.timedOut || r.tooMuchOutput) ::kill(-pid, SIGKILL);
  AwaitWithin(pid, deadline, r);
  return r;
}

}  // namespace velkor::render
