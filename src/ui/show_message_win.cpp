#include <windows.h>

#include "ui/show_message.h"

int ShowMessage(const std::string& text, const std::string& caption, unsigned type) {
    if (text.empty()) return 0;
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), type | MB_TASKMODAL | MB_SETFOREGROUND);
}
