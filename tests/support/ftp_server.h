#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace quill::testing {

// A real FTP server on loopback (Debian's python3-pyftpdlib), started for one test and
// stopped with it. Files it receives land below `root`; their names, in order, in `log`.
class FtpServer {
 public:
  // `port` 0 picks a free one; with `stop_after` N the server dies when upload N + 1 begins.
  // With a `tls_pem` path it demands TLS, with a self-signed certificate it writes there.
  // `faults` are more of the script's options: "--die-in-file 0", "--truncate", ...
  FtpServer(const std::string& root, const std::string& log, int port = 0, int stop_after = 0,
            const std::string& tls_pem = "", const std::vector<std::string>& faults = {}) {
    std::vector<std::string> args = {"/usr/bin/python3",
                                     QUILL_FTP_SERVER_SCRIPT,
                                     "--root",
                                     root,
                                     "--log",
                                     log,
                                     "--port",
                                     std::to_string(port),
                                     "--stop-after",
                                     std::to_string(stop_after)};
    if (!tls_pem.empty()) args.insert(args.end(), {"--tls", tls_pem});
    args.insert(args.end(), faults.begin(), faults.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int out[2];
    if (pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (error != 0) throw std::runtime_error("cannot start the FTP server");
    std::FILE* reader = fdopen(out[0], "r");
    char line[32] = "";
    if (std::fgets(line, sizeof line, reader) == nullptr) {
      std::fclose(reader);
      throw std::runtime_error("the FTP server did not start");
    }
    std::fclose(reader);
    port_ = std::stoi(line);
  }
  ~FtpServer() { Stop(); }
  FtpServer(const FtpServer&) = delete;
  FtpServer& operator=(const FtpServer&) = delete;

  int Port() const { return port_; }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int port_ = 0;
};

}  // namespace quill::testing
