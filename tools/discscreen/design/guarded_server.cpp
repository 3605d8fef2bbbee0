#include "design/guarded_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

// A fixed set of workers over a queue.
class BoundedPool : public httplib::TaskQueue {
public:
    BoundedPool(std::size_t threads, std::size_t mostWaiting) : mostWaiting_(mostWaiting) {
        for (std::size_t i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
    }
    ~BoundedPool() override { shutdown(); }

    void enqueue(std::function<void()> job) override {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (jobs_.size() < mostWaiting_) jobs_.push_back(std::move(job));
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

namespace {

// A connection's socket under deadlines: every read waits at most until the
// request's deadline, every write until the answer's.
class DeadlineStream : public httplib::Stream {
public:
    DeadlineStream(int sock, const ConnectionBounds& bounds, std::string gathered)
        : gathered_(std::move(gathered)),
          sock_(sock),
          readBy_(Clock::now() + bounds.requestDeadline),
          writeBy_(Clock::now() + bounds.answerDeadline),
          bytesLeft_(bounds.mostRequestBytes) {}

    bool is_readable() const override { return used_ < gathered_.size() || Ready(POLLIN, readBy_); }
    bool is_writable() const override { return Ready(POLLOUT, writeBy_); }

    ssize_t read(char* ptr, size_t size) override {
        if (used_ < gathered_.size()) {
            const std::size_t count = std::min(size, gathered_.size() - used_);
            std::memcpy(ptr, gathered_.data() + used_, count);
            used_ += count;
            if (used_ == gathered_.size()) std::string().swap(gathered_);  // httplib keeps its own copy
            return static_cast<ssize_t>(count);
        }
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

    std::string gathered_;  // what came before a worker took the connection
    std::size_t used_ = 0;
    int sock_;
    Clock::time_point readBy_;
    Clock::time_point writeBy_;
    std::size_t bytesLeft_;
};

void Refuse(int sock, const char* status, const std::string& message) {
    const std::string body = "{\"error\":\"" + message + "\"}";
    const std::string answer = std::string("HTTP/1.1 ") + status + "\r\nContent-Type: application/json\r\nContent-Length: " +
                               std::to_string(body.size()) +
                               "\r\nConnection: close\r\nCache-Control: no-store\r\nReferrer-Policy: no-referrer\r\n"
                               "X-Content-Type-Options: nosniff\r\n\r\n" + body;
    send(sock, answer.data(), answer.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
}

// Whether the bytes hold a whole request head, and its body when a length
// is given; a chunked or an expected body is left to the worker.
bool WholeRequest(const std::string& bytes) {
    const std::size_t headEnd = bytes.find("\r\n\r\n");
    if (headEnd == std::string::npos) return false;
    std::string head = bytes.substr(0, headEnd + 2);
    for (char& ch : head) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const std::size_t length = head.find("\r\ncontent-length:");
    // A client that waits for "100 Continue" sends its body to the worker.
    if (length == std::string::npos || head.find("\r\nexpect:") != std::string::npos) return true;
    const unsigned long long body = std::strtoull(head.c_str() + length + 17, nullptr, 10);
    return bytes.size() - (headEnd + 4) >= body;
}

}  // namespace

// One thread that waits on every new connection at once until its request
// has come whole, or its deadline has passed: a slow client holds a socket,
// never a worker.
class RequestGatherer {
public:
    using Ready = std::function<void(int sock, std::string bytes)>;

    RequestGatherer(const ConnectionBounds& bounds, std::atomic<std::size_t>& held, Ready ready)
        : bounds_(bounds), ready_(std::move(ready)), held_(held) {
        if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
        thread_ = std::thread([this] { Gather(); });
    }

    ~RequestGatherer() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        Wake();
        thread_.join();
        for (Pending& pending : pending_) ::close(pending.sock);
        for (int sock : arriving_) ::close(sock);
        ::close(wake_[0]);
        ::close(wake_[1]);
    }

    // Bytes of a request that has been answered, or dropped.
    void Release(std::size_t bytes) { held_ -= bytes; }

    void Add(int sock) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            arriving_.push_back(sock);
        }
        Wake();
    }

private:
    struct Pending {
        int sock;
        Clock::time_point by;
        std::string bytes;
    };

    void Wake() {
        const char byte = 0;
        if (::write(wake_[1], &byte, 1) < 0) {}
    }

    bool TakeArrivals() {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int sock : arriving_) {
            if (pending_.size() >= bounds_.mostWaiting) {
                Refuse(sock, "503 Service Unavailable", "the designer has too many connections");
            } else {
                pending_.push_back({sock, Clock::now() + bounds_.requestDeadline, {}});
            }
        }
        arriving_.clear();
        return !stopping_;
    }

    void Gather() {
        while (TakeArrivals()) {
            std::vector<pollfd> watched{{wake_[0], POLLIN, 0}};
            Clock::time_point soonest = Clock::now() + std::chrono::seconds(60);
            for (const Pending& pending : pending_) {
                watched.push_back({pending.sock, POLLIN, 0});
                soonest = std::min(soonest, pending.by);
            }
            auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(soonest - Clock::now()).count();
            poll(watched.data(), watched.size(), static_cast<int>(std::max<long long>(0, wait) + 1));
            char drained[64];
            while (::read(wake_[0], drained, sizeof drained) > 0) {}
            std::vector<Pending> still;
            for (std::size_t i = 0; i < pending_.size(); ++i) Step(std::move(pending_[i]), watched[i + 1].revents, &still);
            pending_ = std::move(still);
        }
    }

    void Step(Pending pending, short events, std::vector<Pending>* still) {
        if (events & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[65536];
            ssize_t count = recv(pending.sock, buffer, sizeof buffer, MSG_DONTWAIT);
            if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) {
                Release(pending.bytes.size());
                ::close(pending.sock);
                return;
            }
            if (count > 0 && held_ + static_cast<std::size_t>(count) > bounds_.mostHeldBytes) {
                Release(pending.bytes.size());
                Refuse(pending.sock, "503 Service Unavailable", "the designer holds too many requests at once");
                return;
            }
            if (count > 0) {
                pending.bytes.append(buffer, static_cast<std::size_t>(count));
                held_ += static_cast<std::size_t>(count);
            }
            if (pending.bytes.size() > bounds_.mostRequestBytes) {
                Release(pending.bytes.size());
                Refuse(pending.sock, "413 Payload Too Large", "the request is too large");
                return;
            }
            if (WholeRequest(pending.bytes)) {
                // The bytes stay counted until the request is answered.
                ready_(pending.sock, std::move(pending.bytes));
                return;
            }
        }
        if (Clock::now() >= pending.by) {
            Release(pending.bytes.size());
            Refuse(pending.sock, "408 Request Timeout", "the request did not come whole in time");
            return;
        }
        still->push_back(std::move(pending));
    }

