#pragma once

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quill::testing {

// A web server on 127.0.0.1, in the test's own process, that answers each path as the test
// says and notes every request it gets ("HEAD /ok"). A path answered with status 0 stalls:
// the connection is taken and nothing is ever said on it, until the server stops.
class HttpServer {
 public:
  struct Answer {
    Answer(int answered_status = 200, std::string redirect = {})
        : status(answered_status), location(std::move(redirect)) {}
    int status;
    std::string location;  // for redirects: a path on this server
  };

  explicit HttpServer(std::map<std::string, std::map<std::string, Answer>> answers)
      : answers_(std::move(answers)) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen(listener_, 64);
    acceptor_ = std::thread([this] { Accept(); });
  }
  ~HttpServer() {
    stopping_ = true;
    acceptor_.join();
    for (std::thread& connection : connections_) connection.join();
    close(listener_);
  }
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  std::string Address(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::vector<std::string> Requests() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }

 private:
  // Waits for `fd` to be readable, in short steps so that stopping is noticed.
  bool Readable(int fd) const {
    while (!stopping_) {
      pollfd wanted{fd, POLLIN, 0};
      if (poll(&wanted, 1, 20) > 0) return true;
    }
    return false;
  }

  void Accept() {
    while (Readable(listener_)) {
      const int fd = accept(listener_, nullptr, nullptr);
      if (fd >= 0) connections_.emplace_back([this, fd] { Serve(fd); });
    }
  }

  void Serve(int fd) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && Readable(fd)) {
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::string method = request.substr(0, request.find(' '));
    const std::size_t start = method.size() + 1;
    const std::string path = request.substr(start, request.find(' ', start) - start);
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(method + " " + path);
    }
    const auto by_path = answers_.find(path);
    Answer answer{404};
    if (by_path != answers_.end()) {
      const auto by_method = by_path->second.find(method);
      answer = by_method != by_path->second.end() ? by_method->second : by_path->second.at("");
    }
    if (answer.status == 0) {
      while (Readable(fd)) {
        if (recv(fd, buffer, sizeof buffer, 0) <= 0) break;
      }
    } else {
      const std::string body = "<p>page</p>";
      std::string response = "HTTP/1.1 " + std::to_string(answer.status) + " Whatever\r\n";
      if (!answer.location.empty()) response += "Location: " + Address(answer.location) + "\r\n";
      response +=
          "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
      if (method != "HEAD") response += body;
      send(fd, response.data(), response.size(), MSG_NOSIGNAL);
    }
    close(fd);
  }

  std::map<std::string, std::map<std::string, Answer>> answers_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptor_;
  std::vector<std::thread> connections_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

}  // namespace quill::testing
