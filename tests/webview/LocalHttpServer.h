#pragma once
// A small HTTP server on 127.0.0.1 for the tests, in a thread of the test process.
// Winsock is loaded at run time: the test programs do not link ws2_32.
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class TLocalHttpServer {
 public:
  struct TResponse {
    int Status = 200;
    std::string ContentType = "text/html; charset=utf-8";
    std::string Body;
    bool Silent = false;  // accept the connection, read the request, never answer
  };

  // Listens on a free port; Port() is 0 when Winsock could not be had.
  TLocalHttpServer();
  ~TLocalHttpServer();
  TLocalHttpServer(const TLocalHttpServer&) = delete;
  TLocalHttpServer& operator=(const TLocalHttpServer&) = delete;

  int Port() const { return port_; }
  std::u16string Url(const std::string& path) const;
  // Paths not set answer 404.
  void Set(const std::string& path, TResponse response);
  // Request paths in the order they came.
  std::vector<std::string> Requests() const;

  // A port on which nothing listens (bound a moment, then closed).
  static int RefusedPort();

  // The server thread's body.
  void Serve();

 private:
  void Answer(uintptr_t client);

  uintptr_t listener_ = ~uintptr_t(0);
  int port_ = 0;
  void* thread_ = nullptr;
  std::atomic<bool> stop_{false};
  mutable std::mutex lock_;
  std::map<std::string, TResponse> routes_;
  std::vector<std::string> requests_;
  std::vector<uintptr_t> held_;
};
