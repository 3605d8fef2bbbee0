#include "design/designer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <new>
#include <set>

#include "design/design_files.h"
#include "design/entry_placement.h"
#include "design/page_assembly.h"
#include "design/picture_upload.h"
#include "design/vocabulary_json.h"
#include "new/new_disc.h"
#include "reading/local_paths.h"
#include "reading/shown_screen.h"
#include "design/design_model.h"
#include "design/edit_rebase.h"
#include "design/reading_check.h"
#include "design/rebase_answer.h"
#include "design/request_limits.h"
#include "design/script_rewrite.h"
#include "design/script_save.h"
#include "design/text_picture.h"
#include "pictures/picture_pixels.h"
#include "pictures/png_file.h"
#include "script/screen_scale.h"
#include "script/screen_script.h"

using nlohmann::json;

namespace {

// A picture file beyond this is not read whole into memory.
constexpr long long kLargestPictureFile = 64LL << 20;
constexpr std::size_t kMostListedFiles = 20000;

std::string Dump(const json& value) {
    // Text from a script or a file name that is still no UTF-8 becomes U+FFFD
    // rather than an answer that is no JSON.
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

DesignAnswer Json(const json& value, int status = 200) { return {status, "application/json", Dump(value)}; }

DesignAnswer Refusal(int status, const std::string& message) { return Json(json{{"error", message}}, status); }

std::string Header(const DesignRequest& request, const std::string& name) {
    auto found = request.headers.find(name);
    return found == request.headers.end() ? "" : found->second;
}

std::string Param(const DesignRequest& request, const std::string& name) {
    auto found = request.params.find(name);
    return found == request.params.end() ? "" : found->second;
}

std::string StringField(const json& body, const char* name, const std::string& fallback) {
    auto found = body.find(name);
    if (found == body.end()) return fallback;
    if (!found->is_string()) throw RequestRefused{400, std::string("\"") + name + "\" is no string"};
    return found->get<std::string>();
}

// This tool again as a child with `words` after its name, its output into
// `log`, keeping none of this server's sockets; the child's pid.
pid_t StartThisTool(const std::vector<std::string>& words, const std::string& log, bool ownGroup) {
    char self[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) throw RequestRefused{500, "cannot find this program"};
    self[length] = '\0';
    std::vector<char*> argv = {self};
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t child = fork();
    if (child == 0) {
        if (ownGroup) setpgid(0, 0);
        int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        for (int descriptor = 3; descriptor < 1024; ++descriptor) close(descriptor);
        execv(self, argv.data());
        _exit(2);
    }
    if (child < 0) throw RequestRefused{500, std::string("cannot start discscreen ") + words.front()};
    return child;
}

const SystemLanguage& LanguageNamed(const std::string& code) {
    const SystemLanguage* language = FindSystemLanguage(code);
    if (!language) throw RequestRefused{400, "no system language '" + code + "'"};
    return *language;
}

const WindowsSystem& WindowsNamed(const std::string& name) {
    const WindowsSystem* windows = FindWindowsSystem(name);
    if (!windows) throw RequestRefused{400, "no Windows '" + name + "'"};
    return *windows;
}

// The files of the page, by name, with their types.
const std::map<std::string, const char*> kPageParts = {
    {"index.html", "text/html; charset=utf-8"},         {"start.html", "text/html; charset=utf-8"},
    {"designer.js", "text/javascript; charset=utf-8"},  {"panel.js", "text/javascript; charset=utf-8"},
    {"writer.js", "text/javascript; charset=utf-8"},    {"drawing.js", "text/javascript; charset=utf-8"},
    {"keyboard.js", "text/javascript; charset=utf-8"},  {"align.js", "text/javascript; charset=utf-8"},
    {"display.js", "text/javascript; charset=utf-8"},   {"disk_watch.js", "text/javascript; charset=utf-8"},
    {"faults.js", "text/javascript; charset=utf-8"},
    {"designer.css", "text/css; charset=utf-8"}};

bool ReadPagePart(const std::string& name, std::string* text) {
    return kPageParts.count(name) &&
           ReadWholeFile(std::string(DISCSCREEN_SOURCE_DIR) + "/tools/discscreen/design/page/" + name, text);
}

// The display's DPI a request names ("dpi"), 96 when it names none.
int DisplayDpiOf(const json& body) {
    auto dpi = body.find("dpi");
    if (dpi == body.end()) return 96;
    if (!dpi->is_number_integer() || dpi->get<long long>() < 48 || dpi->get<long long>() > 960) {
        throw RequestRefused{400, "\"dpi\" is no whole number from 48 to 960"};
    }
    return static_cast<int>(dpi->get<long long>());
}

// The whole factor the program draws its screen at on that display, as the
// program chooses it for this Windows.
int ScreenScaleOf(const json& body, const WindowsSystem& windows) {
    const int dpi = DisplayDpiOf(body);
    return ScalesWithDpi(windows.info) ? ScaleForDpi(dpi) : 1;
}

bool IsAscii(const std::string& bytes) {
    for (char ch : bytes) {
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    }
    return true;
}

bool ReadScript(const std::string& path, std::string* bytes, std::string* why) {
    struct stat info;
    if (stat(path.c_str(), &info) == 0 && info.st_size > kLargestScriptBytes) {
        *why = "the script is larger than the reader reads (" + std::to_string(kLargestScriptBytes) + " bytes)";
        return false;
    }
    if (ReadWholeFile(path, bytes)) return true;
    *why = "cannot read the script '" + path + "'";
    return false;
}

// How the page's texts go into the script: the page's UTF-8 as it is, or
// turned into the code page.
class TextWriter {
public:
    TextWriter(bool utf8, int codePage, bool mayBecomeUtf8)
        : utf8_(utf8), codePage_(codePage), mayBecomeUtf8_(mayBecomeUtf8) {}
    bool Utf8() const { return utf8_; }

    std::string operator()(const json& text) const {
        if (!text.is_string()) throw RequestRefused{400, "an edit's text is no string"};
        const std::string& page = text.get_ref<const std::string&>();
        if (utf8_) return page;
        std::string converted;
        if (!ToScriptText(page, codePage_, &converted)) {
            throw RequestRefused{422, "'" + page + "' has a character that code page " + std::to_string(codePage_) +
                                          " lacks" + (mayBecomeUtf8_ ? " (send \"utf8\": true to save this ASCII script as UTF-8)" : "")};
        }
        return converted;
    }

private:
    bool utf8_;
    int codePage_;
    bool mayBecomeUtf8_;
};

int WholeNumber(const json& value, long low, long high, const char* what) {
    if (!value.is_number_integer() || value.get<long long>() < low || value.get<long long>() > high) {
        throw RequestRefused{400, std::string(what) + " is no whole number from " + std::to_string(low) + " to " +
                                      std::to_string(high) + ": " + Dump(value)};
    }
    return static_cast<int>(value.get<long long>());
}

int NumberKey(const std::string& key, long low, long high, const char* what) {
    long number = 0;
    if (!ParseWholeNumber(key, low, high, &number)) {
        throw RequestRefused{400, std::string(what) + " '" + key + "' is no whole number from " + std::to_string(low) +
                                      " to " + std::to_string(high)};
    }
    return static_cast<int>(number);
}

const json& Member(const json& body, const char* name, const json& fallback, bool (json::*is)() const noexcept,
                   const char* kind) {
    auto found = body.find(name);
    if (found == body.end()) return fallback;
    if (!((*found).*is)()) throw RequestRefused{400, std::string("\"") + name + "\" is no " + kind};
    return *found;
}

std::map<int, std::string> FieldEditsOf(const json& fields, const TextWriter& write) {
    if (!fields.is_object()) throw RequestRefused{400, "an entry's field edits are no object"};
    std::map<int, std::string> edits;
    for (auto field = fields.begin(); field != fields.end(); ++field) {
        edits[NumberKey(field.key(), kEntryKey, kLastField, "a field")] = write(field.value());
    }
    return edits;
}

// {"fields": {"LINE": {"FIELD": text}}, "deleted": [LINE], "added": [{afterLine, header, text, fields, deleted}]}
ScriptEdits EditsOf(const json& edited, const TextWriter& write) {
    static const json kNoObject = json::object(), kNoArray = json::array();
    if (!edited.is_object()) throw RequestRefused{400, "\"edits\" is no object"};
    const json& fields = Member(edited, "fields", kNoObject, &json::is_object, "object");
    const json& deleted = Member(edited, "deleted", kNoArray, &json::is_array, "array");
    const json& added = Member(edited, "added", kNoArray, &json::is_array, "array");
    if (fields.size() > kMostEditedLines || deleted.size() > kMostEditedLines || added.size() > kMostAddedEntries) {
        throw RequestRefused{413, "more edits than one request may carry"};
    }
    ScriptEdits edits;
    for (auto line = fields.begin(); line != fields.end(); ++line) {
        edits.fields[NumberKey(line.key(), 1, INT_MAX, "a line")] = FieldEditsOf(line.value(), write);
    }
    for (const json& line : deleted) edits.deletedLines.insert(WholeNumber(line, 1, INT_MAX, "a deleted line"));
    for (const json& entry : added) {
        if (!entry.is_object()) throw RequestRefused{400, "a new entry is no object"};
        NewEntry made;
        made.afterLine = entry.contains("afterLine") ? WholeNumber(entry["afterLine"], 0, INT_MAX, "afterLine") : 0;
        made.header = entry.contains("header") ? write(entry["header"]) : "";
        made.text = entry.contains("text") ? write(entry["text"]) : "";
        if (entry.contains("atStart") && !entry["atStart"].is_boolean()) throw RequestRefused{400, "\"atStart\" is no true or false"};
        made.atStart = entry.value("atStart", false);
        made.before = entry.contains("before") ? WholeNumber(entry["before"], -1, kMostAddedEntries, "before") : -1;
        made.fields = FieldEditsOf(entry.contains("fields") ? entry["fields"] : json::object(), write);
        if (entry.contains("deleted") && !entry["deleted"].is_boolean()) throw RequestRefused{400, "\"deleted\" is no true or false"};
        made.deleted = entry.value("deleted", false);
        edits.added.push_back(std::move(made));
    }
    return edits;
}

}  // namespace

// The edits of one request made on the text they were made against.
struct Designer::Edited {
    std::string version;
    std::string result;
    std::vector<int> origins;
    const SystemLanguage* language = nullptr;
    const WindowsSystem* windows = nullptr;
    int scale = 1;  // the screen's whole factor on the page's display
};

bool Designer::Load(std::string* why) {
    if (!setup_.hasScript) return true;
    std::string text;
    if (!ReadScript(setup_.target.scriptPath, &text, why)) return false;
    bases_.Become(std::move(text));
    return true;
}

DesignAnswer Designer::Handle(const DesignRequest& request) {
    try {
        DesignAnswer refusal;
        if (!Admits(request, &refusal)) return refusal;
        return Route(request);
    } catch (const RequestRefused& refused) {
        return Refusal(refused.status, refused.message);
    } catch (const json::exception& error) {
        return Refusal(400, std::string("the request is not what was expected: ") + error.what());
    } catch (const std::bad_alloc&) {
        return Refusal(503, "the designer has not the memory for this request");
    } catch (const std::exception& error) {
        return Refusal(500, std::string("the designer failed: ") + error.what());
    }
}

bool Designer::Admits(const DesignRequest& request, DesignAnswer* refusal) const {
    const std::string port = std::to_string(setup_.port);
    const std::string host = Header(request, "host");
    if (host != "127.0.0.1:" + port && host != "localhost:" + port) {
        *refusal = Refusal(403, "this server answers only to 127.0.0.1:" + port);
        return false;
    }
    // A page of another site may post here with a token it learnt; the
    // browser names that site.
    const std::string origin = Header(request, "origin");
    if (!origin.empty() && origin != "http://127.0.0.1:" + port && origin != "http://localhost:" + port) {
        *refusal = Refusal(403, "this server answers only to its own page");
        return false;
    }
    const std::string given = request.method == "POST" ? Header(request, "x-discscreen-token") : Param(request, "token");
    if (given != setup_.token) {
        *refusal = Refusal(403, "the request lacks this run's token");
        return false;
    }
    return true;
}

DesignAnswer Designer::Route(const DesignRequest& request) {
    using Action = DesignAnswer (Designer::*)(const DesignRequest&);
    static const std::map<std::string, Action> posts = {
        {"/api/model", &Designer::Model},     {"/api/reload", &Designer::Reload}, {"/api/save", &Designer::Save},
        {"/api/rebase", &Designer::Rebase},
        {"/api/preview", &Designer::Preview}, {"/api/place", &Designer::Place},   {"/api/upload", &Designer::Upload},
        {"/api/convert", &Designer::Convert}, {"/api/new", &Designer::StartDisc},   {"/api/try", &Designer::Try}};
    static const std::map<std::string, Action> gets = {
        {"/picture", &Designer::Picture},        {"/api/files", &Designer::Files},
        {"/api/vocabulary", &Designer::Vocabulary}, {"/api/styles", &Designer::Styles},
        {"/text.png", &Designer::TextPicture}, {"/api/disk", &Designer::DiskState}};
    const bool get = request.method == "GET" || request.method == "HEAD";
    if (auto post = posts.find(request.path); post != posts.end()) {
        if (request.method != "POST") return Refusal(405, request.path + " takes a POST");
        // Runs under Wine hold no lock on the script: they read the saved one.
        if (post->second == &Designer::Preview) return Preview(request);
        if (post->second == &Designer::Try) return Try(request);
        std::lock_guard<std::mutex> lock(mutex_);
        return (this->*post->second)(request);
    }
    // The disc's pictures and files, the texts' pictures and the tables are
    // not the script's: they are answered beside its requests, not after them.
    static const std::set<std::string> unlocked = {"/picture", "/text.png", "/api/files", "/api/vocabulary",
                                                   "/api/styles"};
    if (auto action = gets.find(request.path); action != gets.end()) {
        if (!get) return Refusal(405, request.path + " takes a GET");
        if (unlocked.count(request.path)) return (this->*action->second)(request);
        std::lock_guard<std::mutex> lock(mutex_);
        return (this->*action->second)(request);
    }
    if (request.path == "/") {
        if (!get) return Refusal(405, "/ takes a GET");
        bool hasScript;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            hasScript = setup_.hasScript;
        }
        return Page(hasScript ? "index.html" : "start.html");
    }
    if (request.path.size() > 1 && kPageParts.count(request.path.substr(1))) {
        if (!get) return Refusal(405, request.path + " takes a GET");
        return Page(request.path.substr(1));
    }
    return Refusal(404, "no such request");
}

