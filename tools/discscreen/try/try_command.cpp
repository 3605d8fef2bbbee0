#include "try/try_command.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <thread>

#include "try/local_page.h"
#include "reading/command_arguments.h"
#include "reading/shown_screen.h"
#include "reading/systems.h"
#include "try/child_process.h"
#include "try/run_log.h"
#include "try/try_page.h"

namespace {

constexpr char kTryFolder[] = DISCSCREEN_SOURCE_DIR "/tools/discscreen/try";
// The page says when it is closed; without that, this long without a
// question for the log means it is gone (a browser asks a hidden page's
// timers at most once a minute).
constexpr double kPageGoneSeconds = 90;
constexpr int kNoPageSeconds = 300;  // a run nobody opens

int Usage(const std::string& problem) {
    if (!problem.empty()) std::cerr << "discscreen: " << problem << "\n";
    std::cerr << "usage: discscreen try DISC [--lang CODE] [--windows NAME] [--port N] [--minutes N] [--no-browser]\n"
                 "  DISC             a disc folder holding AUTORUN.INF\n"
                 "  --lang CODE      the system's language: " << SystemLanguageCodes() << " (default en)\n"
                 "  --windows NAME   the Windows version: " << WindowsSystemNames() << " (default later)\n"
                 "  --port N         the page's port on 127.0.0.1 (default: any free one)\n"
                 "  --minutes N      the run ends after this long (default 30)\n"
                 "  --no-browser     only print the page's address\n";
    return 2;
}

// A socket listening on 127.0.0.1 at a free port, for websockify.
int ListenOnLoopback(int* port) {
    int listening = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listening < 0 || bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listening, 16) != 0 || getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listening >= 0) close(listening);
        return -1;
    }
    *port = ntohs(address.sin_port);
    return listening;
}

bool WritePrivateFile(const std::string& path, const std::string& text) {
    int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (file < 0) return false;
    bool written = write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return close(file) == 0 && written;
}

httplib::Server* running = nullptr;
void StopOnSignal(int) {
    if (running) running->stop();
}

struct RunPlan {
    std::string disc;
    const SystemLanguage* language;
    const WindowsSystem* windows;
    int port = 0;
    int minutes = 30;
    bool browser = true;
};

// The run: try.sh for the Wine side, websockify for the stream, the page's
// server here; it ends with the page, the time limit, Ctrl-C, or try.sh.
int Run(const RunPlan& plan, const std::string& work) {
    httplib::Server server;
    int port = plan.port ? (server.bind_to_port("127.0.0.1", plan.port) ? plan.port : -1)
                         : server.bind_to_any_port("127.0.0.1");
    int streamPort = 0;
    int streamSocket = ListenOnLoopback(&streamPort);
    if (port <= 0 || streamSocket < 0) {
        std::cerr << "discscreen: cannot listen on 127.0.0.1\n";
        return 2;
    }
    const std::string token = NewToken();
    const std::string streamSettings = work + "/stream.conf";
    WritePrivateFile(streamSettings, token + "\n" + work + "/vnc/screen.sock\n" + std::to_string(streamPort) + "\n" +
                                         std::to_string(port) + "\n");

    ChildProcess wine, stream;
    if (!wine.Start({"bash", std::string(kTryFolder) + "/try.sh", plan.disc, work, plan.language->locale,
                     plan.windows->wineVersion}, {}, -1, "")) {
        std::cerr << "discscreen: cannot run bash\n";
        return 2;
    }
    stream.Start({"websockify", "--inetd", "--token-plugin", "stream_checks.RunToken", "--token-source",
                  streamSettings, "--auth-plugin", "stream_checks.PageOnly", "--auth-source", streamSettings},
                 {std::string("PYTHONPATH=") + kTryFolder, "PYTHONDONTWRITEBYTECODE=1"}, streamSocket,
                 work + "/websockify.log");
    close(streamSocket);

    RunLog log(work + "/trace.log", work + "/prefix", [](const nlohmann::json& entry) {
        std::cout << "[" << entry["ms"].get<long long>() / 1000.0 << " s] " << entry["text"].get<std::string>() << std::endl;
    });
    // Whoever ends the run first says why.
    std::atomic<bool> ending{false};
    std::string why;
    auto end = [&](const char* reason) {
        if (ending.exchange(true)) return;
        why = reason;
        server.stop();
    };
    TryPage page({token, port, streamPort, plan.disc, work + "/vnc/screen.sock", plan.language->code, plan.windows->name}, log, [&] { end("the page ended it"); });
    page.Route(server);
    log.Start();

    const std::string url = "http://127.0.0.1:" + std::to_string(port) + "/?token=" + token;
    std::cout << url << std::endl;
    if (plan.browser) OpenBrowser(url);

    std::thread watch([&] {
        auto limit = std::chrono::steady_clock::now() + std::chrono::minutes(plan.minutes);
        auto displayBy = std::chrono::steady_clock::now() + std::chrono::seconds(kNoPageSeconds);
        while (!ending) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            if (!wine.Running()) end("the Wine side ended");
            else if (std::chrono::steady_clock::now() > limit) end("the time limit was reached");
            else if (page.Seen() && page.SecondsSinceSeen() > kPageGoneSeconds) end("the page was closed");
            else if (!page.Seen() && std::chrono::steady_clock::now() > displayBy) end("no page came");
        }
    });
    running = &server;
    std::signal(SIGINT, StopOnSignal);
    std::signal(SIGTERM, StopOnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    server.listen_after_bind();
    running = nullptr;
    if (!ending.exchange(true)) why = "interrupted";
    watch.join();
    std::cout << "discscreen: ending the run (" << why << ")" << std::endl;
    stream.End(5);
    int status = wine.End(60);
    log.Stop();
    return status == 0 ? 0 : status == 4 ? 1 : 2;
}

}  // namespace

int RunTry(int argc, char** argv) {
    CommandArguments words({"--lang", "--windows", "--port", "--minutes"}, {"--no-browser"});
    std::string problem = words.Parse(argc, argv, "DISC");
    if (!problem.empty()) return Usage(problem);
    RunPlan plan;
    plan.language = FindSystemLanguage(words.Value("--lang", "en"));
    if (!plan.language) return Usage("unknown language '" + words.Value("--lang") + "'");
    plan.windows = FindWindowsSystem(words.Value("--windows", "later"));
    if (!plan.windows) return Usage("unknown Windows '" + words.Value("--windows") + "'");
    if (words.Has("--port")) {
        plan.port = std::atoi(words.Value("--port").c_str());
        if (plan.port <= 0 || plan.port > 65535) return Usage("bad port '" + words.Value("--port") + "'");
    }
    if (words.Has("--minutes")) {
        plan.minutes = std::atoi(words.Value("--minutes").c_str());
        if (plan.minutes <= 0) return Usage("bad time limit '" + words.Value("--minutes") + "'");
    }
    plan.browser = !words.Has("--no-browser");
    char resolved[PATH_MAX];
    if (!realpath(words.Operand().c_str(), resolved)) return Usage("no folder '" + words.Operand() + "'");
    plan.disc = resolved;
    ScriptTarget target;
    if (!DiscTargetOf(plan.disc, &target)) return Usage("'" + words.Operand() + "' holds no AUTORUN.INF");

    char work[] = "/tmp/discscreen-try-XXXXXX";
    if (!mkdtemp(work)) return Usage("cannot make a work folder in /tmp");
    int status = Run(plan, work);
    std::error_code error;
    std::filesystem::remove_all(work, error);
    return status;
}
