#include <windows.h>
#include <mmsystem.h>

#include "ui/sound_lock.h"

void PlaySoundLocked(const char* file, int seconds) {
    static SoundLock lock;  // used from the screen's thread only
    if (!lock.Admit(GetTickCount() / 1000, file != nullptr, seconds)) return;
    PlaySoundA(file, nullptr, SND_FILENAME | SND_NOWAIT | SND_ASYNC);
}