DesignAnswer Designer::Page(const std::string& name) const {
    std::string text;
    if (!ReadPagePart(name, &text)) return Refusal(404, "the designer's " + name + " is missing");
    const std::string mark = "@TOKEN@";
    for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at)) {
        text.replace(at, mark.size(), setup_.token);
    }
    if (name == "index.html") text = AssemblePage(text, ReadPagePart, Dump(VocabularyJson()));
    return {200, kPageParts.at(name), text};
}

DesignAnswer Designer::Picture(const DesignRequest& request) {
    const std::string relative = Param(request, "path");
    const int codePage = LanguageNamed(request.params.count("lang") ? Param(request, "lang") : "en").codePage;
    std::string path = FileInsideFolder(setup_.discRealPath, relative);
    std::string inCodePage;
    if (path.empty() && ToScriptText(relative, codePage, &inCodePage)) path = FileInsideFolder(setup_.discRealPath, inCodePage);
    if (path.empty()) throw RequestRefused{404, "'" + relative + "' is no file of the disc"};
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || info.st_size > kLargestPictureFile) {
        throw RequestRefused{413, "'" + relative + "' is larger than a picture the program shows"};
    }
    std::string bytes;
    if (!ReadWholeFile(path, &bytes)) throw RequestRefused{404, "cannot read '" + relative + "'"};
    PicturePixels pixels;
    std::string why;
    if (!DecodePicture(std::vector<unsigned char>(bytes.begin(), bytes.end()), &pixels, &why)) {
        throw RequestRefused{422, "'" + relative + "' is not shown: " + why};
    }
    return {200, "image/png", EncodePng(pixels)};
}

