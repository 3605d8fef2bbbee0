#pragma once
// The try page's server: the page, noVNC's files, the run's log and the
// disc's sounds, on 127.0.0.1 under the designer's rules: the Host must be
// this server's, and every request carries the run's token (in the query,
// in the header X-Discscreen-Token, or, for noVNC's files, which load one
// another by relative paths, as the first folder of the path).
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>

#include "try/run_log.h"

struct TryPageSettings {
    std::string token;
    int port = 0;
    int streamPort = 0;     // websockify's, which checks the token itself
    std::string disc;       // the author's folder, for the sounds
    std::string display;    // x11vnc's socket: the display is served once it exists
    std::string language;   // shown on the page
    std::string windows;
};

class TryPage {
public:
    TryPage(TryPageSettings settings, RunLog& log, std::function<void()> end);
    void Route(httplib::Server& server);
    // Whether the page has asked for the log at all, and the seconds since
    // it last did.
    bool Seen() const { return seen_; }
    double SecondsSinceSeen() const;
    void SetRunning(bool running) { running_ = running; }

private:
    bool Allowed(const httplib::Request& request, httplib::Response& response) const;
    void PageFile(const std::string& name, const char* type, httplib::Response& response) const;
    void NovncFile(const std::string& path, httplib::Response& response) const;
    void Sound(const std::string& windowsPath, httplib::Response& response) const;

    TryPageSettings settings_;
    RunLog& log_;
    std::function<void()> end_;
    std::atomic<bool> seen_{false};
    std::atomic<bool> running_{true};
    std::atomic<long long> seenAt_{0};
};

// The file of disc folder `disc` that Windows path `windowsPath` (D:\...)
// names, matched without regard to case as Windows does; empty when there
// is none or the path leaves the folder.
std::string DiscFileOf(const std::string& disc, const std::string& windowsPath);
