// The application's own input codes: every host translates its window system's keys and buttons
// into these, and the layers above read nothing else.
#pragma once

constexpr unsigned char kEscape = 27;  // the quit key, as a key that types a character

// Keys that type no character; a host reports only these.
enum SpecialKey : int { kKeyLeft = 1, kKeyUp, kKeyRight, kKeyDown };

// A mouse button, and what happened to it.
enum class MouseButton { kLeft, kMiddle, kRight, kOther };
enum class ButtonAction { kPress, kRelease };

// A letter key in lower case, so that a letter's two cases share one row or case; every other
// byte as it is.
inline unsigned char LowerCaseLetter(unsigned char key) {
    return key >= 'A' && key <= 'Z' ? static_cast<unsigned char>(key - 'A' + 'a') : key;
}
