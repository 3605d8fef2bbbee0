// 64-bit division for the i686 build, which the compiler calls for a 64-bit
// '/' (picture weights, text block sizes, the clock). Written here, they
// keep the arithmetic library's copies out, and with them the unwind tables
// that those bring: half a kilobyte of file in a program that never unwinds.
// Shift and subtract: a few divisions per screen, never in a loop.
#if defined(__i386__)

namespace {

unsigned long long DivideUnsigned(unsigned long long dividend, unsigned long long divisor) {
    unsigned long long quotient = 0;
    unsigned long long rest = 0;
    for (int bit = 63; bit >= 0; --bit) {
        rest = (rest << 1) | ((dividend >> bit) & 1);
        if (rest >= divisor) {
            rest -= divisor;
            quotient |= 1ull << bit;
        }
    }
    return quotient;
}

unsigned long long Magnitude(long long value) {
    return value < 0 ? 0ull - static_cast<unsigned long long>(value)
                     : static_cast<unsigned long long>(value);
}

}  // namespace

extern "C" unsigned long long __udivdi3(unsigned long long dividend, unsigned long long divisor) {
    return DivideUnsigned(dividend, divisor);
}

// Truncates toward zero, as C++ division does.
extern "C" long long __divdi3(long long dividend, long long divisor) {
    unsigned long long quotient = DivideUnsigned(Magnitude(dividend), Magnitude(divisor));
    bool negative = (dividend < 0) != (divisor < 0);
    return static_cast<long long>(negative ? 0ull - quotient : quotient);
}

#endif
