#include "design/design_command.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <random>

#include "try/local_page.h"
#include "design/designer.h"
#include "design/guarded_server.h"
#include "design/picture_upload.h"
#include "design/request_limits.h"
#include "reading/command_arguments.h"
#include "reading/shown_screen.h"

namespace {

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen design DISC [--port N] [--no-browser]\n"
                 "  DISC           a disc folder holding AUTORUN.INF, or one to make a screen for\n"
                 "  --port N       the port on 127.0.0.1 (default: any free one)\n"
                 "  --no-browser   only print the page's address\n";
    return 2;
}

std::string LowerCase(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

// The parts of an httplib request the designer looks at.
DesignRequest RequestOf(const httplib::Request& request) {
    DesignRequest made;
    made.method = request.method;
    made.path = request.path;
    for (const auto& [name, value] : request.params) made.params.emplace(name, value);
    for (const auto& [name, value] : request.headers) made.headers.emplace(LowerCase(name), value);
    made.body = request.body;
    return made;
}

void Send(const DesignAnswer& answer, httplib::Response& response) {
    response.status = answer.status;
    response.set_content(answer.body, answer.type.c_str());
}

void ErrorAnswer(httplib::Response& response, const std::string& message) {
    response.set_content(nlohmann::json{{"error", message}}.dump(), "application/json");
}

void Route(GuardedServer& server, Designer& designer) {
    // Host, Origin and token are checked before a body is read.
    server.set_pre_routing_handler([&designer](const httplib::Request& request, httplib::Response& response) {
        DesignAnswer refusal;
        if (designer.Admits(RequestOf(request), &refusal)) return httplib::Server::HandlerResponse::Unhandled;
        Send(refusal, response);
        return httplib::Server::HandlerResponse::Handled;
    });
    auto handle = [&designer](const httplib::Request& request, httplib::Response& response) {
        Send(designer.Handle(RequestOf(request)), response);
    };
    server.Get(".*", handle);
    server.Post(".*", handle);
    server.Put(".*", handle);
    server.Patch(".*", handle);
    server.Delete(".*", handle);
    server.Options(".*", handle);
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.body.empty()) ErrorAnswer(response, response.status == 413 ? "the request is too large" : "no such request");
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
        response.status = 500;
        ErrorAnswer(response, "the designer failed on this request");
    });
    // The page's address holds the token: it goes into no cache and to no
    // other site.
    server.set_default_headers({{"Cache-Control", "no-store"}, {"Referrer-Policy", "no-referrer"},
                                {"X-Content-Type-Options", "nosniff"}});
    server.set_payload_max_length(kMostRequestBytes);
}

GuardedServer* running = nullptr;

void StopOnSignal(int) {
    if (running) running->stop();
}

}  // namespace

int RunDesign(int argc, char** argv) {
    CommandArguments arguments({"--port"}, {"--no-browser"});
    std::string problem = arguments.Parse(argc, argv, "DISC");
    if (!problem.empty()) return Usage(problem);
    long port = 0;
    if (arguments.Has("--port") && !ParseWholeNumber(arguments.Value("--port"), 1, 65535, &port)) {
        return Usage("bad port '" + arguments.Value("--port") + "'");
    }
    char resolved[PATH_MAX];
    if (!realpath(arguments.Operand().c_str(), resolved)) return Usage("no folder '" + arguments.Operand() + "'");
    ScriptTarget target;
    struct stat folder;
    const bool starting = !DiscTargetOf(resolved, &target);
    if (starting && (::stat(resolved, &folder) != 0 || !S_ISDIR(folder.st_mode))) {
        return Usage("'" + arguments.Operand() + "' is no folder");
    }

    ConnectionBounds bounds;
    bounds.mostRequestBytes = kMostRequestBytes + (64 << 10);
    GuardedServer server{bounds};
    const int bound = port ? (server.bind_to_port("127.0.0.1", static_cast<int>(port)) ? static_cast<int>(port) : -1)
                           : server.bind_to_any_port("127.0.0.1");
    if (bound <= 0) {
        std::cerr << "discscreen: cannot listen on 127.0.0.1:" << arguments.Value("--port") << "\n";
        return 2;
    }
    char work[] = "/tmp/discscreen-design-XXXXXX";
    if (!mkdtemp(work)) return Usage("cannot make a work folder in /tmp");
    Designer designer(DesignSetup{target, resolved, work, NewToken(), bound, !starting});
    std::string why;
    if (!designer.Load(&why)) {
        rmdir(work);
        return Usage(why);
    }
    Route(server, designer);
    std::string url = "http://127.0.0.1:" + std::to_string(bound) + "/?token=" + designer.Token();
    std::cout << url << std::endl;
    if (!arguments.Has("--no-browser")) OpenBrowser(url);

    running = &server;
    std::signal(SIGINT, StopOnSignal);
    std::signal(SIGTERM, StopOnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    server.listen_after_bind();
    running = nullptr;
    server.Finish();
    designer.EndTries();
    unlink((std::string(work) + "/preview.png").c_str());
    unlink((std::string(work) + "/preview.log").c_str());
    rmdir(work);
    return 0;
}
