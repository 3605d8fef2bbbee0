#include "app/launcher_dialog.h"
#include "ui/hot_button.h"

// The button class asks the screen to draw each owner-drawn button; the
// button draws itself, and the focus button is drawn highlighted over it, so
// that after any repaint the focus button and its texts show highlighted.
LRESULT LauncherDialog::OnDrawItem(WPARAM, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item && item->CtlType == ODT_BUTTON) {
        if (ButtonWindow* button = ButtonWindow::FromHandle(item->hwndItem)) button->DrawItem(*item);
    }
    if (focusButton_) focusButton_->DrawButton(true, true);
    return TRUE;
}
