// Window ids: a pure function over the text.
#include "host/x11_saver/window_id.h"

namespace {
constexpr uint32_t kLargestWindowId = 0xFFFFFFFF;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

bool ParseWindowId(const char* text, uint32_t& id) {
    const bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    const uint64_t base = hex ? 16 : 10;
    if (*digits == '\0') return false;
    uint64_t sum = 0;
    for (const char* p = digits; *p != '\0'; ++p) {
        const int digit = HexDigit(*p);
        if (digit < 0 || static_cast<uint64_t>(digit) >= base) return false;
        sum = sum * base + static_cast<uint64_t>(digit);
        if (sum > kLargestWindowId) return false;  // checked at every digit: no overflow
    }
    if (sum == 0) return false;  // no window has id 0
    id = static_cast<uint32_t>(sum);
    return true;
}