DesignAnswer Designer::Files(const DesignRequest& request) {
    const int codePage = LanguageNamed(request.params.count("lang") ? Param(request, "lang") : "en").codePage;
    json names = json::array();
    for (const std::string& name : FilesOfFolder(setup_.discRealPath)) {
        if (names.size() >= kMostListedFiles) break;
        names.push_back(ToPageName(name, codePage));
    }
    return Json(names);
}

Designer::Edited Designer::Edit(const json& body, const std::string& version) {
    if (!setup_.hasScript) throw RequestRefused{409, "the folder has no script yet"};
    const std::string* base = bases_.Find(version);
    if (!base) {
        throw RequestRefused{409, "the script this page edits was saved or reloaded since: reload it, then edit again"};
    }
    Edited edited;
    edited.version = version;
    edited.language = &LanguageNamed(StringField(body, "lang", "en"));
    edited.windows = &WindowsNamed(StringField(body, "windows", "later"));
    edited.scale = ScreenScaleOf(body, *edited.windows);
    auto agreed = body.find("utf8");
    if (agreed != body.end() && !agreed->is_boolean()) throw RequestRefused{400, "\"utf8\" is no true or false"};
    // An ASCII script may become UTF-8 when the author agrees; a script in a
    // code page stays in it.
    const bool utf8 = IsUtf8Script(*base) || (agreed != body.end() && agreed->get<bool>() && IsAscii(*base));
    TextWriter write(utf8, edited.language->codePage, IsAscii(*base));
    static const json kNoEdits = json::object();
    ScriptEdits edits = EditsOf(body.contains("edits") ? body["edits"] : kNoEdits, write);
    std::string problem;
    if (!RewriteScript(*base, edits, &edited.result, &problem, &edited.origins)) throw RequestRefused{422, problem};
    if (edited.result.size() > static_cast<std::size_t>(kLargestScriptBytes)) {
        throw RequestRefused{413, "the edited script would be larger than the reader reads (" +
                                      std::to_string(kLargestScriptBytes) + " bytes)"};
    }
    if (!edits.Empty()) {
        ReadBackCheck check{setup_.target, TargetSystemOf(*edited.language, *edited.windows), *base,
                            edited.result, edited.origins, &edits, utf8};
        problem = ReadBackProblem(check, scratch_);
        if (!problem.empty()) throw RequestRefused{422, problem};
    }
    return edited;
}

