#include "design/guarded_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Set on the worker while it answers a connection that waited beyond the
// queue's bound.
thread_local bool shedding = false;

// A fixed set of workers over a queue; a connection that finds the queue full
// goes to its front, to be turned away at once instead of waiting its turn.
class BoundedPool : public httplib::TaskQueue {
public:
    BoundedPool(std::size_t threads, std::size_t mostWaiting) : mostWaiting_(mostWaiting) {
        for (std::size_t i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
    }
    ~BoundedPool() override { shutdown(); }

    void enqueue(std::function<void()> job) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (jobs_.size() >= mostWaiting_) {
                jobs_.emplace_front([job = std::move(job)] {
                    shedding = true;
                    job();
                    shedding = false;
                });
            } else {
                jobs_.push_back(std::move(job));
            }
        }
        wake_.notify_one();
    }

    void shutdown() override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) return;
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }

private:
    void Work() {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
                if (jobs_.empty()) return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            job();
        }
    }

    std::size_t mostWaiting_;
    std::vector<std::thread> workers_;
    std::deque<std::function<void()>> jobs_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
};

// A connection's socket under deadlines: every read waits at most until the
// request's deadline, every write until the answer's.
class DeadlineStream : public httplib::Stream {
public:
    DeadlineStream(int sock, const ConnectionBounds& bounds)
        : sock_(sock),
          readBy_(Clock::now() + bounds.requestDeadline),
          writeBy_(Clock::now() + bounds.answerDeadline),
          bytesLeft_(bounds.mostRequestBytes) {}

    bool is_readable() const override { return Ready(POLLIN, readBy_); }
    bool is_writable() const override { return Ready(POLLOUT, writeBy_); }

    ssize_t read(char* ptr, size_t size) override {
        if (bytesLeft_ == 0 || !is_readable()) return -1;
        ssize_t count = recv(sock_, ptr, std::min(size, bytesLeft_), 0);
        if (count > 0) bytesLeft_ -= static_cast<std::size_t>(count);
        return count;
    }

    ssize_t write(const char* ptr, size_t size) override {
        if (!is_writable()) return -1;
        return send(sock_, ptr, size, MSG_NOSIGNAL);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override { Address(getpeername, ip, port); }
    void get_local_ip_and_port(std::string& ip, int& port) const override { Address(getsockname, ip, port); }
    socket_t socket() const override { return sock_; }

private:
    bool Ready(short event, Clock::time_point by) const {
        for (;;) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(by - Clock::now()).count();
            if (left <= 0) return false;
            pollfd watched{sock_, event, 0};
            int ready = poll(&watched, 1, static_cast<int>(left));
            if (ready < 0 && errno == EINTR) continue;
            return ready > 0;
        }
    }

    void Address(int (*get)(int, sockaddr*, socklen_t*), std::string& ip, int& port) const {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        char text[INET_ADDRSTRLEN] = "";
        if (get(sock_, reinterpret_cast<sockaddr*>(&address), &length) == 0 && address.sin_family == AF_INET) {
            inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
            port = ntohs(address.sin_port);
        }
        ip = text;
    }

    int sock_;
    Clock::time_point readBy_;
    Clock::time_point writeBy_;
    std::size_t bytesLeft_;
};

void TurnAway(int sock) {
    const std::string body = "{\"error\":\"the designer has too many connections\"}";
    const std::string answer = "HTTP/1.1 503 Service Unavailable\r\nContent-Type: application/json\r\nContent-Length: " +
                               std::to_string(body.size()) +
                               "\r\nConnection: close\r\nCache-Control: no-store\r\n\r\n" + body;
    send(sock, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
}

}  // namespace

GuardedServer::GuardedServer(ConnectionBounds bounds) : bounds_(bounds) {
    new_task_queue = [this] { return new BoundedPool(bounds_.threads, bounds_.mostWaiting); };
}

bool GuardedServer::process_and_close_socket(socket_t sock) {
    bool answered = false;
    if (shedding) {
        TurnAway(sock);
    } else {
        DeadlineStream stream(sock, bounds_);
        bool closed = false;
        answered = process_request(stream, true, closed, [](httplib::Request&) {});
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return answered;
}