    const ConnectionBounds& bounds_;
    Ready ready_;
    int wake_[2];
    std::mutex mutex_;
    std::vector<int> arriving_;
    bool stopping_ = false;
    std::atomic<std::size_t>& held_;  // bytes of requests gathered and not yet answered
    std::vector<Pending> pending_;  // the gathering thread's own
    std::thread thread_;
};

GuardedServer::~GuardedServer() { Finish(); }

void GuardedServer::Finish() {
    gatherer_.reset();
    workers_.reset();
}

GuardedServer::GuardedServer(ConnectionBounds bounds) : bounds_(bounds) {
    // httplib's own workers only hand each connection to the gatherer.
    new_task_queue = [] { return new BoundedPool(2, SIZE_MAX); };
    workers_ = std::make_unique<BoundedPool>(bounds_.threads, SIZE_MAX);
    gatherer_ = std::make_unique<RequestGatherer>(bounds_, heldBytes_, [this](int sock, std::string bytes) {
        auto* bytesHeld = new std::string(std::move(bytes));
        workers_->enqueue([this, sock, bytesHeld] {
            std::unique_ptr<std::string> gathered(bytesHeld);
            const std::size_t size = gathered->size();
            Serve(sock, std::move(*gathered));
            heldBytes_ -= size;
        });
    });
}

bool GuardedServer::process_and_close_socket(socket_t sock) {
    if (gatherer_) {
        gatherer_->Add(sock);
    } else {
        ::close(sock);
    }
    return true;
}

void GuardedServer::Serve(int sock, std::string gathered) {
    DeadlineStream stream(sock, bounds_, std::move(gathered));
    bool closed = false;
    // Answers go to this machine alone: compressing them only costs time
    // (Brotli at its default level took 100 to 350 ms for the page and each
    // reading of the script).
    process_request(stream, true, closed, [](httplib::Request& request) { request.headers.erase("Accept-Encoding"); });
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
}
