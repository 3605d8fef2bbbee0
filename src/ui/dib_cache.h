#pragma once
// The screen's cache of button pictures: a fixed number of slots, filled
// from the lowest upward and never emptied, keyed by the picture's path.
#include <array>
#include <cstddef>
#include <memory>
#include <string>

class Machine;

// The cache key of a picture named in the script: trimmed, upper-cased and
// made absolute against the program's own folder.
std::string ButtonBitmapKey(Machine& machine, const std::string& name);

// Finds the picture whose file name is `key` or makes it with `make(key)`
// in the first empty slot. A picture that failed to load keeps its slot, so
// it is not tried again. The frame size is a quarter of the width (a strip
// of four frames) by the height; a full cache gives no picture and a frame
// of 0 by 0. A picture drawn `scale` times larger has frames of a quarter
// of the file's width, at that scale.
template <typename Picture, std::size_t Count, typename Make>
Picture* LookUpButtonBitmap(std::array<std::unique_ptr<Picture>, Count>& cache,
                            const std::string& key, Make make, int* frameWidth,
                            int* frameHeight, int scale = 1) {
    Picture* found = nullptr;
    for (std::unique_ptr<Picture>& slot : cache) {
        if (!slot) {
            slot.reset(make(key));
            found = slot.get();
            break;
        }
        if (slot->FileName() == key) {
            found = slot.get();
            break;
        }
    }
    *frameWidth = found ? found->Width() / scale / 4 * scale : 0;
    *frameHeight = found ? found->Height() : 0;
    return found;
}
