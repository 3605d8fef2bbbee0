// Fuzz target: any request body to the designer's model, rebase and save requests,
// answered in-process by the designer itself over a small disc folder. Every
// answer must be JSON; a save that succeeds must leave a script whose every
// line no edit named is kept byte for byte and in order, whose edited fields
// hold what was asked, and that the reader reads to its end with the section
// headers that were meant. The first byte picks the request.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "design/design_model.h"
#include "design/designer.h"
#include "design/script_rewrite.h"
#include "reading/screen_reading.h"

using nlohmann::json;

namespace {

const std::string kScript =
    "[BEGIN]\r\n; a comment\r\nTITLE=Fuzz\r\n[BUTTON]\r\nBUTTON1=PUSHBUTTON,40,146,0,0,FOCUS,SHOW,PUSH1.BMP,1, ,,README.TXT\r\n"
    "BUTTON2=CHECKBOX,47,300,0,0,CHECK,YES,CHECK1.BMP\r\n[TEXT]\r\nTEXT1=Hello,0,0, ,1,20,20,120,20\r\n"
    "[MESSAGE]\r\nBUTTON1=Gone.\r\n";
constexpr int kPort = 4242;

std::string folder;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

[[noreturn]] void Fail(const std::string& what, const std::string& body, const std::string& answer) {
    std::fprintf(stderr, "design_request_fuzz: %s\nrequest: %s\nanswer: %s\n", what.c_str(), body.c_str(), answer.c_str());
    std::abort();
}

// The lines the reader reads and the headers among them.
class Counter : public ScriptListener {
public:
    int lines = 0;
    int headers = 0;
    void OnLine(int, const std::string&) override { ++lines; }
    void OnHeader(const std::string&, const std::string&, bool) override { ++headers; }
    void OnEntry(const std::string&, int, const std::string&, bool) override {}
};

Counter Read(const std::string& path) {
    ScriptTarget target{path, folder, "AUTORUN", 0};
    TargetSystem system;
    ScreenReading reading(target, system);
    CheckHost host(reading.disc, reading.machine);
    Counter counter;
    reading.Read(host, &counter);
    return counter;
}

// The saved script against the request that made it: the script is ASCII,
// so texts go in as UTF-8 when the request says so, else in the code page.
void CheckSaved(const json& request, const std::string& saved, const std::string& body) {
    const bool utf8 = request.value("utf8", false);
    const SystemLanguage* language = FindSystemLanguage(request.value("lang", std::string("en")));
    auto written = [&](const std::string& asked) {
        std::string bytes = asked;
        if (!utf8 && !ToScriptText(asked, language->codePage, &bytes)) Fail("a text the code page lacks was saved", body, "");
        return bytes.empty() ? std::string(" ") : bytes;
    };
    const json edits = request.value("edits", json::object());
    const json fields = edits.value("fields", json::object());
    std::set<int> deleted;
    for (const json& line : edits.value("deleted", json::array())) deleted.insert(line.get<int>());
    int newLines = 0, newHeaders = 0;
    for (const json& entry : edits.value("added", json::array())) {
        if (entry.value("deleted", false)) continue;
        // A header goes first wherever the entry goes; a header may come alone.
        const bool header = !entry.value("header", std::string()).empty();
        newLines += header + !entry.value("text", std::string()).empty();
        newHeaders += header;
    }
    std::vector<std::string> before = ScriptLineTexts(kScript), after = ScriptLineTexts(saved);
    int kept = 0;
    std::size_t at = 0;
    for (int line = 1; line <= static_cast<int>(before.size()); ++line) {
        if (deleted.count(line)) continue;
        ++kept;
        const json* edited = fields.contains(std::to_string(line)) ? &fields[std::to_string(line)] : nullptr;
        while (at < after.size() && !edited && after[at] != before[line - 1]) ++at;
        if (edited) {
            // The edited line is the first after the kept ones before it that
            // holds every field asked for.
            while (at < after.size()) {
                bool holds = true;
                std::vector<std::string> got = EntryFields(after[at]);
                for (auto field = edited->begin(); field != edited->end(); ++field) {
                    const int number = std::stoi(field.key());
                    if (number > 0 && (static_cast<int>(got.size()) < number ||
                                       got[number - 1] != written(field.value().get<std::string>()))) holds = false;
                }
                if (holds) break;
                ++at;
            }
        }
        if (at >= after.size()) Fail("line " + std::to_string(line) + " is lost or not as asked", body, saved);
        ++at;
    }
    if (static_cast<int>(after.size()) != kept + newLines) Fail("the saved script has lines no edit made", body, saved);
    WriteAll(folder + "/SAVED.INF", saved);
    Counter read = Read(folder + "/SAVED.INF"), original = Read(folder + "/AUTORUN.ORIG");
    if (read.lines != static_cast<int>(after.size())) Fail("the reader stops before the end of the saved script", body, saved);
    int deletedHeaders = 0;
    for (int line : deleted) deletedHeaders += !before[line - 1].empty() && before[line - 1][0] == '[';
    if (read.headers != original.headers - deletedHeaders + newHeaders) Fail("an edit reads as a section header", body, saved);
    if (!utf8 && IsUtf8Script(saved)) Fail("an ASCII script was turned into UTF-8 unasked", body, saved);
}

void RemoveFolder() {
    for (const char* name : {"/AUTORUN.INF", "/AUTORUN.ORIG", "/SAVED.INF"}) unlink((folder + name).c_str());
    rmdir(folder.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char made[] = "/tmp/design-fuzz-XXXXXX";
    if (!mkdtemp(made)) std::abort();
    folder = made;
    std::atexit(RemoveFolder);
    WriteAll(folder + "/AUTORUN.ORIG", kScript);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string script = folder + "/AUTORUN.INF";
    WriteAll(script, kScript);
    ScriptTarget target{script, folder, "AUTORUN", 0};
    Designer designer(DesignSetup{target, folder, folder, "t", kPort});
    std::string why;
    if (!designer.Load(&why)) std::abort();

    const bool save = data[0] & 1;
    std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
    // A body without a base is given the one the page would have: most
    // inputs then reach the edits.
    json request = json::parse(body, nullptr, false);
    if (request.is_object() && !request.contains("base") && (data[0] & 2) == 0) {
        DesignRequest first{"POST", "/api/model", {}, {{"host", "127.0.0.1:4242"}, {"x-discscreen-token", "t"}}, "{}"};
        request["base"] = json::parse(designer.Handle(first).body).at("version");
        body = request.dump();
    }
    const char* path = save ? "/api/save" : (data[0] & 4) ? "/api/rebase" : "/api/model";
    DesignRequest sent{"POST", path, {},
                       {{"host", "127.0.0.1:4242"}, {"x-discscreen-token", "t"}}, body};
    DesignAnswer answer = designer.Handle(sent);
    json parsed = json::parse(answer.body, nullptr, false);
    if (parsed.is_discarded()) Fail("the answer is no JSON", body, answer.body);
    if (answer.status >= 500) Fail("the server failed", body, answer.body);
    const std::string saved = ReadAll(script);
    if (answer.status != 200 || !save) {
        if (saved != kScript) Fail("a refused or unsaved request changed the script", body, saved);
        return 0;
    }
    CheckSaved(request, saved, body);
    return 0;
}
