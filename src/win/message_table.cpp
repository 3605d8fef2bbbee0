#include "win/message_table.h"

bool MessageTarget::DispatchMessageTable(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT* result) {
    for (std::size_t i = 0; i < count_; ++i) {
        const MessageEntry& entry = messages_[i];
        if (entry.message == message) {
            *result = entry.call(*this, wParam, lParam);
            return entry.followUp == kHandled;
        }
    }
    return false;
}