json Designer::ModelOf(const Edited& edited) {
    DesignReading reading;
    reading.language = edited.language;
    reading.windows = edited.windows;
    reading.scale = edited.scale;
    reading.scriptBytes = edited.result;
    reading.lineOrigins = edited.origins;
    reading.target = setup_.target;
    reading.target.scriptPath = scratch_.Path();
    reading.scriptName = BaseName(setup_.target.scriptPath);
    std::string why;
    if (!scratch_.Write(edited.result, &why)) throw RequestRefused{500, why};
    json model = ReadDesignModel(reading);
    model["version"] = edited.version;
    model["stale"] = edited.version != bases_.CurrentVersion();
    model["scale"] = edited.scale;
    return model;
}

// A page's edits come with the version of the text they were made against
// ("base"); a request without edits may leave it out.
static std::string BaseOf(const json& body, const EditBases& bases, bool hasScript) {
    if (!hasScript) throw RequestRefused{409, "the folder has no script yet"};
    auto base = body.find("base");
    if (base == body.end()) {
        auto edits = body.find("edits");
        bool none = edits == body.end() || (edits->is_object() && edits->empty()) ||
                    (edits->is_object() && std::all_of(edits->begin(), edits->end(), [](const json& part) { return part.empty(); }));
        if (!none) throw RequestRefused{400, "edits need \"base\": the version of the script they were made against"};
        return bases.CurrentVersion();
    }
    if (!base->is_string()) throw RequestRefused{400, "\"base\" is no string"};
    return base->get<std::string>();
}

