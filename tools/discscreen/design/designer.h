#pragma once
// The designer's answers, one request at a time, without a socket: the web
// server hands each request here, and so can a test. Every answer to /api is
// JSON; a request that cannot be answered gets a 4xx and the reason.
#include <sys/types.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "design/edit_base.h"
#include "design/scratch_script.h"
#include "reading/screen_reading.h"

struct DesignRequest {
    std::string method;                         // "GET", "POST"
    std::string path;                           // "/api/model", without the query
    std::map<std::string, std::string> params;  // the query, decoded
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;
};

struct DesignAnswer {
    int status = 200;
    std::string type = "application/json";
    std::string body;
};

struct DesignSetup {
    ScriptTarget target;
    std::string discRealPath;
    std::string workFolder;  // the previews' pictures and logs
    std::string token;
    int port = 0;
    bool hasScript = true;  // false: a folder to make a new disc in first
};

class Designer {
public:
    explicit Designer(DesignSetup setup) : setup_(std::move(setup)) {}

    // Reads the script as it stands; false with why.
    bool Load(std::string* why);
    DesignAnswer Handle(const DesignRequest& request);
    // Whether the request comes from this run's page (Host, Origin, token),
    // else the refusal; the body is not looked at.
    bool Admits(const DesignRequest& request, DesignAnswer* refusal) const;
    const std::string& Token() const { return setup_.token; }
    // Ends the runs of `discscreen try` still going, by their pids, and
    // removes their logs.
    void EndTries();

private:
    struct Edited;

    DesignAnswer Route(const DesignRequest& request);
    DesignAnswer Page(const std::string& name) const;
    DesignAnswer Picture(const DesignRequest& request);
    DesignAnswer Files(const DesignRequest& request);
    DesignAnswer Model(const DesignRequest& request);
    DesignAnswer Reload(const DesignRequest& request);
    DesignAnswer DiskState(const DesignRequest& request);
    DesignAnswer Rebase(const DesignRequest& request);
    DesignAnswer Save(const DesignRequest& request);
    DesignAnswer Preview(const DesignRequest& request);
    DesignAnswer Place(const DesignRequest& request);
    DesignAnswer Upload(const DesignRequest& request);
    DesignAnswer Convert(const DesignRequest& request);
    DesignAnswer StartDisc(const DesignRequest& request);
    DesignAnswer Styles(const DesignRequest& request);
    DesignAnswer Vocabulary(const DesignRequest& request);
    DesignAnswer TextPicture(const DesignRequest& request);
    DesignAnswer Try(const DesignRequest& request);

    Edited Edit(const nlohmann::json& body, const std::string& version);
    nlohmann::json ModelOf(const Edited& edited);
    std::string TakeDiskText();

    DesignSetup setup_;
    EditBases bases_;
    ScratchScript scratch_;
    std::mutex mutex_;         // the script, its bases and the scratch copy; one request at a time
    std::mutex previewMutex_;  // one preview at a time: they share the work folder's files
    std::mutex tryMutex_;       // the runs of try below
    std::vector<pid_t> tries_;  // runs of `discscreen try` started from the page
    int tryCount_ = 0;
};
