#pragma once
// The lock time of the sound player: a sound started with a lock time is not
// cut off by other sounds until that many seconds have passed. A stop always
// goes through.
class SoundLock {
public:
    // True when the request may play; records the new lock.
    bool Admit(unsigned long nowSeconds, bool isSound, int seconds);
    unsigned long LockUntil() const { return lockUntil_; }

private:
    unsigned long lockUntil_ = 0;
};

// Plays a sound file in the background (null stops any sound).
void PlaySoundLocked(const char* file, int seconds);
