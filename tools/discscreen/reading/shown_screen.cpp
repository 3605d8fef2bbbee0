#include "reading/shown_screen.h"

#include "reading/screen_reading.h"

ShownScreen ReadShownScreen(const ScriptTarget& target, const SystemLanguage& language,
                            const WindowsSystem& windows) {
    ScreenReading reading(target, TargetSystemOf(language, windows));
    CheckHost host(reading.disc, reading.machine);
    reading.Read(host);
    const ScreenModel& screen = reading.screen;

    ShownScreen shown;
    shown.title = screen.title;
    shown.width = host.backgroundWidth;
    shown.height = host.backgroundHeight;
    shown.backgroundPath = host.backgroundPath;
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

bool DiscTargetOf(const std::string& folder, ScriptTarget* target) {
    DiscFile script = DiscFolder(folder).Find(std::string(kDiscRoot) + "AUTORUN.INF");
    if (!script.found || script.directory) return false;
    target->discFolder = folder;
    target->scriptPath = script.localPath;
    target->programName = "AUTORUN";
    return true;
}
