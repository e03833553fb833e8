// A small HTTP server on the loopback address for the update check tests:
// it answers every request with the same bytes.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace plavesk::testing {

// Answers every request on 127.0.0.1 with the same bytes, or with nothing
// for `stallMs` milliseconds.
class LoopbackServer {
 public:
  explicit LoopbackServer(std::string answer, int stallMs = 0)
      : answer_(std::move(answer)), stallMs_(stallMs) {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket_, 4) != 0)
      throw std::runtime_error("no loopback socket");
    socklen_t length = sizeof address;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    ::shutdown(socket_, SHUT_RDWR);
    ::close(socket_);
    thread_.join();
  }
  std::string url(const std::string& path = "/version.txt") const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  int requests() const { return requests_; }

 private:
  void serve() {
    while (!stop_) {
      const int client = ::accept(socket_, nullptr, nullptr);
      if (client < 0) return;
      ++requests_;
      std::string request;
      char buffer[1024];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, size_t(n));
      }
      if (stallMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(stallMs_));
      size_t sent = 0;
      while (sent < answer_.size()) {
        const ssize_t n =
            ::send(client, answer_.data() + sent, answer_.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;
        sent += size_t(n);
      }
      ::close(client);
    }
  }

  std::string answer_;
  int stallMs_;
  int socket_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0};
  std::thread thread_;
};

inline std::string httpAnswer(const std::string& body, const std::string& status = "200 OK") {
  return "HTTP/1.1 " + status +
         "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

inline std::string versionFile(const std::string& version) {
  return "# Plavesk\r\nversion = " + version +
         "\r\ndate = 2027-03-01\r\nsize = 6815744\r\n"
         "page = https://plavesk.example/download\r\n";
}

}  // namespace plavesk::testing
