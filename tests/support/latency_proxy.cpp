#include "support/latency_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Chunk {
    Clock::time_point due;
    std::string bytes;
};

// One direction of a connection: what was read from `from`, waiting to be written to `to`.
struct Pipe {
    int from = -1;
    int to = -1;
    std::deque<Chunk> waiting;
    bool closed = false;  // `from` reached its end; `to` is shut down once all is written
    bool shut = false;
};

int connectTo(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

LatencyProxy::LatencyProxy(int targetPort, int delayMs) : targetPort_(targetPort), delayMs_(delayMs)
{
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listener_, 16);
    socklen_t length = sizeof a;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &length);
    port_ = ntohs(a.sin_port);
    thread_ = std::thread([this] { run(); });
}

LatencyProxy::~LatencyProxy()
{
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

void LatencyProxy::run()
{
    std::vector<Pipe> pipes;
    while (!stop_) {
        std::vector<pollfd> fds{{listener_, POLLIN, 0}};
        for (const Pipe& p : pipes)
            fds.push_back({p.closed ? -1 : p.from, POLLIN, 0});
        // Wake for the next chunk that falls due, or every 10 ms.
        ::poll(fds.data(), fds.size(), 10);
        if (fds[0].revents & POLLIN) {
            const int client = ::accept(listener_, nullptr, nullptr);
            const int server = client >= 0 ? connectTo(targetPort_) : -1;
            if (server >= 0) {
                pipes.push_back({client, server, {}, false, false});
                pipes.push_back({server, client, {}, false, false});
            } else if (client >= 0) {
                ::close(client);
            }
        }
        const Clock::time_point now = Clock::now();
        // The pipes of a connection accepted just now were not polled yet.
        const std::size_t polled = fds.size() - 1;
        for (std::size_t i = 0; i < pipes.size(); ++i) {
            Pipe& p = pipes[i];
            const short events = i < polled ? fds[i + 1].revents : 0;
            if (!p.closed && (events & (POLLIN | POLLHUP | POLLERR))) {
                char buffer[65536];
                const ssize_t n = ::read(p.from, buffer, sizeof buffer);
                if (n > 0)
                    p.waiting.push_back({now + std::chrono::milliseconds(delayMs_), std::string(buffer, std::size_t(n))});
                else
                    p.closed = true;
            }
            while (!p.waiting.empty() && p.waiting.front().due <= now) {
                const std::string& bytes = p.waiting.front().bytes;
                if (::send(p.to, bytes.data(), bytes.size(), MSG_NOSIGNAL) < 0)
                    p.closed = true;
                p.waiting.pop_front();
            }
            if (p.closed && p.waiting.empty() && !p.shut) {
                ::shutdown(p.to, SHUT_WR);
                p.shut = true;
            }
        }
    }
    for (const Pipe& p : pipes)
        ::close(p.from);
}
