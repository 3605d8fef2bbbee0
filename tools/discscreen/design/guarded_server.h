#pragma once
// The designer's web server: cpp-httplib, with each connection held to one
// request. One thread gathers the requests of every new connection at once;
// a request must come whole within a total deadline (not a timeout that
// starts again with every byte) and a bounded size, or it is answered 408 or
// 413, and only a whole request goes to a worker. The connections waiting
// are bounded too (503 beyond), so that slow or many clients cannot stall
// the page's requests or grow the server.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

struct ConnectionBounds {
    std::chrono::milliseconds requestDeadline{5000};   // from the first wait for the request to its last byte
    std::chrono::milliseconds answerDeadline{30000};   // for writing the answer
    std::size_t mostRequestBytes = 2 << 20;            // head and body of one request
    std::size_t mostHeldBytes = 48 << 20;              // of every request being gathered or answered
    std::size_t threads = 32;
    std::size_t mostWaiting = 256;                     // connections whose request is still coming; beyond: 503
};

class BoundedPool;
class RequestGatherer;

class GuardedServer : public httplib::Server {
public:
    explicit GuardedServer(ConnectionBounds bounds);
    ~GuardedServer() override;
    // After listening has stopped: waits for the requests still being
    // answered, and drops those still coming.
    void Finish();

private:
    bool process_and_close_socket(socket_t sock) override;
    void Serve(int sock, std::string gathered);

    ConnectionBounds bounds_;
    std::atomic<std::size_t> heldBytes_{0};
    std::unique_ptr<BoundedPool> workers_;
    std::unique_ptr<RequestGatherer> gatherer_;
};