// The script as it is on disk, made the current text when it differs from
// it; its version.
std::string Designer::TakeDiskText() {
    std::string text, why;
    if (!ReadScript(setup_.target.scriptPath, &text, &why)) throw RequestRefused{409, why};
    if (text == bases_.Current()) return bases_.CurrentVersion();
    return bases_.Become(std::move(text));
}

// A page's first request (without a base) shows the script as it is on
// disk now, not as it was when the designer started.
DesignAnswer Designer::Model(const DesignRequest& sent) {
    json request = ParseRequestBody(sent.body);
    std::string version = BaseOf(request, bases_, setup_.hasScript);
    if (!request.contains("base")) version = TakeDiskText();
    return Json(ModelOf(Edit(request, version)));
}

// Whether the script on disk still holds the text the page loaded (?base=),
// asked by the page while it is shown.
DesignAnswer Designer::DiskState(const DesignRequest& request) {
    if (!setup_.hasScript) throw RequestRefused{409, "the folder has no script yet"};
    const std::string* base = bases_.Find(Param(request, "base"));
    std::string text, why;
    if (!ReadScript(setup_.target.scriptPath, &text, &why)) return Json(json{{"same", false}, {"problem", why}});
    return Json(json{{"same", base && *base == text}});
}

// The page's edits carried over to the script as it is on disk now, which
// becomes the current text. An edit of a line that was changed or deleted
// on disk is not carried: it comes back as a conflict, and the line stays
// as the other writer left it.
DesignAnswer Designer::Rebase(const DesignRequest& sent) {
    json request = ParseRequestBody(sent.body);
    const std::string* known = bases_.Find(BaseOf(request, bases_, setup_.hasScript));
    if (!known) throw RequestRefused{409, "the text this page edits is no longer known: discard the edits and reload"};
    const std::string before = *known;
    static const json kNoEdits = json::object();
    // The page's own texts: they are turned into the script's encoding once applied.
    const ScriptEdits mine = EditsOf(request.contains("edits") ? request["edits"] : kNoEdits, TextWriter(true, 0, false));
    const std::vector<std::string> beforeLines = ScriptLineTexts(before);
    auto outside = [&](int line) { return line > static_cast<int>(beforeLines.size()); };
    for (const auto& [line, fields] : mine.fields) {
        if (outside(line)) throw RequestRefused{400, "there is no line " + std::to_string(line)};
    }
    for (int line : mine.deletedLines) {
        if (outside(line)) throw RequestRefused{400, "there is no line " + std::to_string(line)};
    }
    for (const NewEntry& entry : mine.added) {
        if (outside(entry.afterLine)) throw RequestRefused{400, "there is no line " + std::to_string(entry.afterLine)};
    }
    const std::string version = TakeDiskText();
    const std::string after = bases_.Current();
    const std::vector<std::string> afterLines = ScriptLineTexts(after);
    RebasedEdits rebased = RebaseEdits(mine, beforeLines, afterLines);
    request["edits"] = EditsJson(rebased.edits);
    Edited edited = Edit(request, version);
    const int codePage = edited.language->codePage;
    auto pageTextOf = [codePage](bool utf8) {
        return [codePage, utf8](const std::string& line) { return utf8 ? line : ToPageText(line, codePage); };
    };
    json conflicts = ConflictsJson(rebased.conflicts, beforeLines, afterLines, pageTextOf(IsUtf8Script(before)),
                                   pageTextOf(IsUtf8Script(after)));
    return Json(json{{"model", ModelOf(edited)}, {"edits", request["edits"]}, {"conflicts", conflicts}});
}

