#include <winsock2.h>
#include <windows.h>

#include "tests/webview/LocalHttpServer.h"

#include <cctype>
#include <cstring>

#include "framework/core/Unicode.h"

namespace {

// The few Winsock functions the server needs, looked up once.  Only functions the headers
// declare WINAPI: the pointer types must carry the DLL's calling convention.
struct TWinsock {
  decltype(&::WSAStartup) Startup = nullptr;
  decltype(&::socket) Socket = nullptr;
  decltype(&::bind) Bind = nullptr;
  decltype(&::listen) Listen = nullptr;
  decltype(&::accept) Accept = nullptr;
  decltype(&::recv) Recv = nullptr;
  decltype(&::send) Send = nullptr;
  decltype(&::closesocket) Close = nullptr;
  decltype(&::getsockname) GetSockName = nullptr;
  decltype(&::select) Select = nullptr;
  bool Ok = false;

  TWinsock() {
    HMODULE dll = LoadLibraryW(u"ws2_32.dll");
    if (dll == nullptr) return;
    auto get = [dll](auto& f, const char* name) { f = reinterpret_cast<std::decay_t<decltype(f)>>(reinterpret_cast<void*>(GetProcAddress(dll, name))); return f != nullptr; };
    Ok = get(Startup, "WSAStartup") && get(Socket, "socket") && get(Bind, "bind") && get(Listen, "listen") &&
         get(Accept, "accept") && get(Recv, "recv") && get(Send, "send") && get(Close, "closesocket") &&
         get(GetSockName, "getsockname") && get(Select, "select");
    WSADATA data;
    if (Ok) Ok = Startup(MAKEWORD(2, 2), &data) == 0;
  }
};

TWinsock& Ws() {
  static TWinsock ws;
  return ws;
}

SOCKET Listen(int& port) {
  TWinsock& ws = Ws();
  port = 0;
  if (!ws.Ok) return INVALID_SOCKET;
  SOCKET s = ws.Socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  // Network byte order by hand: Wine's byte-order helpers are inline, not the DLL's exports.
  address.sin_addr.s_addr = 0x0100007F;
  address.sin_port = 0;
  int length = sizeof(address);
  if (ws.Bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || ws.Listen(s, 16) != 0 ||
      ws.GetSockName(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ws.Close(s);
    return INVALID_SOCKET;
  }
  port = ((address.sin_port & 0xFF) << 8) | ((address.sin_port >> 8) & 0xFF);
  return s;
}

DWORD WINAPI ServerThread(void* self) {
  static_cast<TLocalHttpServer*>(self)->Serve();
  return 0;
}

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
  }
}

}  // namespace

TLocalHttpServer::TLocalHttpServer() {
  SOCKET s = Listen(port_);
  if (s == INVALID_SOCKET) return;
  listener_ = s;
  thread_ = CreateThread(nullptr, 0, ServerThread, this, 0, nullptr);
}

TLocalHttpServer::~TLocalHttpServer() {
  stop_ = true;
  if (thread_ != nullptr) {
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
  TWinsock& ws = Ws();
  if (listener_ != ~uintptr_t(0)) ws.Close(static_cast<SOCKET>(listener_));
  for (uintptr_t s : held_) ws.Close(static_cast<SOCKET>(s));
}

std::u16string TLocalHttpServer::Url(const std::string& path) const {
  return u"http://127.0.0.1:" + IntToStr(port_) + Utf8ToUtf16(path);
}

void TLocalHttpServer::Set(const std::string& path, TResponse response) {
  std::lock_guard<std::mutex> lock(lock_);
  routes_[path] = std::move(response);
}

std::vector<std::string> TLocalHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(lock_);
  return requests_;
}

int TLocalHttpServer::RefusedPort() {
  int port = 0;
  SOCKET s = Listen(port);
  if (s != INVALID_SOCKET) Ws().Close(s);
  return port;
}

void TLocalHttpServer::Serve() {
  TWinsock& ws = Ws();
  auto listener = static_cast<SOCKET>(listener_);
  while (!stop_) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(listener, &ready);
    timeval wait{0, 50000};
    if (ws.Select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
    SOCKET client = ws.Accept(listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    Answer(client);
  }
}

void TLocalHttpServer::Answer(uintptr_t socket) {
  TWinsock& ws = Ws();
  auto client = static_cast<SOCKET>(socket);
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
    int got = ws.Recv(client, buffer, sizeof(buffer), 0);
    if (got <= 0) break;
    request.append(buffer, static_cast<size_t>(got));
    if (!std::isupper(static_cast<unsigned char>(request[0]))) {
      // Not HTTP (a TLS hello, say): answered at once, as a real server would, and not a request.
      const char reply[] = "HTTP/1.0 400 Bad Request\r\nConnection: close\r\n\r\n";
      ws.Send(client, reply, static_cast<int>(sizeof(reply) - 1), 0);
      ws.Close(client);
      return;
    }
  }
  size_t space = request.find(' ');
  size_t end = space == std::string::npos ? space : request.find(' ', space + 1);
  std::string path = space == std::string::npos || end == std::string::npos ? "/" : request.substr(space + 1, end - space - 1);
  TResponse response;
  response.Status = 404;
  response.Body = "<html><body>not found</body></html>";
  {
    std::lock_guard<std::mutex> lock(lock_);
    requests_.push_back(path);
    auto it = routes_.find(path);
    if (it != routes_.end()) response = it->second;
    if (response.Silent) {
      held_.push_back(socket);
      return;
    }
  }
  std::string reply = "HTTP/1.0 " + std::to_string(response.Status) + " " + Reason(response.Status) + "\r\n";
  reply += "Content-Type: " + response.ContentType + "\r\n";
  reply += "Content-Length: " + std::to_string(response.Body.size()) + "\r\nConnection: close\r\n\r\n";
  reply += response.Body;
  size_t sent = 0;
  while (sent < reply.size()) {
    int n = ws.Send(client, reply.data() + sent, static_cast<int>(reply.size() - sent), 0);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  ws.Close(client);
}
