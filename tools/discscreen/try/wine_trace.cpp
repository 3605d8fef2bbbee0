#include "try/wine_trace.h"

#include <strings.h>

#include <cstdlib>
#include <regex>

using nlohmann::json;

namespace {

// The facts of a relayed call: "Call KERNEL32.NAME(ARGS) ret=..."; only the
// program's own call counts, not its forward inside the system's libraries.
bool IsCall(const std::string& rest, const char* function, std::string* arguments) {
    static const std::regex call(R"(^Call ([A-Za-z0-9_]+)\.([A-Za-z]+)\((.*)\) ret=[0-9a-f]+$)");
    std::smatch match;
    if (!std::regex_match(rest, match, call) || match[2] != function) return false;
    if (strcasecmp(match[1].str().c_str(), "kernelbase") == 0) return false;
    *arguments = match[3];
    return true;
}

// The first quoted string among a call's arguments.
std::string QuotedArgument(const std::string& arguments) {
    std::size_t at = arguments.find('"');
    return at == std::string::npos ? std::string() : UnquoteWineString(arguments, &at);
}

std::string Quoted(const std::string& rest, const std::string& after) {
    std::size_t at = rest.find(after);
    if (at == std::string::npos) return std::string();
    at = rest.find('"', at + after.size());
    return at == std::string::npos ? std::string() : UnquoteWineString(rest, &at);
}

json Entry(const char* kind, const std::string& text) { return json{{"kind", kind}, {"text", text}}; }

const char* RestartKind(unsigned long flags) {
    switch (flags & 0x0B) {
        case 0x00: return "log off";
        case 0x01: return "shut down";
        case 0x02: return "restart";
        default: return "power off";
    }
}

}  // namespace

std::string UnquoteWineString(const std::string& text, std::size_t* at) {
    std::string result;
    std::size_t i = *at + 1;
    for (; i < text.size() && text[i] != '"'; ++i) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            result += text[i];
            continue;
        }
        char escaped = text[++i];
        if (escaped == 'n') result += '\n';
        else if (escaped == 'r') result += '\r';
        else if (escaped == 't') result += '\t';
        else if (escaped == 'x' || escaped == 'u') {
            std::size_t digits = escaped == 'x' ? 2 : 4;
            unsigned long code = std::strtoul(text.substr(i + 1, digits).c_str(), nullptr, 16);
            result += code < 0x80 ? static_cast<char>(code) : '?';
            i += digits;
        } else result += escaped;
    }
    *at = i + 1;
    return result;
}

std::string WineTrace::ProcessOf(const std::string& thread) {
    auto known = processOfThread_.find(thread);
    if (known != processOfThread_.end()) return known->second;
    // Threads the trace does not see made (the screen's own workers) are
    // taken for the screen's.
    if (root_.empty()) {
        root_ = thread;
        processes_[root_].program = "D:\\AUTORUN.EXE";
        processes_[root_].folder = "D:\\";
    }
    return root_;
}

std::string WineTrace::NameOf(const std::string& process) {
    const std::string& program = processes_[process].program;
    std::size_t slash = program.find_last_of('\\');
    return slash == std::string::npos ? program : program.substr(slash + 1);
}

