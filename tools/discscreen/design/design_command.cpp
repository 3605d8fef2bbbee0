#include "design/design_command.h"

#include <fcntl.h>
#include <httplib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <mutex>
#include <random>

#include "new/new_disc.h"
#include "reading/command_arguments.h"
#include "design/design_files.h"
#include "design/design_model.h"
#include "design/entry_placement.h"
#include "design/picture_upload.h"
#include "pictures/picture_pixels.h"
#include "pictures/png_file.h"
#include "design/script_rewrite.h"
#include "design/vocabulary_json.h"
#include "reading/screen_reading.h"
#include "design/text_picture.h"
#include "reading/shown_screen.h"

using nlohmann::json;

namespace {

constexpr char kTokenHeader[] = "X-Discscreen-Token";

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen design DISC [--port N] [--no-browser]\n"
                 "  DISC           a disc folder holding AUTORUN.INF, or one to make a screen for\n"
                 "  --port N       the port on 127.0.0.1 (default: any free one)\n"
                 "  --no-browser   only print the page's address\n";
    return 2;
}

std::string NewToken() {
    std::random_device device;
    std::string token;
    const char digits[] = "0123456789abcdef";
    for (int i = 0; i < 32; ++i) token += digits[device() % 16];
    return token;
}

// A request the page can fix: 4xx and the reason.
struct BadRequest {
    int status;
    std::string message;
};

void Answer(httplib::Response& response, int status, const std::string& message) {
    response.status = status;
    response.set_content(json{{"error", message}}.dump(), "application/json");
}

class Designer {
public:
    Designer(ScriptTarget target, std::string discRealPath, std::string workFolder)
        : target_(std::move(target)), disc_(std::move(discRealPath)), work_(std::move(workFolder)),
          hasScript_(!target_.scriptPath.empty()) {}

    bool Load(std::string* why) {
        if (ReadWholeFile(target_.scriptPath, &loaded_)) return true;
        *why = "cannot read '" + target_.scriptPath + "'";
        return false;
    }

    void Route(httplib::Server& server, const std::string& token, int port) {
        server.set_pre_routing_handler([token, port](const httplib::Request& request, httplib::Response& response) {
            std::string host = request.get_header_value("Host");
            if (host != "127.0.0.1:" + std::to_string(port) && host != "localhost:" + std::to_string(port)) {
                Answer(response, 403, "this server answers only to 127.0.0.1:" + std::to_string(port));
                return httplib::Server::HandlerResponse::Handled;
            }
            std::string given = request.method == "POST" ? request.get_header_value(kTokenHeader)
                                                         : request.get_param_value("token");
            if (given != token) {
                Answer(response, 403, "the request lacks this run's token");
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
        RouteStart(server);
        server.Get("/", [this, token](const httplib::Request&, httplib::Response& response) {
            Page(HasScript() ? "index.html" : "start.html", "text/html; charset=utf-8", token, response);
        });
        server.Get("/designer.js", [this, token](const httplib::Request&, httplib::Response& response) {
            Page("designer.js", "text/javascript; charset=utf-8", token, response);
        });
        server.Get("/panel.js", [this, token](const httplib::Request&, httplib::Response& response) {
            Page("panel.js", "text/javascript; charset=utf-8", token, response);
        });
        server.Get("/writer.js", [this, token](const httplib::Request&, httplib::Response& response) {
            Page("writer.js", "text/javascript; charset=utf-8", token, response);
        });
        server.Get("/api/vocabulary", Guarded([](const httplib::Request&, httplib::Response& response) {
            response.set_content(VocabularyJson().dump(), "application/json");
        }));
        server.Get("/designer.css", [this, token](const httplib::Request&, httplib::Response& response) {
            Page("designer.css", "text/css; charset=utf-8", token, response);
        });
        server.Get("/picture", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            Picture(request.get_param_value("path"), response);
        }));
        server.Get("/text.png", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            response.set_header("Cache-Control", "max-age=60");
            response.set_content(TextPicturePng(disc_, request), "image/png");
        }));
        for (const char* script : {"drawing.js", "keyboard.js", "align.js"}) {
            server.Get(std::string("/") + script, [this, token, script](const httplib::Request&, httplib::Response& response) {
                Page(script, "text/javascript; charset=utf-8", token, response);
            });
        }
        server.Get("/api/files", Guarded([this](const httplib::Request&, httplib::Response& response) {
            response.set_content(json(FilesOfFolder(disc_)).dump(), "application/json");
        }));
        server.Post("/api/model", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            json body = ParseBody(request);
            std::lock_guard<std::mutex> lock(mutex_);
            response.set_content(Model(body).dump(), "application/json");
        }));
        server.Post("/api/reload", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            json body = ParseBody(request);
            std::lock_guard<std::mutex> lock(mutex_);
            std::string why;
            if (!Load(&why)) throw BadRequest{409, why};
            body["edits"] = json::object();
            response.set_content(Model(body).dump(), "application/json");
        }));
        server.Post("/api/save", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            json body = ParseBody(request);
            std::lock_guard<std::mutex> lock(mutex_);
            Save(body);
            body["edits"] = json::object();
            response.set_content(Model(body).dump(), "application/json");
        }));
        server.Post("/api/upload", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            BroughtPicture kept;
            int status = 0;
            std::string why;
            std::lock_guard<std::mutex> lock(mutex_);
            if (!KeepUploadedPicture(disc_, request.get_param_value("name"), request.body, &kept, &status, &why))
                throw BadRequest{status, why};
            response.set_content(json{{"picture", kept.bitmap}, {"original", kept.original}}.dump(), "application/json");
        }));
        server.Post("/api/convert", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            json body = ParseBody(request);
            BroughtPicture kept;
            int status = 0;
            std::string why;
            std::lock_guard<std::mutex> lock(mutex_);
            if (!ConvertDiscPicture(disc_, body.value("path", std::string()), &kept, &status, &why))
                throw BadRequest{status, why};
            response.set_content(json{{"picture", kept.bitmap}, {"original", kept.original}}.dump(), "application/json");
        }));
        server.Post("/api/place", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            json body = ParseBody(request);
            std::lock_guard<std::mutex> lock(mutex_);
            response.set_content(Place(body).dump(), "application/json");
        }));
        server.Post("/api/preview", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            json body = ParseBody(request);
            Preview(body, response);
        }));
        server.Post("/api/try", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            json body = ParseBody(request);
            std::lock_guard<std::mutex> lock(mutex_);
            response.set_content(json{{"url", Try(body)}}.dump(), "application/json");
        }));
        server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
            if (response.body.empty()) Answer(response, response.status, "no such request");
        });
    }

    // Ends the runs of `discscreen try` still going, by their pids.
    void EndTries() {
        for (pid_t run : tries_) {
            if (waitpid(run, nullptr, WNOHANG) == 0) {
                kill(run, SIGTERM);
                waitpid(run, nullptr, 0);
            }
        }
        tries_.clear();
    }

private:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    bool HasScript() {
        std::lock_guard<std::mutex> lock(mutex_);
        return hasScript_;
    }

    // A folder without a script: the page offers new's styles, and the disc
    // it makes is the one designed from then on.
    void RouteStart(httplib::Server& server) {
        server.Get("/api/styles", Guarded([](const httplib::Request&, httplib::Response& response) {
            json styles = json::array();
            for (const ScreenStyle& style : ScreenStyles()) styles.push_back({{"name", style.name}, {"looks", style.looks}});
            response.set_content(styles.dump(), "application/json");
        }));
        server.Post("/api/new", Guarded([this](const httplib::Request& request, httplib::Response& response) {
            json body = ParseBody(request);
            std::lock_guard<std::mutex> lock(mutex_);
            if (hasScript_) throw BadRequest{409, "the folder has a script already"};
            NewDiscRequest wanted;
            wanted.folder = disc_;
            wanted.title = body.value("title", std::string());
            wanted.style = FindScreenStyle(body.value("style", std::string(ScreenStyles()[0].name)));
            if (!wanted.style) throw BadRequest{400, "no style '" + body.value("style", std::string()) + "'"};
            NewDisc made = MakeNewDisc(wanted);
            if (made.status != 0) throw BadRequest{422, made.problems.empty() ? "no disc made" : made.problems.back()};
            std::string why;
            if (!DiscTargetOf(disc_, &target_) || !Load(&why)) throw BadRequest{500, "the new script cannot be read"};
            hasScript_ = true;
            response.set_content(json{{"said", made.said}, {"problems", made.problems}}.dump(), "application/json");
        }));
    }

    // Bad requests are answered, never fatal.
    static Handler Guarded(Handler handler) {
        return [handler](const httplib::Request& request, httplib::Response& response) {
            try {
                handler(request, response);
            } catch (const BadRequest& bad) {
                Answer(response, bad.status, bad.message);
            } catch (const json::exception& error) {
                Answer(response, 400, std::string("the request is not what was expected: ") + error.what());
            } catch (const std::exception& error) {
                Answer(response, 400, error.what());
            }
        };
    }

    static json ParseBody(const httplib::Request& request) {
        json body = json::parse(request.body);
        if (!body.is_object()) throw BadRequest{400, "the request body is no JSON object"};
        return body;
    }

    void Page(const std::string& name, const char* type, const std::string& token, httplib::Response& response) {
        std::string text;
        if (!ReadWholeFile(std::string(DISCSCREEN_SOURCE_DIR) + "/tools/discscreen/design/page/" + name, &text)) {
            Answer(response, 404, "the designer's " + name + " is missing");
            return;
        }
        const std::string mark = "@TOKEN@";
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) text.replace(at, mark.size(), token);
        response.set_header("Cache-Control", "no-store");
        response.set_content(text, type);
    }

    void Picture(const std::string& relative, httplib::Response& response) {
        std::string path = FileInsideFolder(disc_, relative);
        if (path.empty()) throw BadRequest{404, "'" + relative + "' is no file of the disc"};
        std::string bytes;
        if (!ReadWholeFile(path, &bytes)) throw BadRequest{404, "cannot read '" + relative + "'"};
        PicturePixels pixels;
        std::string why;
        if (!DecodePicture(std::vector<unsigned char>(bytes.begin(), bytes.end()), &pixels, &why)) {
            throw BadRequest{422, "'" + relative + "' is not shown: " + why};
        }
        response.set_content(EncodePng(pixels), "image/png");
    }

    static const SystemLanguage& LanguageOf(const json& body) {
        const SystemLanguage* language = FindSystemLanguage(body.value("lang", std::string("en")));
        if (!language) throw BadRequest{400, "no system language '" + body.value("lang", std::string()) + "'"};
        return *language;
    }

    // A text of the page in the script's encoding.
    std::string ScriptText(const std::string& text, int codePage) const {
        if (IsUtf8Script(loaded_)) return text;
        std::string converted;
        if (!ToScriptText(text, codePage, &converted)) {
            throw BadRequest{422, "'" + text + "' has a character that code page " + std::to_string(codePage) + " lacks"};
        }
        return converted;
    }

    static std::map<int, std::string> FieldEditsOf(const json& fields, const std::function<std::string(const std::string&)>& convert) {
        std::map<int, std::string> edits;
        for (auto field = fields.begin(); field != fields.end(); ++field) {
            edits[std::stoi(field.key())] = convert(field.value().get<std::string>());
        }
        return edits;
    }

    // {"fields": {"LINE": {"FIELD": text}}, "deleted": [LINE], "added": [{afterLine, header, text, fields, deleted}]}
    ScriptEdits EditsOf(const json& body, int codePage) const {
        ScriptEdits edits;
        const json edited = body.value("edits", json::object());
        auto convert = [&](const std::string& text) { return ScriptText(text, codePage); };
        const json fieldEdits = edited.value("fields", json::object());
        const json deleted = edited.value("deleted", json::array());
        const json added = edited.value("added", json::array());
        for (auto line = fieldEdits.begin(); line != fieldEdits.end(); ++line) {
            edits.fields[std::stoi(line.key())] = FieldEditsOf(line.value(), convert);
        }
        for (const json& line : deleted) edits.deletedLines.insert(line.get<int>());
        for (const json& entry : added) {
            NewEntry made;
            made.afterLine = entry.value("afterLine", 0);
            made.header = convert(entry.value("header", std::string()));
            made.text = convert(entry.value("text", std::string()));
            made.fields = FieldEditsOf(entry.value("fields", json::object()), convert);
            made.deleted = entry.value("deleted", false);
            made.atStart = entry.value("atStart", false);
            made.before = entry.value("before", -1);
            edits.added.push_back(made);
        }
        return edits;
    }

    std::string Rewritten(const json& body, int codePage, std::vector<int>* origins) const {
        std::string result, problem;
        if (!RewriteScript(loaded_, EditsOf(body, codePage), &result, &problem, origins)) throw BadRequest{422, problem};
        return result;
    }

    std::string Version() const { return std::to_string(std::hash<std::string>()(loaded_)); }

    json Model(const json& body) {
        const SystemLanguage& language = LanguageOf(body);
        const WindowsSystem* windows = FindWindowsSystem(body.value("windows", std::string("later")));
        if (!windows) throw BadRequest{400, "no Windows '" + body.value("windows", std::string()) + "'"};
        DesignReading reading;
        reading.language = &language;
        reading.windows = windows;
        reading.scriptBytes = Rewritten(body, language.codePage, &reading.lineOrigins);
        reading.target = target_;
        reading.target.scriptPath = work_ + "/" + target_.scriptPath.substr(target_.scriptPath.find_last_of('/') + 1);
        std::string why;
        if (!ReplaceFile(reading.target.scriptPath, reading.scriptBytes, &why)) throw BadRequest{500, why};
        json model = ReadDesignModel(reading);
        model["version"] = Version();
        return model;
    }

    // The new entries that put {"add": {section, selector, number,
    // captionText, text}} where the reader needs it, in the edited script:
    // a [BEGIN] header first when there is none.
    json Place(const json& body) {
        const SystemLanguage& language = LanguageOf(body);
        const WindowsSystem* windows = FindWindowsSystem(body.value("windows", std::string("later")));
        if (!windows) throw BadRequest{400, "no Windows '" + body.value("windows", std::string()) + "'"};
        const json add = body.at("add");
        PlacementRequest asked{add.at("section").get<std::string>(), add.value("selector", std::string()),
                               add.value("number", 0), add.value("captionText", 0)};
        std::vector<int> origins;
        std::string text = Rewritten(body, language.codePage, &origins);
        ScreenReading reading(target_, TargetSystemOf(language, *windows));
        json added = json::array();
        for (const NewPlace& place : PlaceNewEntry(LayOutScript(reading.machine, ScriptLineTexts(text)), asked)) {
            NewEntryAnchor anchor = AnchorOf(place.beforeLine, origins);
            added.push_back({{"afterLine", anchor.afterLine}, {"atStart", anchor.atStart}, {"before", anchor.before},
                             {"header", place.header}, {"text", ""}});
        }
        added.back()["text"] = add.value("text", std::string());
        return {{"added", added}};
    }

    // The saved script as the program shows it under Wine: this tool's own
    // preview, run as a child; the picture is the answer.
    void Preview(const json& body, httplib::Response& response) {
        const SystemLanguage& language = LanguageOf(body);
        const WindowsSystem* windows = FindWindowsSystem(body.value("windows", std::string("later")));
        if (!windows) throw BadRequest{400, "no Windows '" + body.value("windows", std::string()) + "'"};
        char self[PATH_MAX];
        ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
        if (length <= 0) throw BadRequest{500, "cannot find this program"};
        self[length] = '\0';
        std::string picture = work_ + "/preview.png";
        std::string log = work_ + "/preview.log";
        pid_t child = fork();
        if (child == 0) {
            int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (out >= 0) {
                dup2(out, 1);
                dup2(out, 2);
            }
            execl(self, self, "preview", disc_.c_str(), "-o", picture.c_str(), "--lang", language.code,
                  "--windows", windows->name, static_cast<char*>(nullptr));
            _exit(2);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::string said;
            ReadWholeFile(log, &said);
            throw BadRequest{422, "the preview failed: " + said};
        }
        std::string png;
        if (!ReadWholeFile(picture, &png)) throw BadRequest{422, "the preview wrote no picture"};
        unlink(picture.c_str());
        response.set_content(png, "image/png");
    }

    // The saved script live under Wine: this tool's own try command, run as
    // a child that lives on with its page; the answer is that page's address.
    std::string Try(const json& body) {
        const SystemLanguage& language = LanguageOf(body);
        const WindowsSystem* windows = FindWindowsSystem(body.value("windows", std::string("later")));
        if (!windows) throw BadRequest{400, "no Windows '" + body.value("windows", std::string()) + "'"};
        char self[PATH_MAX];
        ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
        if (length <= 0) throw BadRequest{500, "cannot find this program"};
        self[length] = '\0';
        for (auto run = tries_.begin(); run != tries_.end();) {
            run = waitpid(*run, nullptr, WNOHANG) == 0 ? run + 1 : tries_.erase(run);
        }
        const std::string log = work_ + "/try-" + std::to_string(++tryCount_) + ".log";
        pid_t child = fork();
        if (child == 0) {
            setpgid(0, 0);
            int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (out >= 0) {
                dup2(out, 1);
                dup2(out, 2);
            }
            // The run outlives this server: it keeps none of its sockets.
            for (int descriptor = 3; descriptor < 1024; ++descriptor) close(descriptor);
            execl(self, self, "try", disc_.c_str(), "--no-browser", "--lang", language.code, "--windows",
                  windows->name, static_cast<char*>(nullptr));
            _exit(2);
        }
        if (child < 0) throw BadRequest{500, "cannot start a try"};
        tries_.push_back(child);
        // Its first line is the page's address, printed once it listens.
        for (int wait = 0; wait < 300; ++wait) {
            std::string said;
            ReadWholeFile(log, &said);
            std::size_t end = said.find('\n');
            if (said.rfind("http://127.0.0.1:", 0) == 0 && end != std::string::npos) return said.substr(0, end);
            if (waitpid(child, nullptr, WNOHANG) == child) throw BadRequest{422, "the try failed: " + said};
            usleep(100000);
        }
        throw BadRequest{422, "the try gave no address"};
    }

    void Save(const json& body) {
        std::string onDisk;
        if (!ReadWholeFile(target_.scriptPath, &onDisk)) throw BadRequest{409, "the script is gone from the disc folder"};
        if (onDisk != loaded_ || body.value("version", std::string()) != Version()) {
            throw BadRequest{409, "the script changed on disk since it was loaded: reload it, then edit again"};
        }
        std::string result = Rewritten(body, LanguageOf(body).codePage, nullptr);
        std::string why;
        if (result != loaded_ && !ReplaceFile(target_.scriptPath, result, &why)) throw BadRequest{500, why};
        loaded_ = result;
    }

    ScriptTarget target_;
    std::string disc_;
    std::string work_;
    std::string loaded_;  // the script as the page knows it
    bool hasScript_;
    std::mutex mutex_;
    std::vector<pid_t> tries_;  // runs of `discscreen try` started from the page
    int tryCount_ = 0;
};

