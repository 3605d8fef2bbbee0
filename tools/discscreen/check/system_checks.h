#pragma once
// One reading of the script for one language and Windows version: observes
// the reader and reports what each line does on that system.
#include <map>
#include <string>
#include <vector>

#include "reading/check_host.h"
#include "reading/disc_folder.h"
#include "check/findings.h"
#include "script/screen_model.h"
#include "script/script_listener.h"

struct ReadingSystem {
    std::string description;  // "[GER] systems on Windows 98"
    int codePage = 1252;
};

class Reading : public ScriptListener {
public:
    Reading(Report& report, const DiscFolder& disc, Machine& machine, const ScreenModel& screen,
            const CheckHost& host, ReadingSystem system)
        : report_(report),
          disc_(disc),
          machine_(machine),
          model_(screen),
          host_(host),
          system_(std::move(system)) {}

    void OnLine(int number, const std::string& line) override;
    void OnHeader(const std::string& section, const std::string& selector, bool accepted) override;
    void OnEntry(const std::string& name, int number, const std::string& value, bool used) override;
    // What only the whole reading shows: title, screen, restart lists, [RUN],
    // texts that no button names.
    void Finish();

private:
    struct Field {
        std::string text;
        int column;
    };
    struct ListedButton {
        int slot, line, column;
        std::string key;
    };

    Finding MakeFinding(Severity severity, int column, const std::string& message,
                        const char* name) const;
    void Add(Severity severity, int column, const std::string& message, const char* name,
             bool ofOneSystem = false);
    void AddIfEveryReading(Severity severity, int column, const std::string& message,
                           const char* name);
    int Leading() const;
    int NumberColumn() const;
    std::vector<Field> Fields() const;
    void CheckCodePage();
    void CheckUnknownName(const std::string& name, const std::vector<std::string>& known);
    bool CheckNumber(int number, int lowest, int highest, const char* what);
    void CheckMovedFields(const std::vector<const char*>& names);
    void CheckKeyword(const Field& field, const struct KeywordField& kind);
    bool CheckIsNumber(const Field& field, const std::string& what);
    void CheckColour(const Field& field, const char* what, bool blankAllowed);
    void CheckFontNumber(const Field& field);
    void CheckTextNumber(const Field& field, const char* what);
    void CheckFile(const std::string& windowsPath, const std::string& written, int column,
                   const char* what);
    void CheckPicture(const std::string& written, int column, bool button);
    void CheckCommand(const std::string& command, int column);

    void OnBegin(const std::string& name, int number, bool used);
    void OnText(const std::string& name, int number, bool used);
    void OnButton(const std::string& name, int number, bool used);
    void OnChainMember(const std::string& name, int number, bool used);
    void OnButtonSection(const std::string& name, int number, bool used);

    Report& report_;
    const DiscFolder& disc_;
    Machine& machine_;
    const ScreenModel& model_;
    const CheckHost& host_;
    ReadingSystem system_;

    int line_ = 0;
    std::string raw_;
    std::string value_;
    std::string section_;
    bool accepted_ = false;
    bool windowsOwn_ = false;  // in [autorun]
    bool beginSeen_ = false;
    int beginLine_ = 0;
    int runLine_ = 0;
    int runMembers_ = 0;
    std::map<int, int> textLines_;  // text slot -> line of the entry that made it
    std::map<int, std::pair<int, int>> buttonLines_;  // button slot -> line and column of its last entry
    std::vector<ListedButton> listedButtons_;
};
