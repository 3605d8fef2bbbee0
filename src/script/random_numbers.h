#pragma once
// A small pseudo-random generator (linear congruential, 15-bit draws) for
// the number in a resume script's name.
class RandomNumbers {
public:
    explicit RandomNumbers(unsigned long seed) : state_(static_cast<unsigned>(seed)) {}
    // The next number, from 0 to 32767.
    int Next();

private:
    unsigned state_;  // arithmetic is modulo 2^32
};
