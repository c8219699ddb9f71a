// A TCP proxy on loopback that holds what it forwards for a fixed delay each way, so that the
// import's round trips can be timed as if the server sat across a city hall's network.
//
//   lan_proxy LISTEN_PORT TARGET_HOST TARGET_PORT DELAY_MS
//
// Listens on 127.0.0.1:LISTEN_PORT (0: a free port of the system's choice), prints
// "listening on port N" once connections are taken, and connects every accepted connection to
// TARGET_HOST:TARGET_PORT. Every chunk read from either side is written to the other DELAY_MS
// (fractional, e.g. 0.5) after it arrived, in order. Each chunk keeps its own release time, so a
// chunk read while earlier ones wait is not held longer: the delay adds latency, it does not
// throttle. When one side closes, what it sent is delivered and then both sides are closed.
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Chunk {
  Clock::time_point release;
  std::vector<char> bytes;  // empty: the source has closed
};

// One direction of a connection: the reader queues each chunk with its release time, the writer
// sleeps until then and writes it. Two threads, so that reading never waits for a release.
class DelayedDirection {
 public:
  DelayedDirection(int from, int to, Clock::duration delay) : from_(from), to_(to), delay_(delay) {}

  void read() {
    std::vector<char> buffer(64 * 1024);
    for (;;) {
      const ssize_t got = recv(from_, buffer.data(), buffer.size(), 0);
      if (got < 0 && errno == EINTR) continue;
      const Clock::time_point release = Clock::now() + delay_;
      if (got <= 0) {
        push({release, {}});
        return;
      }
      push({release, std::vector<char>(buffer.begin(), buffer.begin() + got)});
    }
  }

  // Returns once the source has closed and everything before it is delivered, or the
  // destination failed; either way the whole connection is over, so both sockets are shut
  // down, which also ends the other direction's reader.
  void write() {
    for (;;) {
      Chunk chunk = pop();
      std::this_thread::sleep_until(chunk.release);
      if (chunk.bytes.empty() || !sendAll(chunk.bytes)) break;
    }
    shutdown(from_, SHUT_RDWR);
    shutdown(to_, SHUT_RDWR);
  }

 private:
  void push(Chunk chunk) {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(std::move(chunk));
    }
    queued_.notify_one();
  }

  Chunk pop() {
    std::unique_lock lock(mutex_);
    queued_.wait(lock, [this] { return !queue_.empty(); });
    Chunk chunk = std::move(queue_.front());
    queue_.pop_front();
    return chunk;
  }

  bool sendAll(const std::vector<char>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
      const ssize_t done = send(to_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (done < 0 && errno == EINTR) continue;
      if (done <= 0) return false;
      sent += static_cast<std::size_t>(done);
    }
    return true;
  }

  const int from_;
  const int to_;
  const Clock::duration delay_;
  std::mutex mutex_;
  std::condition_variable queued_;
  std::deque<Chunk> queue_;
};

// The proxy's own hop must add nothing but the delay: Nagle's algorithm would hold small
// packets back until the previous one is acknowledged.
void SendAtOnce(int socket) {
  const int on = 1;
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

void Forward(int client, int server, Clock::duration delay) {
  DelayedDirection up(client, server, delay);
  DelayedDirection down(server, client, delay);
  std::thread threads[] = {
      std::thread(&DelayedDirection::read, &up), std::thread(&DelayedDirection::write, &up),
      std::thread(&DelayedDirection::read, &down), std::thread(&DelayedDirection::write, &down)};
  for (std::thread& thread : threads) thread.join();
  close(client);
  close(server);
}

std::optional<int> ConnectTo(const char* host, const char* port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* addresses = nullptr;
  if (const int failed = getaddrinfo(host, port, &hints, &addresses)) {
    std::fprintf(stderr, "lan_proxy: %s: %s\n", host, gai_strerror(failed));
    return std::nullopt;
  }
  std::optional<int> connected;
  for (addrinfo* address = addresses; address && !connected; address = address->ai_next) {
    const int fd = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
    if (fd < 0) continue;
    if (connect(fd, address->ai_addr, address->ai_addrlen) == 0) {
      connected = fd;
    } else {
      close(fd);
    }
  }
  if (!connected) std::fprintf(stderr, "lan_proxy: connecting to %s:%s failed\n", host, port);
  freeaddrinfo(addresses);
  return connected;
}

int ListenOnLoopback(long port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t length = sizeof address;
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  const int on = 1;
  if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, 16) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::perror("lan_proxy: listening");
    std::exit(1);
  }
  std::printf("listening on port %d\n", ntohs(address.sin_port));
  std::fflush(stdout);
  return fd;
}

bool ParsePort(const char* text, long& port) {
  char* end = nullptr;
  errno = 0;
  port = std::strtol(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && port >= 0 && port <= 65535;
}

bool ParseDelay(const char* text, double& milliseconds) {
  char* end = nullptr;
  errno = 0;
  milliseconds = std::strtod(text, &end);
  return errno == 0 && end != text && *end == '\0' && milliseconds >= 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  long port = 0;
  double delayMs = 0;
  if (argc != 5 || !ParsePort(argv[1], port) || !ParseDelay(argv[4], delayMs)) {
    std::fprintf(stderr, "usage: lan_proxy LISTEN_PORT TARGET_HOST TARGET_PORT DELAY_MS\n");
    return 2;
  }
  const auto delay = std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double, std::milli>(delayMs));
  // The threads inherit it: without it a release may come up to 50 us late.
  prctl(PR_SET_TIMERSLACK, 1UL);
  const int listener = ListenOnLoopback(port);
  for (;;) {
    const int client = accept(listener, nullptr, nullptr);
    if (client < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      std::perror("lan_proxy: accept");
      return 1;
    }
    const std::optional<int> server = ConnectTo(argv[2], argv[3]);
    if (!server) {
      close(client);
      continue;
    }
    SendAtOnce(client);
    SendAtOnce(*server);
    std::thread(Forward, client, *server, delay).detach();
  }
}
