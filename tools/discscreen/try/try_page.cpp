#include "try/try_page.h"

#include <strings.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

constexpr char kTokenHeader[] = "X-Discscreen-Token";
constexpr char kNovncFolder[] = "/usr/share/novnc";

void Answer(httplib::Response& response, int status, const std::string& message) {
    response.status = status;
    response.set_content(json{{"error", message}}.dump(), "application/json");
}

bool ReadFile(const std::string& path, std::string* bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    *bytes = text.str();
    return true;
}

const char* TypeOf(const std::string& path) {
    const std::string extension = fs::path(path).extension().string();
    if (extension == ".js") return "text/javascript; charset=utf-8";
    if (extension == ".css") return "text/css; charset=utf-8";
    if (extension == ".html") return "text/html; charset=utf-8";
    if (extension == ".svg") return "image/svg+xml";
    if (extension == ".png") return "image/png";
    if (extension == ".json") return "application/json";
    if (strcasecmp(extension.c_str(), ".wav") == 0) return "audio/wav";
    return "application/octet-stream";
}

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

std::string DiscFileOf(const std::string& disc, const std::string& windowsPath) {
    std::string relative = windowsPath;
    if (relative.size() >= 2 && relative[1] == ':') relative.erase(0, 2);
    fs::path found = disc;
    std::stringstream parts(relative);
    std::string part;
    std::error_code error;
    while (std::getline(parts, part, '\\')) {
        if (part.empty() || part == ".") continue;
        if (part == "..") return std::string();
        bool matched = false;
        for (const fs::directory_entry& entry : fs::directory_iterator(found, error)) {
            if (strcasecmp(entry.path().filename().c_str(), part.c_str()) == 0) {
                found = entry.path();
                matched = true;
                break;
            }
        }
        if (!matched) return std::string();
    }
    return fs::is_regular_file(found, error) ? found.string() : std::string();
}

TryPage::TryPage(TryPageSettings settings, RunLog& log, std::function<void()> end)
    : settings_(std::move(settings)), log_(log), end_(std::move(end)) {}

double TryPage::SecondsSinceSeen() const { return (NowMs() - seenAt_) / 1000.0; }

bool TryPage::Allowed(const httplib::Request& request, httplib::Response& response) const {
    const std::string port = std::to_string(settings_.port);
    const std::string host = request.get_header_value("Host");
    if (host != "127.0.0.1:" + port && host != "localhost:" + port) {
        Answer(response, 403, "this server answers only to 127.0.0.1:" + port);
        return false;
    }
    const std::string novnc = "/novnc/" + settings_.token + "/";
    bool tokenGiven = request.get_param_value("token") == settings_.token ||
                      request.get_header_value(kTokenHeader) == settings_.token ||
                      (request.method == "GET" && request.path.rfind(novnc, 0) == 0);
    if (!tokenGiven) {
        Answer(response, 403, "the request lacks this run's token");
        return false;
    }
    return true;
}

void TryPage::Route(httplib::Server& server) {
    server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        return Allowed(request, response) ? httplib::Server::HandlerResponse::Unhandled
                                          : httplib::Server::HandlerResponse::Handled;
    });
    server.Get("/", [this](const httplib::Request&, httplib::Response& response) {
        PageFile("try.html", TypeOf("try.html"), response);
    });
    for (const char* name : {"try.js", "try.css"}) {
        server.Get(std::string("/") + name, [this, name](const httplib::Request&, httplib::Response& response) {
            PageFile(name, TypeOf(name), response);
        });
    }
    server.Get(R"(/novnc/[0-9a-f]+/(.+))", [this](const httplib::Request& request, httplib::Response& response) {
        NovncFile(request.matches[1], response);
    });
    server.Get("/api/log", [this](const httplib::Request& request, httplib::Response& response) {
        seenAt_ = NowMs();
        seen_ = true;
        std::size_t since = std::strtoul(request.get_param_value("since").c_str(), nullptr, 10);
        response.set_header("Cache-Control", "no-store");
        response.set_content(json{{"entries", log_.Since(since)}, {"running", running_.load()},
                                   {"display", fs::exists(settings_.display)}}.dump(), "application/json");
    });
    server.Get("/sound", [this](const httplib::Request& request, httplib::Response& response) {
        Sound(request.get_param_value("path"), response);
    });
    server.Post("/api/end", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content("{}", "application/json");
        end_();
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) Answer(response, response.status, "no such request");
    });
}

void TryPage::PageFile(const std::string& name, const char* type, httplib::Response& response) const {
    std::string text;
    if (!ReadFile(std::string(DISCSCREEN_SOURCE_DIR) + "/tools/discscreen/try/page/" + name, &text)) {
        Answer(response, 404, "the try page's " + name + " is missing");
        return;
    }
    const std::pair<std::string, std::string> marks[] = {
        {"@TOKEN@", settings_.token}, {"@STREAM_PORT@", std::to_string(settings_.streamPort)},
        {"@LANGUAGE@", settings_.language}, {"@WINDOWS@", settings_.windows}};
    for (const auto& mark : marks) {
        for (std::size_t at = text.find(mark.first); at != std::string::npos; at = text.find(mark.first, at + mark.second.size())) {
            text.replace(at, mark.first.size(), mark.second);
        }
    }
    response.set_header("Cache-Control", "no-store");
    response.set_content(text, type);
}

void TryPage::NovncFile(const std::string& path, httplib::Response& response) const {
    std::string bytes;
    if (path.find("..") != std::string::npos || !ReadFile(std::string(kNovncFolder) + "/" + path, &bytes)) {
        Answer(response, 404, "noVNC has no file '" + path + "'");
        return;
    }
    response.set_content(bytes, TypeOf(path));
}

void TryPage::Sound(const std::string& windowsPath, httplib::Response& response) const {
    std::string file = DiscFileOf(settings_.disc, windowsPath), bytes;
    if (file.empty() || !ReadFile(file, &bytes)) {
        Answer(response, 404, "'" + windowsPath + "' is no file of the disc");
        return;
    }
    response.set_content(bytes, TypeOf(file));
}
