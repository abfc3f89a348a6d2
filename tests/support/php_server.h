#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback.h"

extern char** environ;

namespace quill::testing {

// Runs a program to its end with its output thrown away; returns its exit status.
inline int RunQuietly(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// PHP's built-in web server on loopback, serving `root`, with mail handed to `sendmail`;
// started for a test and stopped with it.
class PhpServer {
 public:
  PhpServer(const std::string& root, const std::string& sendmail) : port_(FreeLoopbackPort()) {
    std::vector<std::string> args = {QUILL_PHP_PATH, "-n",
                                     "-d",           "sendmail_path=" + sendmail,
                                     "-S",           "127.0.0.1:" + std::to_string(port_),
                                     "-t",           root};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start php -S");
    for (int tries = 0; tries < 200; ++tries) {
      if (const int fd = ConnectLoopback(port_); fd >= 0) {
        close(fd);
        return;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    Stop();
    throw std::runtime_error("php -S did not start");
  }
  ~PhpServer() { Stop(); }
  PhpServer(const PhpServer&) = delete;
  PhpServer& operator=(const PhpServer&) = delete;

  // Posts a form to `path`; returns the whole response, status line and headers included.
  std::string Post(const std::string& path, const std::string& form) const {
    const int fd = ConnectLoopback(port_);
    if (fd < 0) throw std::runtime_error("cannot reach php -S");
    timeval timeout{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    const std::string request = "POST " + path +
                                " HTTP/1.0\r\nHost: 127.0.0.1\r\n"
                                "Content-Type: application/x-www-form-urlencoded\r\n"
                                "Content-Length: " +
                                std::to_string(form.size()) + "\r\n\r\n" + form;
    send(fd, request.data(), request.size(), 0);
    std::string response;
    char buffer[4096];
    for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) response.append(buffer, n);
    close(fd);
    return response;
  }

  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }

 private:
  int port_;
  pid_t pid_ = 0;
};

}  // namespace quill::testing
