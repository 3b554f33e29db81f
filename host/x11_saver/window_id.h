// A window id as X programs print them and screen-saver daemons pass them, on the command line or
// in XSCREENSAVER_WINDOW.
#pragma once

#include <cstdint>

// What a window id may be, as the refusals of a bad one end.
constexpr char kWindowIdExpected[] = ": expected decimal digits, or 0x and hexadecimal digits";

// Decimal digits, or 0x (or 0X) and hexadecimal digits; no sign or space, from 1 to 2^32 - 1.
// False for anything else.
bool ParseWindowId(const char* text, uint32_t& id);
