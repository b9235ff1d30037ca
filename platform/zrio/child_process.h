// A Unix program run as a child of this process: it reads what we send on
// its standard input and answers on its file descriptor 3; its standard
// output and error go nowhere. A child may serve one exchange after another.
// Each exchange is bounded in time and can be stopped from the caller's own
// check; every way out of it but a whole answer kills the child, and the
// destructor kills and reaps it, so that no child is left behind. Killing
// waits a bounded time for the child to end.
//
// Native (Linux) calls only; the header uses nothing from <windows.h>.
#pragma once
#include <stddef.h>

#include <functional>
#include <string>
#include <vector>

namespace zr {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts argv[0] (looked up in PATH when it holds no '/') with the
  // arguments. False when it could not be started.
  bool Start(const std::vector<std::string>& argv);

  // What the answer reader says of the bytes it was given.
  enum class Take { More, Done, Refuse };
  enum class Outcome { Done, Closed, TimedOut, Stopped, Refused, Broken };

  // Bytes sent to the child.
  struct Bytes {
    const char* data;
    size_t size;
  };

  // Sends the pieces of `input` one after the other, while handing every
  // chunk of the answer to `take`. Returns Done when `take` said so (the
  // child then waits for more input, or is killed when it answered before
  // it took all of this input), Closed when the child closed its
  // answer first (it ended), TimedOut after `timeoutMs`, Stopped when
  // `stop` (asked every few milliseconds) said so, Refused when `take`
  // refused the answer, Broken when the pipes failed. The child is killed
  // on every outcome but Done.
  Outcome Exchange(const std::vector<Bytes>& input, int timeoutMs, const std::function<bool()>& stop,
                   const std::function<Take(const char*, size_t)>& take);

  // Ends the child at once (if it runs) and reaps it, waiting a few
  // seconds at most for it to end.
  void Kill();

  bool running() const { return m_pid > 0; }
  // True when the child has ended on its own (it is reaped then).
  bool Exited();
  // True when the child runs and has sent nothing since its last exchange:
  // it is ready for another.
  bool Waiting();

 private:
  void CloseInput();

  int m_pid = -1;     // the child's process id
  int m_input = -1;   // our end of the child's standard input (a socket)
  int m_answer = -1;  // our end of the child's descriptor 3
};

}  // namespace zr