std::vector<json> WineTrace::Read(const std::string& line) {
    std::vector<json> entries;
    std::size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0 || line.find_first_not_of("0123456789abcdef") != colon) return entries;
    const std::string thread = line.substr(0, colon);
    const std::string rest = line.substr(colon + 1);
    const std::string process = ProcessOf(thread);
    std::string arguments;

    if (rest.rfind("trace:process:CreateProcessInternalW app ", 0) == 0) {
        commandOfThread_[thread] = Quoted(rest, " cmdline ");
    } else if (rest.rfind("trace:process:NtCreateUserProcess ", 0) == 0 || rest.rfind("trace:process:CreateProcessInternalW started process ", 0) == 0) {
        for (json& entry : Started(thread, rest)) entries.push_back(std::move(entry));
    } else if (rest.rfind("trace:exec:SHELL_FindExecutable L\"", 0) == 0) {
        std::size_t at = rest.find('"');
        documentOfThread_[thread] = UnquoteWineString(rest, &at);
    } else if (rest.rfind("trace:exec:FindExecutableA returning", 0) == 0) {
        std::string document = documentOfThread_[thread];
        std::string program = rest.size() > 37 ? rest.substr(37) : std::string();
        // A program is its own; only a document's lookup is news.
        if (strcasecmp(program.c_str(), document.c_str()) == 0) return entries;
        json entry = Entry("lookup", program.empty() ? "no program opens " + document
                                                     : document + " opens with " + program);
        entry["document"] = document;
        entry["program"] = program;
        entries.push_back(entry);
        if (!program.empty()) howOfThread_[thread] = "document, found by the shell";
    } else if (IsCall(rest, "RegOpenKeyExA", &arguments)) {
        // The program finds a document's program in the classes itself:
        // the extension's key, then its class's command of a verb.
        static const std::regex command(R"(^(?:Software\\Classes\\)?[^\\]+\\shell\\([^\\]+)\\command$)", std::regex::icase);
        std::smatch match;
        std::string key = QuotedArgument(arguments);
        if (std::regex_match(key, match, command)) howOfThread_[thread] = "document, verb " + match[1].str();
    } else if (rest.rfind("trace:exec:SHELL_execute ", 0) == 0) {
        std::string verb = Quoted(rest, "verb=");
        howOfThread_[thread] = verb == "runas" ? "elevated" : "shell";
    } else if (rest.rfind("Ret  KERNEL32.CreateProcessA() retval=00000000", 0) == 0) {
        // A program Wine cannot start (a 32-bit one under 64-bit Wine, a
        // missing file) is the program's failure to start it.
        const std::string command = commandOfThread_[thread];
        json entry = Entry("start-failed", NameOf(process) + " could not start " + command);
        entry["command"] = command;
        entries.push_back(entry);
    } else if (IsCall(rest, "SetCurrentDirectoryA", &arguments)) {
        folderOfThread_[thread] = QuotedArgument(arguments);
    } else if (rest.rfind("Ret  KERNEL32.SetCurrentDirectoryA() retval=00000001", 0) == 0) {
        processes_[process].folder = folderOfThread_[thread];
    } else if (IsCall(rest, "GetProcAddress", &arguments) && QuotedArgument(arguments) == "WaitForProcess") {
        Process& waiter = processes_[process];
        waiter.waitingFor = waiter.lastStarted;
        json entry = Entry("wait", NameOf(process) + " waits for " + NameOf(waiter.lastStarted) +
                                       " (process " + waiter.lastStarted + ")");
        entry["process"] = waiter.lastStarted;
        entries.push_back(entry);
    } else if (IsCall(rest, "ExitProcess", &arguments)) {
        entries.push_back(Exited(thread, arguments));
    } else if (IsCall(rest, "ExitWindowsEx", &arguments)) {
        unsigned long flags = std::strtoul(arguments.c_str(), nullptr, 16);
        json entry = Entry("restart", NameOf(process) + " asks Windows to " + RestartKind(flags));
        entry["program"] = NameOf(process);
        entry["flags"] = flags;
        entries.push_back(entry);
    } else if (IsCall(rest, "RegSetValueExA", &arguments) || IsCall(rest, "RegDeleteValueA", &arguments)) {
        bool written = rest.find("RegSetValueExA") != std::string::npos;
        std::string name = QuotedArgument(arguments);
        json entry = Entry(written ? "value-written" : "value-withdrawn",
                           NameOf(process) + (written ? " writes" : " withdraws") + " the registry value " + name);
        entry["name"] = name;
        entries.push_back(entry);
    } else if (rest.rfind("Ret  window proc ", 0) == 0 && rest.find(",msg=WM_QUERYENDSESSION,") != std::string::npos) {
        // Each of a process's windows answers; one refusal is the answer.
        if (rest.find("retval=00000000") != std::string::npos && !processes_[process].refused) {
            processes_[process].refused = true;
            json entry = Entry("end-session", NameOf(process) + " refuses to end the session");
            entry["agrees"] = false;
            entries.push_back(entry);
        }
    } else if (rest.rfind("Call window proc ", 0) == 0 && rest.find(",msg=WM_ENDSESSION,") != std::string::npos) {
        if (!processes_[process].toldEnd) {
            bool ends = rest.find(",wp=00000000,") == std::string::npos;
            processes_[process].toldEnd = true;
            processes_[process].refused = false;
            json entry = Entry("end-session", ends ? NameOf(process) + " agreed: the session ends"
                                                   : "the session goes on (" + NameOf(process) + " is told so)");
            entry["agrees"] = ends;
            entry["ends"] = ends;
            entries.push_back(entry);
        }
    } else if (rest.rfind("Call window proc ", 0) == 0 && rest.find(",msg=WM_QUERYENDSESSION,") != std::string::npos) {
        processes_[process].toldEnd = false;
    } else if (rest.rfind("trace:winmm:proc_PlaySound SoundName=", 0) == 0) {
        std::string file = Quoted(rest, "SoundName=");
        if (file.empty()) return entries;
        json entry = Entry("sound", NameOf(process) + " plays " + file);
        entry["file"] = file;
        entries.push_back(entry);
    }
    return entries;
}

