// A TCP proxy on 127.0.0.1 that hands every byte on after a fixed delay, both ways: a broker
// that is far away. It runs on a thread of its own, so a test may block while it works.
#pragma once

#include <atomic>
#include <thread>

class LatencyProxy {
public:
    // Forwards connections on port() to 127.0.0.1:targetPort, each chunk delayMs late.
    LatencyProxy(int targetPort, int delayMs);
    ~LatencyProxy();
    LatencyProxy(const LatencyProxy&) = delete;
    LatencyProxy& operator=(const LatencyProxy&) = delete;

    int port() const { return port_; }

private:
    void run();

    int targetPort_;
    int delayMs_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