DesignAnswer Designer::Reload(const DesignRequest& sent) {
    json request = ParseRequestBody(sent.body);
    if (!setup_.hasScript) throw RequestRefused{409, "the folder has no script yet"};
    std::string text, why;
    if (!ReadScript(setup_.target.scriptPath, &text, &why)) throw RequestRefused{409, why};
    const std::string version = bases_.Become(std::move(text));
    request["edits"] = json::object();
    return Json(ModelOf(Edit(request, version)));
}

DesignAnswer Designer::Save(const DesignRequest& sent) {
    json request = ParseRequestBody(sent.body);
    const std::string base = BaseOf(request, bases_, setup_.hasScript);
    if (base != bases_.CurrentVersion()) {
        throw RequestRefused{409, "the script was saved or reloaded from another page since this page loaded it: "
                                  "reload it, then edit again"};
    }
    Edited edited = Edit(request, base);
    std::string why;
    SaveOutcome outcome = SaveScript(setup_.target.scriptPath, bases_.Current(), edited.result, &why);
    if (outcome == SaveOutcome::kChangedOnDisk) {
        throw RequestRefused{409, "the script changed on disk since it was loaded: reload it, then edit again"};
    }
    if (outcome == SaveOutcome::kFailed) throw RequestRefused{500, why};
    if (edited.result != bases_.Current()) edited.version = bases_.Become(edited.result);
    request["edits"] = json::object();
    return Json(ModelOf(Edit(request, edited.version)));
}

