#pragma once
// The log of one run as it happens: Wine's trace of it read as it grows
// (WineTrace), and the resume scripts that appear in and vanish from the
// prefix's temporary folders. Entries are numbered from 0 and stamped with
// the milliseconds since the log began.
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "try/wine_trace.h"

class RunLog {
public:
    // traceFile: Wine's trace; prefix: the run's Wine prefix; shown is
    // called with each entry as it is logged.
    RunLog(std::string traceFile, std::string prefix, std::function<void(const nlohmann::json&)> shown);
    ~RunLog();
    void Start();
    void Stop();
    // The entries from number `first` on.
    nlohmann::json Since(std::size_t first);

private:
    void Follow();
    void ReadNewLines();
    void WatchResumeScripts();
    void Add(nlohmann::json entry);

    std::string traceFile_;
    std::string prefix_;
    std::function<void(const nlohmann::json&)> shown_;
    WineTrace trace_;
    std::string partial_;   // a line not yet ended
    long long readUpTo_ = 0;
    std::map<std::string, std::string> resumeScripts_;  // Windows path -> text
    std::chrono::steady_clock::time_point begun_;
    std::mutex mutex_;
    std::vector<nlohmann::json> entries_;
    std::atomic<bool> running_{false};
    std::thread thread_;
};