// NtCreateUserProcess names the image and the new ids; the line after it
// says the start succeeded.
std::vector<json> WineTrace::Started(const std::string& thread, const std::string& rest) {
    static const std::regex started(R"(^trace:process:CreateProcessInternalW started process pid ([0-9a-f]+) tid ([0-9a-f]+)$)");
    std::smatch match;
    const std::string parent = ProcessOf(thread);
    if (!std::regex_match(rest, match, started)) {
        std::size_t at = rest.find(" image ");
        if (at != std::string::npos && (at = rest.find('"', at)) != std::string::npos) {
            commandOfThread_[thread + "/image"] = UnquoteWineString(rest, &at);
        }
        return {};
    }
    const std::string child = match[1], mainThread = match[2];
    Process& made = processes_[child];
    made.program = commandOfThread_[thread + "/image"];
    made.folder = processes_[parent].folder;
    processOfThread_[mainThread] = child;
    processes_[parent].lastStarted = child;
    std::string how = howOfThread_.count(thread) ? howOfThread_[thread] : "process";
    howOfThread_.erase(thread);
    const std::string& command = commandOfThread_[thread];
    std::string text = NameOf(parent) + " starts " + command + " in " + made.folder + (how == "process" ? "" : " (" + how + ")");
    // Wine's wineboot plays Windows' end of the session and its run-once
    // processing, which stand for the restart.
    if (command.find("wineboot.exe --end-session") != std::string::npos) {
        text = "Windows ends the session for " + NameOf(parent) + " (wineboot --end-session): it asks each program, then runs RunOnce";
    } else if (NameOf(parent) == "wineboot.exe") {
        text = "after the restart Windows runs the run-once command " + command;
    }
    json entry = Entry("start", text);
    entry["process"] = child;
    entry["command"] = command;
    entry["folder"] = made.folder;
    entry["how"] = how;
    entry["by"] = NameOf(parent);
    return {entry};
}

json WineTrace::Exited(const std::string& thread, const std::string& arguments) {
    const std::string process = ProcessOf(thread);
    unsigned long code = std::strtoul(arguments.c_str(), nullptr, 16);
    json entry = Entry("exit", NameOf(process) + " ends with exit code " + std::to_string(code));
    entry["process"] = process;
    entry["program"] = NameOf(process);
    entry["code"] = code;
    for (auto& other : processes_) {
        if (other.second.waitingFor != process || process.empty()) continue;
        other.second.waitingFor.clear();
        entry["waited"] = true;
        entry["text"] = "the wait of " + NameOf(other.first) + " ends: " + NameOf(process) +
                        " ended with exit code " + std::to_string(code);
    }
    return entry;
}
