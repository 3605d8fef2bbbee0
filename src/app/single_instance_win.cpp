#include "app/single_instance_win.h"

namespace {
const char kInstanceAtom[] = "TAVLO_CHECKINSTANCE_ATOM";
const char kScreenMark[] = "TAVLO_CHECKINSTANCE_SCREEN";

struct ScreenSearch {
    HWND self;
    bool found;
};

BOOL CALLBACK FindMarkedScreen(HWND window, LPARAM argument) {
    auto* search = reinterpret_cast<ScreenSearch*>(argument);
    if (window == search->self || !GetPropA(window, kScreenMark)) return TRUE;
    search->found = true;
    return FALSE;
}
}  // namespace

SingleInstance::~SingleInstance() {
    if (atom_) GlobalDeleteAtom(atom_);
}

void SingleInstance::MarkScreen(HWND screen) {
    SetPropA(screen, kScreenMark, reinterpret_cast<HANDLE>(1));
}

void SingleInstance::UnmarkScreen(HWND screen) { RemovePropA(screen, kScreenMark); }

bool SingleInstance::EarlierCopyRuns(HWND ownScreen) {
    if (!GlobalFindAtomA(kInstanceAtom)) return false;
    ScreenSearch search = {ownScreen, false};
    EnumWindows(&FindMarkedScreen, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SingleInstance::Claim() { atom_ = GlobalAddAtomA(kInstanceAtom); }

void SingleInstance::BringEarlierCopyToFront(const std::string& programName) {
    HWND earlier = FindWindowA("#32770", programName.c_str());
    if (!earlier) return;
    HWND popup = GetLastActivePopup(earlier);
    SetForegroundWindow(earlier);
    if (IsIconic(earlier)) ShowWindow(earlier, SW_RESTORE);
    if (popup && popup != earlier) SetForegroundWindow(popup);
}
