// A TCP proxy that holds every chunk of data for a fixed delay in each direction: a station
// office's network in front of a PostgreSQL server on this machine, for the benchmarks.
//   latency_proxy LISTEN_PORT TARGET_PORT DELAY_MICROSECONDS
// Listens on 127.0.0.1:LISTEN_PORT and forwards to 127.0.0.1:TARGET_PORT. A round trip
// through it costs twice the delay.
#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Chunk {
    Clock::time_point due;
    std::string bytes;
};

// One direction of a connection: a reader that stamps what arrives and a writer that sends
// each chunk once its delay has passed, in order.
class Pipe {
public:
    Pipe(int from, int to, std::chrono::microseconds delay) : from_(from), to_(to), delay_(delay) {}

    void run() {
        std::thread writer([this] { write(); });
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::recv(from_, buffer, sizeof buffer, 0);
            std::lock_guard lock(mutex_);
            if (n <= 0) {
                closed_ = true;
                ready_.notify_one();
                break;
            }
            queue_.push_back({Clock::now() + delay_, std::string(buffer, std::size_t(n))});
            ready_.notify_one();
        }
        writer.join();
        ::shutdown(to_, SHUT_WR);
    }

private:
    void write() {
        for (;;) {
            std::unique_lock lock(mutex_);
            ready_.wait(lock, [this] { return closed_ || !queue_.empty(); });
            if (queue_.empty()) return;
            Chunk chunk = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            // Sleep most of the wait, then spin: sleeps alone overshoot a fraction of a
            // millisecond by more than the delay itself.
            while (Clock::now() < chunk.due) {
                const auto left = chunk.due - Clock::now();
                if (left > std::chrono::microseconds(200))
                    std::this_thread::sleep_for(left - std::chrono::microseconds(150));
            }
            const char* at = chunk.bytes.data();
            std::size_t left = chunk.bytes.size();
            while (left > 0) {
                const ssize_t n = ::send(to_, at, left, MSG_NOSIGNAL);
                if (n <= 0) {
                    std::lock_guard relock(mutex_);
                    queue_.clear();
                    return;
                }
                at += n;
                left -= std::size_t(n);
            }
        }
    }

    int from_, to_;
    std::chrono::microseconds delay_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Chunk> queue_;
    bool closed_ = false;
};

int connectTo(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(std::uint16_t(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(s);
        return -1;
    }
    return s;
}

void noDelay(int s) {
    const int one = 1;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: latency_proxy LISTEN_PORT TARGET_PORT DELAY_MICROSECONDS\n");
        return 2;
    }
    const int listenPort = std::atoi(argv[1]), targetPort = std::atoi(argv[2]);
    const std::chrono::microseconds delay(std::atoi(argv[3]));
    std::signal(SIGPIPE, SIG_IGN);
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int one = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(std::uint16_t(listenPort));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(listener, 64) != 0) {
        std::perror("latency_proxy: listen");
        return 1;
    }
    for (;;) {
        const int client = ::accept(listener, nullptr, nullptr);
        if (client < 0) continue;
        const int server = connectTo(targetPort);
        if (server < 0) {
            ::close(client);
            continue;
        }
        noDelay(client);
        noDelay(server);
        std::thread([client, server, delay] {
            Pipe up(client, server, delay), down(server, client, delay);
            std::thread back([&down] { down.run(); });
            up.run();
            back.join();
            ::close(client);
            ::close(server);
        }).detach();
    }
}