// The saved script as the program shows it under Wine: this tool's own
// preview, run as a child; the picture is the answer.
DesignAnswer Designer::Preview(const DesignRequest& sent) {
    json request = ParseRequestBody(sent.body);
    const SystemLanguage& language = LanguageNamed(StringField(request, "lang", "en"));
    const WindowsSystem& windows = WindowsNamed(StringField(request, "windows", "later"));
    std::lock_guard<std::mutex> lock(previewMutex_);
    const std::string picture = setup_.workFolder + "/preview.png";
    const std::string log = setup_.workFolder + "/preview.log";
    pid_t child = StartThisTool({"preview", setup_.discRealPath, "-o", picture, "--lang", language.code,
                                 "--windows", windows.name, "--dpi", std::to_string(DisplayDpiOf(request))},
                                log, false);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::string said;
        ReadWholeFile(log, &said);
        throw RequestRefused{422, "the preview failed: " + said.substr(0, 64 << 10)};
    }
    std::string png;
    if (!ReadWholeFile(picture, &png)) throw RequestRefused{422, "the preview wrote no picture"};
    unlink(picture.c_str());
    return {200, "image/png", png};
}

// The new entries that put {"add": {section, selector, number, captionText,
// text}} where the reader needs it, in the edited script: a [BEGIN] header
// first when there is none.
DesignAnswer Designer::Place(const DesignRequest& sent) {
    json request = ParseRequestBody(sent.body);
    Edited edited = Edit(request, BaseOf(request, bases_, setup_.hasScript));
    auto add = request.find("add");
    if (add == request.end() || !add->is_object()) throw RequestRefused{400, "\"add\" is no object"};
    PlacementRequest asked{StringField(*add, "section", ""), StringField(*add, "selector", ""),
                           add->contains("number") ? WholeNumber((*add)["number"], 0, 999, "number") : 0,
                           add->contains("captionText") ? WholeNumber((*add)["captionText"], 0, 999, "captionText") : 0};
    ScreenReading reading(setup_.target, TargetSystemOf(*edited.language, *edited.windows));
    json added = json::array();
    for (const NewPlace& place : PlaceNewEntry(LayOutScript(reading.machine, ScriptLineTexts(edited.result)), asked)) {
        NewEntryAnchor anchor = AnchorOf(place.beforeLine, edited.origins);
        added.push_back({{"afterLine", anchor.afterLine}, {"atStart", anchor.atStart}, {"before", anchor.before},
                         {"header", ToPageText(place.header, edited.language->codePage)}, {"text", ""}});
    }
    if (added.empty()) throw RequestRefused{422, "no place for that entry"};
    added.back()["text"] = StringField(*add, "text", "");
    return Json(json{{"added", added}});
}

DesignAnswer Designer::Upload(const DesignRequest& request) {
    BroughtPicture kept;
    int status = 0;
    std::string why;
    if (!KeepUploadedPicture(setup_.discRealPath, Param(request, "name"), request.body, &kept, &status, &why)) {
        throw RequestRefused{status, why};
    }
    return Json(json{{"picture", kept.bitmap}, {"original", kept.original}});
}

DesignAnswer Designer::Convert(const DesignRequest& sent) {
    json request = ParseRequestBody(sent.body);
    BroughtPicture kept;
    int status = 0;
    std::string why;
    if (!ConvertDiscPicture(setup_.discRealPath, StringField(request, "path", ""), &kept, &status, &why)) {
        throw RequestRefused{status, why};
    }
    return Json(json{{"picture", kept.bitmap}, {"original", kept.original}});
}