httplib::Server* running = nullptr;

void StopOnSignal(int) {
    if (running) running->stop();
}

void OpenBrowser(const std::string& url) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return;
    // A grandchild opens it, so that no child of the server is left unreaped.
    pid_t child = fork();
    if (child == 0) {
        if (fork() == 0) {
            setsid();
            for (const char* opener : {"xdg-open", "sensible-browser", "chromium"}) {
                execlp(opener, opener, url.c_str(), static_cast<char*>(nullptr));
            }
            _exit(127);
        }
        _exit(0);
    }
    if (child > 0) waitpid(child, nullptr, 0);
}

}  // namespace

int RunDesign(int argc, char** argv) {
    CommandArguments arguments({"--port"}, {"--no-browser"});
    std::string problem = arguments.Parse(argc, argv, "DISC");
    if (!problem.empty()) return Usage(problem);
    int port = 0;
    if (arguments.Has("--port")) {
        port = std::atoi(arguments.Value("--port").c_str());
        if (port <= 0 || port > 65535) return Usage("bad port '" + arguments.Value("--port") + "'");
    }
    char resolved[PATH_MAX];
    if (!realpath(arguments.Operand().c_str(), resolved)) return Usage("no folder '" + arguments.Operand() + "'");
    ScriptTarget target;
    struct stat folder;
    const bool starting = !DiscTargetOf(resolved, &target);
    if (starting && (::stat(resolved, &folder) != 0 || !S_ISDIR(folder.st_mode)))
        return Usage("'" + arguments.Operand() + "' is no folder");

    char work[] = "/tmp/discscreen-design-XXXXXX";
    if (!mkdtemp(work)) return Usage("cannot make a work folder in /tmp");
    Designer designer(target, resolved, work);
    std::string why;
    if (!starting && !designer.Load(&why)) return Usage(why);

    httplib::Server server;
    server.set_payload_max_length(kMostRequestBytes);
    port = port ? (server.bind_to_port("127.0.0.1", port) ? port : -1) : server.bind_to_any_port("127.0.0.1");
    if (port <= 0) {
        std::cerr << "discscreen: cannot listen on 127.0.0.1:" << arguments.Value("--port") << "\n";
        return 2;
    }
    std::string token = NewToken();
    designer.Route(server, token, port);
    std::string url = "http://127.0.0.1:" + std::to_string(port) + "/?token=" + token;
    std::cout << url << std::endl;
    if (!arguments.Has("--no-browser")) OpenBrowser(url);

    running = &server;
    std::signal(SIGINT, StopOnSignal);
    std::signal(SIGTERM, StopOnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    server.listen_after_bind();
    running = nullptr;
    designer.EndTries();
    // A disc started here has its script's scratch copy under the usual name.
    std::string scratch = std::string(work) + "/" + (starting ? std::string("AUTORUN.INF")
                                                              : target.scriptPath.substr(target.scriptPath.find_last_of('/') + 1));
    unlink(scratch.c_str());
    unlink((std::string(work) + "/preview.log").c_str());
    for (int run = 1; unlink((std::string(work) + "/try-" + std::to_string(run) + ".log").c_str()) == 0; ++run) {}
    rmdir(work);
    return 0;
}
