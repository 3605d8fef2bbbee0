#include "app/launcher_dialog.h"
#include "ui/dib_bitmap.h"

LRESULT LauncherDialog::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT paint;
    HDC context = BeginPaint(Handle(), &paint);
    if (background_) {
        background_->Draw(context, 0, 0, background_->Width(), background_->Height(), 0, 0, SRCCOPY,
                          FALSE);
    }
    EndPaint(Handle(), &paint);
    return 0;
}