DesignAnswer Designer::Vocabulary(const DesignRequest&) { return Json(VocabularyJson()); }

DesignAnswer Designer::Styles(const DesignRequest&) {
    json styles = json::array();
    for (const ScreenStyle& style : ScreenStyles()) styles.push_back({{"name", style.name}, {"looks", style.looks}});
    return Json(styles);
}

// A folder without a script: the page offers new's styles, and the disc it
// makes is the one designed from then on.
DesignAnswer Designer::StartDisc(const DesignRequest& sent) {
    json request = ParseRequestBody(sent.body);
    if (setup_.hasScript) throw RequestRefused{409, "the folder has a script already"};
    NewDiscRequest wanted;
    wanted.folder = setup_.discRealPath;
    wanted.title = StringField(request, "title", "");
    const std::string style = StringField(request, "style", ScreenStyles()[0].name);
    wanted.style = FindScreenStyle(style);
    if (!wanted.style) throw RequestRefused{400, "no style '" + style + "'"};
    ::NewDisc made = MakeNewDisc(wanted);
    if (made.status != 0) throw RequestRefused{422, made.problems.empty() ? "no disc made" : made.problems.back()};
    std::string why;
    if (!DiscTargetOf(setup_.discRealPath, &setup_.target)) throw RequestRefused{500, "the new script cannot be read"};
    setup_.hasScript = true;
    if (!Load(&why)) {
        setup_.hasScript = false;
        throw RequestRefused{500, "the new script cannot be read"};
    }
    return Json(json{{"said", made.said}, {"problems", made.problems}});
}

DesignAnswer Designer::TextPicture(const DesignRequest& request) {
    try {
        return {200, "image/png", TextPicturePng(setup_.discRealPath, request.params)};
    } catch (const std::invalid_argument& refused) {
        throw RequestRefused{422, refused.what()};
    } catch (const std::out_of_range&) {
        throw RequestRefused{422, "a number of the text's picture is out of range"};
    }
}

// The saved script live under Wine: this tool's own try command, run as a
// child that lives on with its page; the answer is that page's address.
DesignAnswer Designer::Try(const DesignRequest& sent) {
    json request = ParseRequestBody(sent.body);
    const SystemLanguage& language = LanguageNamed(StringField(request, "lang", "en"));
    const WindowsSystem& windows = WindowsNamed(StringField(request, "windows", "later"));
    std::lock_guard<std::mutex> lock(tryMutex_);
    for (auto run = tries_.begin(); run != tries_.end();) {
        run = waitpid(*run, nullptr, WNOHANG) == 0 ? run + 1 : tries_.erase(run);
    }
    const std::string log = setup_.workFolder + "/try-" + std::to_string(++tryCount_) + ".log";
    // The run outlives this request in a process group of its own.
    pid_t child = StartThisTool({"try", setup_.discRealPath, "--no-browser", "--lang", language.code, "--windows",
                                 windows.name}, log, true);
    tries_.push_back(child);
    // Its first line is the page's address, printed once it listens.
    for (int wait = 0; wait < 300; ++wait) {
        std::string said;
        ReadWholeFile(log, &said);
        std::size_t end = said.find('\n');
        if (said.rfind("http://127.0.0.1:", 0) == 0 && end != std::string::npos)
            return {200, "application/json", json{{"url", said.substr(0, end)}}.dump()};
        if (waitpid(child, nullptr, WNOHANG) == child) throw RequestRefused{422, "the try failed: " + said};
        usleep(100000);
    }
    throw RequestRefused{422, "the try gave no address"};
}

void Designer::EndTries() {
    std::lock_guard<std::mutex> lock(tryMutex_);
    for (pid_t run : tries_) {
        if (waitpid(run, nullptr, WNOHANG) == 0) {
            kill(run, SIGTERM);
            waitpid(run, nullptr, 0);
        }
    }
    tries_.clear();
    for (int run = 1; run <= tryCount_; ++run) unlink((setup_.workFolder + "/try-" + std::to_string(run) + ".log").c_str());
}
