#include "platform/native/native_begin.h"
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include "platform/native/native_end.h"

#include "platform/zrio/child_process.h"

#include <algorithm>

extern char** environ;

namespace zr {

namespace {

// The most pieces of input given to one send call.
const size_t kPiecesACall = 16;
// How often the caller's stop check runs while nothing else happens.
const int kStopPollMs = 20;
// What the child's input and its answer hold before a writer waits for the
// reader: large enough that a drawing goes each way in one write, so that
// neither side wakes the other once for every 64 KB the system holds by
// default (a wake-up can cost milliseconds on a busy machine). The system
// may give less; the exchange then just takes more rounds.
const int kInputBufferBytes = 4 << 20;
const int kAnswerPipeBytes = 1 << 20;
// How long a killed child is waited for. The kernel ends it in well under a
// second even on a busy machine; one not ended by then is left unreaped, and
// the system reaps it when this process ends.
const int kReapMs = 3000;

long long NowMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (long long)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

void CloseFd(int* fd) {
  if (*fd >= 0) close(*fd);
  *fd = -1;
}

// Waits at most `timeoutMs` for a child that was sent SIGKILL to end, and
// reaps it. The child is not reaped yet, so its process id still names it.
// (The system call: the C library's header for it lacks C++ linkage.)
void ReapKilled(pid_t pid, int timeoutMs) {
  int handle = int(syscall(SYS_pidfd_open, pid, 0));
  if (handle >= 0) {
    long long deadline = NowMs() + timeoutMs;
    pollfd ended = {handle, POLLIN, 0};
    for (long long left = timeoutMs; left > 0; left = deadline - NowMs()) {
      if (poll(&ended, 1, int(left)) >= 0 || errno != EINTR) break;
    }
    close(handle);
  }
  waitpid(pid, nullptr, WNOHANG);
}

}  // namespace

ChildProcess::~ChildProcess() { Kill(); }

bool ChildProcess::Start(const std::vector<std::string>& argv) {
  Kill();
  if (argv.empty()) return false;
  // The child's ends lose their close-on-exec flag when they are moved to
  // 0 and 3; every other descriptor of ours stays out of the child.
  int inputPair[2], answerPipe[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, inputPair) != 0) return false;
  if (pipe2(answerPipe, O_CLOEXEC) != 0) {
    close(inputPair[0]);
    close(inputPair[1]);
    return false;
  }
  setsockopt(inputPair[0], SOL_SOCKET, SO_SNDBUF, &kInputBufferBytes, sizeof kInputBufferBytes);
  fcntl(answerPipe[0], F_SETPIPE_SZ, kAnswerPipeBytes);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, inputPair[1], 0);
  posix_spawn_file_actions_adddup2(&actions, answerPipe[1], 3);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  // The child starts with default signal handling, whatever Wine set here.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults, none;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

  // The environment without what was meant for this process alone (a
  // preloaded sanitizer runtime, say).
  std::vector<char*> environment;
  for (char** e = environ; *e; ++e) {
    if (strncmp(*e, "LD_PRELOAD=", 11) == 0 || strncmp(*e, "ASAN_OPTIONS=", 13) == 0) continue;
    environment.push_back(*e);
  }
  environment.push_back(nullptr);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  int error = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environment.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(inputPair[1]);
  close(answerPipe[1]);
  if (error != 0) {
    close(inputPair[0]);
    close(answerPipe[0]);
    return false;
  }
  m_pid = pid;
  m_input = inputPair[0];
  m_answer = answerPipe[0];
  fcntl(m_input, F_SETFL, fcntl(m_input, F_GETFL) | O_NONBLOCK);
  fcntl(m_answer, F_SETFL, fcntl(m_answer, F_GETFL) | O_NONBLOCK);
  return true;
}

void ChildProcess::CloseInput() { CloseFd(&m_input); }

ChildProcess::Outcome ChildProcess::Exchange(const std::vector<Bytes>& input, int timeoutMs,
                                             const std::function<bool()>& stop,
                                             const std::function<Take(const char*, size_t)>& take) {
  if (!running() || m_answer < 0) return Outcome::Broken;
  long long deadline = NowMs() + timeoutMs;
  size_t piece = 0, sent = 0;  // the piece being sent, and how much of it is sent
  auto skipSent = [&]() {
    while (piece < input.size() && sent == input[piece].size) {
      ++piece;
      sent = 0;
    }
  };
  skipSent();
  static const size_t kChunk = 1 << 16;
  char buffer[kChunk];
  Outcome outcome = Outcome::Broken;
  for (;;) {
    long long left = deadline - NowMs();
    if (left <= 0) {
      outcome = Outcome::TimedOut;
      break;
    }
    if (stop && stop()) {
      outcome = Outcome::Stopped;
      break;
    }
    pollfd fds[2];
    int count = 0;
    fds[count++] = {m_answer, POLLIN, 0};
    bool sending = m_input >= 0 && piece < input.size();
    if (sending) fds[count++] = {m_input, POLLOUT, 0};
    int ready = poll(fds, nfds_t(count), int(left < kStopPollMs ? left : kStopPollMs));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    if (sending && (fds[1].revents & (POLLOUT | POLLERR | POLLHUP))) {
      // All the pieces left go in one call, so that the child wakes once
      // for them. MSG_NOSIGNAL: a child that ended gives an error, not SIGPIPE.
      iovec pieces[kPiecesACall];
      msghdr message = {};
      message.msg_iov = pieces;
      for (size_t p = piece; p < input.size() && message.msg_iovlen < kPiecesACall; ++p) {
        size_t skip = p == piece ? sent : 0;
        pieces[message.msg_iovlen++] = {const_cast<char*>(input[p].data) + skip, input[p].size - skip};
      }
      ssize_t n = sendmsg(m_input, &message, MSG_NOSIGNAL);
      if (n < 0 && errno != EAGAIN && errno != EINTR) CloseInput();
      for (size_t left = n > 0 ? size_t(n) : 0; left > 0;) {
        size_t taken = std::min(left, input[piece].size - sent);
        sent += taken;
        left -= taken;
        skipSent();
      }
    }
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      ssize_t n = read(m_answer, buffer, kChunk);
      if (n == 0) {
        outcome = Outcome::Closed;
        break;
      }
      if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) continue;
        break;
      }
      Take verdict = take(buffer, size_t(n));
      if (verdict == Take::Done) {
        // A child that answered before it took all the input is no use for
        // another exchange.
        if (piece < input.size()) Kill();
        return Outcome::Done;
      }
      if (verdict == Take::Refuse) {
        outcome = Outcome::Refused;
        break;
      }
    }
  }
  Kill();
  return outcome;
}

bool ChildProcess::Exited() {
  if (m_pid <= 0) return true;
  if (waitpid(pid_t(m_pid), nullptr, WNOHANG) != pid_t(m_pid)) return false;
  m_pid = -1;
  Kill();
  return true;
}

bool ChildProcess::Waiting() {
  if (!running() || Exited() || m_answer < 0) return false;
  pollfd answer = {m_answer, POLLIN, 0};
  return poll(&answer, 1, 0) == 0;
}

void ChildProcess::Kill() {
  CloseInput();
  CloseFd(&m_answer);
  if (m_pid <= 0) return;
  kill(pid_t(m_pid), SIGKILL);
  ReapKilled(pid_t(m_pid), kReapMs);
  m_pid = -1;
}

}  // namespace zr
