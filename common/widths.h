// Conversions whose widths are part of the program's behaviour: floats computed in double and
// stored back, whole pixels truncated toward zero, 16-bit pixel positions, window sizes read as
// unsigned. Every such narrowing goes through one of these so that it is visible where it happens.
#pragma once

#include <cmath>
#include <cstdint>

// A double result stored back at single precision (round to nearest).
inline float StoreFloat(double value) {
    return static_cast<float>(value);
}

// Whole units, truncated toward zero; values beyond the int range saturate instead of being
// undefined.
inline int32_t TruncInt(double value) {
    if (std::isnan(value)) return 0;
    if (value <= -2147483648.0) return INT32_MIN;
    if (value >= 2147483647.0) return INT32_MAX;
    return static_cast<int32_t>(value);
}

// A 16-bit pixel position: the low 16 bits of a whole number, as a signed value.
inline int16_t Wrap16(int32_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value)));
}

// Truncated toward zero and kept in 16 bits, as pixel positions are.
inline int16_t TruncInt16(double value) {
    return Wrap16(TruncInt(value));
}

// The low 32 bits of a 64-bit count, as a 32-bit clock that wraps shows it.
inline uint32_t Low32(uint64_t value) {
    return static_cast<uint32_t>(value);
}

// Whole milliseconds as seconds in a double: every millisecond stays exact for far longer than
// any run, and two such times differ by the same double however they were reached.
constexpr double MsToSeconds(uint64_t ms) {
    return static_cast<double>(ms) * 0.001;
}

// A window dimension read as an unsigned number before it enters floating-point arithmetic.
inline double UnsignedSize(int size) {
    return static_cast<double>(static_cast<uint32_t>(size));
}
