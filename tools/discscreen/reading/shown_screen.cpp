#include "reading/shown_screen.h"

#include "reading/check_host.h"
#include "reading/disc_folder.h"
#include "script/screen_script.h"

ShownScreen ReadShownScreen(const CheckTarget& target, const SystemLanguage& language,
                            const WindowsSystem& windows) {
    DiscFolder disc(target.discFolder);
    DiscMachine machine(disc, target.programName);
    machine.language = language.id;
    machine.version = windows.info;
    machine.codePage = language.codePage;

    ScreenModel screen;
    screen.programName = target.programName;
    screen.programDirectory = kDiscRoot;
    screen.scriptPath = target.scriptPath;
    screen.windowsVersion = windows.code;
    CheckHost host(disc, machine);
    ScreenScript reader(screen, host, machine);
    reader.Load(target.scriptPath);

    ShownScreen shown;
    shown.title = screen.title;
    shown.width = host.backgroundWidth;
    shown.height = host.backgroundHeight;
    for (int number = 0; number < kSlotCount; ++number) {
        const ScreenItem* item = screen.Button(number);
        if (!item || !item->hasWindow || item->state.load() == kStateHide) continue;
        if (item->width <= 0 || item->height <= 0) continue;
        shown.buttons.push_back(
            {number, item->kind,
             item->kind == ButtonKind::kCheckBox && item->state.load() == kChecked,
             item->x + item->width / 2, item->y + item->height / 2});
    }
    return shown;
}

bool DiscTargetOf(const std::string& folder, CheckTarget* target) {
    DiscFile script = DiscFolder(folder).Find(std::string(kDiscRoot) + "AUTORUN.INF");
    if (!script.found || script.directory) return false;
    target->discFolder = folder;
    target->scriptPath = script.localPath;
    target->programName = "AUTORUN";
    return true;
}
