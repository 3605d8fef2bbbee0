#include "try/run_log.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(100);

// C:\... for a file under the prefix's drive_c.
std::string WindowsPath(const fs::path& file, const fs::path& driveC) {
    std::string relative = fs::relative(file, driveC).string();
    for (char& c : relative) {
        if (c == '/') c = '\\';
    }
    return "C:\\" + relative;
}

std::string TextOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

RunLog::RunLog(std::string traceFile, std::string prefix, std::function<void(const json&)> shown)
    : traceFile_(std::move(traceFile)), prefix_(std::move(prefix)), shown_(std::move(shown)),
      begun_(std::chrono::steady_clock::now()) {}

RunLog::~RunLog() { Stop(); }

void RunLog::Start() {
    running_ = true;
    thread_ = std::thread([this] { Follow(); });
}

void RunLog::Stop() {
    if (!running_.exchange(false)) return;
    if (thread_.joinable()) thread_.join();
}

json RunLog::Since(std::size_t first) {
    std::lock_guard<std::mutex> lock(mutex_);
    json entries = json::array();
    for (std::size_t i = first; i < entries_.size(); ++i) entries.push_back(entries_[i]);
    return entries;
}

void RunLog::Follow() {
    while (running_) {
        ReadNewLines();
        WatchResumeScripts();
        std::this_thread::sleep_for(kPollInterval);
    }
    ReadNewLines();
}

void RunLog::ReadNewLines() {
    std::ifstream in(traceFile_, std::ios::binary);
    if (!in) return;
    in.seekg(readUpTo_);
    std::string chunk((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    readUpTo_ += static_cast<long long>(chunk.size());
    partial_ += chunk;
    std::size_t start = 0;
    for (std::size_t end; (end = partial_.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = partial_.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (json& entry : trace_.Read(line)) Add(std::move(entry));
    }
    partial_.erase(0, start);
}

// The program's resume scripts are AUTORUN<number>.INF in the temporary
// folder (the user's, or the system's where there is none).
void RunLog::WatchResumeScripts() {
    static const std::regex name(R"(AUTORUN[0-9]+\.INF)", std::regex::icase);
    const fs::path driveC = fs::path(prefix_) / "drive_c";
    std::map<std::string, std::string> found;
    std::vector<fs::path> folders = {driveC / "windows" / "temp"};
    std::error_code error;
    for (const fs::directory_entry& user : fs::directory_iterator(driveC / "users", error)) {
        folders.push_back(user.path() / "Temp");
        folders.push_back(user.path() / "AppData" / "Local" / "Temp");
    }
    for (const fs::path& folder : folders) {
        for (const fs::directory_entry& file : fs::directory_iterator(folder, error)) {
            if (std::regex_match(file.path().filename().string(), name)) {
                found[WindowsPath(file.path(), driveC)] = TextOf(file.path());
            }
        }
    }
    for (const auto& script : found) {
        auto known = resumeScripts_.find(script.first);
        if (known != resumeScripts_.end() && known->second == script.second) continue;
        json entry = {{"kind", "resume-written"}, {"path", script.first}, {"script", script.second},
                      {"text", "the resume script " + script.first + " is written"}};
        Add(entry);
    }
    for (const auto& script : resumeScripts_) {
        if (found.count(script.first)) continue;
        Add(json{{"kind", "resume-withdrawn"}, {"path", script.first},
                 {"text", "the resume script " + script.first + " is gone"}});
    }
    resumeScripts_ = std::move(found);
}

void RunLog::Add(json entry) {
    entry["ms"] = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begun_).count();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entry["n"] = entries_.size();
        entries_.push_back(entry);
    }
    if (shown_) shown_(entry);
}
