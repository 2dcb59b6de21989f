// TestServerProcess: a server program the tests start on 127.0.0.1 (Radicale, the faulty
// server), waited for until it accepts connections and killed by its pid. For tests only.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace calsync {

class TestServerProcess {
 public:
  TestServerProcess() = default;
  ~TestServerProcess() { Kill(); }
  TestServerProcess(const TestServerProcess&) = delete;
  TestServerProcess& operator=(const TestServerProcess&) = delete;

  // Runs `argv` (argv[0] a full path) with its output appended to `log`, and waits up to
  // `wait_ms` until `port` on 127.0.0.1 accepts a connection. Throws std::runtime_error with
  // the log's tail when the program ends first or does not listen in time.
  void Start(const std::vector<std::string>& argv, int port, const std::string& log,
             int wait_ms = 15000);
  // SIGKILL and reap; nothing when not running.
  void Kill();
  bool running() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  // A port on 127.0.0.1 that nothing listens on just now.
  static int FreePort();
  // Whether something accepts a connection on 127.0.0.1:`port`.
  static bool Listening(int port);

 private:
  pid_t pid_ = -1;
};

}  // namespace calsync
