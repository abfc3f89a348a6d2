#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "support/loopback.h"

extern char** environ;

namespace quill::testing {

// Runs a shell command; throws when it fails.
inline void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// A real SSH server on loopback (Debian's openssh-server), run as the current user for one
// test with host and client keys made for it: it takes only the key `ClientKey()`, and its
// SFTP logins start in `root`. `folder` holds its keys, configuration and log. `port` 0 picks
// a free one.
class SshServer {
 public:
  SshServer(const std::string& folder, const std::string& root, int port = 0)
      : folder_(folder + "/") {
    std::filesystem::create_directories(folder_);
    std::filesystem::create_directories(root);
    Run("ssh-keygen -q -t ed25519 -N '' -C test-host -f '" + folder_ + "host_key'");
    Run("ssh-keygen -q -t ed25519 -N '' -C test-client -f '" + ClientKey() + "'");
    std::filesystem::copy_file(ClientKey() + ".pub", folder_ + "authorized_keys");
    port_ = port != 0 ? port : FreeLoopbackPort();
    std::ofstream(folder_ + "sshd_config")
        << "ListenAddress 127.0.0.1\nPort " << port_ << "\nHostKey " << folder_
        << "host_key\nPidFile none\nAuthorizedKeysFile " << folder_
        << "authorized_keys\nPasswordAuthentication no\nKbdInteractiveAuthentication no\n"
           "UsePAM no\nStrictModes no\nPermitRootLogin prohibit-password\n"
           "Subsystem sftp internal-sftp -d "
        << root << "\n";
    // Run as root, sshd insists on its privilege separation folder, as its service makes it.
    if (geteuid() == 0) mkdir("/run/sshd", 0755);
    Start();
  }
  ~SshServer() { Stop(); }
  SshServer(const SshServer&) = delete;
  SshServer& operator=(const SshServer&) = delete;

  int Port() const { return port_; }
  std::string ClientKey() const { return folder_ + "client_key"; }
  // Takes the client key of another server in place of its own.
  void Authorize(const std::string& client_key) const {
    std::filesystem::copy_file(client_key + ".pub", folder_ + "authorized_keys",
                               std::filesystem::copy_options::overwrite_existing);
  }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = 0;
  }
  // "SHA256:…" of the server's host key, as ssh-keygen shows it.
  std::string HostFingerprint() const {
    const std::string out = folder_ + "fingerprint";
    Run("ssh-keygen -l -f '" + folder_ + "host_key.pub' > '" + out + "'");
    std::ifstream in(out);
    std::string bits, fingerprint;
    in >> bits >> fingerprint;
    return fingerprint;
  }
  static std::string UserName() {
    const passwd* entry = getpwuid(geteuid());
    return entry != nullptr ? entry->pw_name : "";
  }

 private:
  bool Accepts() const {
    const int fd = ConnectLoopback(port_);
    if (fd < 0) return false;
    close(fd);
    return true;
  }

  void Start() {
    std::vector<std::string> args = {"/usr/sbin/sshd", "-D", "-e", "-f", folder_ + "sshd_config"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string log = folder_ + "sshd.log";
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) throw std::runtime_error("cannot start /usr/sbin/sshd");
    for (int tries = 0; tries < 100; ++tries) {  // ten seconds at most
      if (Accepts()) return;
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    throw std::runtime_error("sshd did not start; see " + log);
  }

  std::string folder_;
  int port_ = 0;
  pid_t pid_ = 0;
};

}  // namespace quill::testing
