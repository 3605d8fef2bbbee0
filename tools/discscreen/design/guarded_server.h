#pragma once
// The designer's web server: cpp-httplib, with each connection held to one
// request that must arrive whole within a total deadline (not a timeout that
// starts again with every byte), to a bounded number of bytes, and with a
// bounded queue of waiting connections, so that slow or many clients cannot
// stall the page's requests or grow the server.
#include <httplib.h>

#include <chrono>
#include <cstddef>

struct ConnectionBounds {
    std::chrono::milliseconds requestDeadline{5000};   // from the first wait for the request to its last byte
    std::chrono::milliseconds answerDeadline{30000};   // for writing the answer
    std::size_t mostRequestBytes = 2 << 20;            // head and body
    std::size_t threads = 32;
    std::size_t mostWaiting = 256;                     // beyond: answered 503 at once
};

class GuardedServer : public httplib::Server {
public:
    explicit GuardedServer(ConnectionBounds bounds);

private:
    bool process_and_close_socket(socket_t sock) override;

    ConnectionBounds bounds_;
};
