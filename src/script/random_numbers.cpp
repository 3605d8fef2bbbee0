#include "script/random_numbers.h"

int RandomNumbers::Next() {
    state_ = (state_ * 214013u + 2531011u) & 0xFFFFFFFFu;
    return static_cast<int>((state_ >> 16) & 0x7FFF);
}
