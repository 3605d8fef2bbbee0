#include "check/script_checker.h"

#include <memory>

#include "check/autorun_checks.h"
#include "check/system_checks.h"
#include "script/screen_script.h"

namespace {

// Checks each reading's lines as the reader takes them, then hands the
// reading on to the caller's observer.
class CheckingObserver : public ReadingObserver {
public:
    CheckingObserver(Report& report, ReadingObserver* next) : report_(report), next_(next) {}

    ScriptListener* BeforeReading(const TargetSystem& system, ScreenReading& reading, CheckHost& host) override {
        checks_ = std::make_unique<Reading>(report_, reading.disc, reading.machine, reading.screen, host,
                                            ReadingSystem{system.description, reading.machine.codePage});
        return checks_.get();
    }
    void OnSystemRead(const SystemReading& reading) override {
        checks_->Finish();
        if (next_) next_->OnSystemRead(reading);
    }

private:
    Report& report_;
    ReadingObserver* next_;
    std::unique_ptr<Reading> checks_;
};

}  // namespace

void CheckScript(const ScriptTarget& target, Report& report, ReadingObserver* observer) {
    CheckingObserver checking(report, observer);
    ReadEverySystem(target, checking);
    CheckAutorunSections(target, report);
}
