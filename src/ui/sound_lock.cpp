#include "ui/sound_lock.h"

bool SoundLock::Admit(unsigned long nowSeconds, bool isSound, int seconds) {
    if (isSound && lockUntil_ >= nowSeconds) return false;
    lockUntil_ = seconds > 0 ? nowSeconds + static_cast<unsigned long>(seconds) : 0;
    return true;
}
