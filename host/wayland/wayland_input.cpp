// The seat: the keymap, key presses and their repeats, the pointer and its buttons.
#include "host/wayland/wayland_input.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include "common/keys.h"
#include "common/widths.h"
#include "host/input.h"
#include "host/wayland/frame_callbacks.h"
#include "host/wayland/wayland_display.h"

namespace {
constexpr int kMaxCharacter = 127;            // the keys the application reads type ASCII
constexpr uint32_t kEvdevToXkb = 8;           // xkb key codes are evdev codes plus 8
constexpr int32_t kDefaultRepeatRate = 25;    // per second, until the compositor says
constexpr int32_t kDefaultRepeatDelay = 600;  // ms

struct KeyCode {
    uint32_t keysym;
    int application;
};
constexpr KeyCode kSpecialKeys[] = {
    {XKB_KEY_Left, kKeyLeft},
    {XKB_KEY_Up, kKeyUp},
    {XKB_KEY_Right, kKeyRight},
    {XKB_KEY_Down, kKeyDown},
};

// The seat's state; the keymap and the key state are xkbcommon's.
xkb_context* keyContext = nullptr;  // made with the first keymap
xkb_keymap* keymap = nullptr;       // the seat's keymap; written by its keymap event
xkb_state* keyState = nullptr;      // its modifiers; written by the modifiers event
wl_keyboard* keyboard = nullptr;
wl_pointer* pointer = nullptr;
int32_t repeatRate = kDefaultRepeatRate;    // repeats a second, 0 for none; repeat_info
int32_t repeatDelay = kDefaultRepeatDelay;  // ms before the first repeat; repeat_info
uint32_t heldKey = 0;                       // the evdev code of the key that repeats, 0: none
int64_t nextRepeatMs = 0;                   // the monotonic ms of its next repeat
double pointerX = 0;                        // the pointer over the surface, buffer pixels
double pointerY = 0;
int buttonsHeld = 0;    // buttons held down over the surface
int pointerHidden = 0;  // 0/1: the application asked for no pointer; HideWaylandPointer
wl_pointer* enteredPointer = nullptr;  // the pointer now over the surface, null: none
uint32_t enterSerial = 0;              // the serial of its entry, which hides it

int64_t NowMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

int X() {
    return TruncInt(pointerX);
}
int Y() {
    return TruncInt(pointerY);
}

// Reports the key with evdev code `key` as the application reads it: a character, or a
// SpecialKey; anything else is no key of the application's.
void ReportKey(uint32_t key) {
    if (keyState == nullptr) return;
    const xkb_keysym_t keysym = xkb_state_key_get_one_sym(keyState, key + kEvdevToXkb);
    const int special = SpecialKeyFromKeysym(keysym);
    if (special >= 0) {
        InputSpecialKey(special, X(), Y());
        return;
    }
    const uint32_t character = xkb_state_key_get_utf32(keyState, key + kEvdevToXkb);
    if (character > 0 && character <= kMaxCharacter)
        InputKey(static_cast<unsigned char>(character), X(), Y());
}

void Keymap(void*, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        close(fd);
        return;
    }
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (text == MAP_FAILED) return;
    if (keyContext == nullptr) keyContext = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* fresh =
        xkb_keymap_new_from_string(keyContext, static_cast<const char*>(text),
                                   XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    munmap(text, size);
    if (fresh == nullptr) return;
    xkb_state_unref(keyState);
    xkb_keymap_unref(keymap);
    keymap = fresh;
    keyState = xkb_state_new(keymap);
}

void KeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void KeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {
    heldKey = 0;
}

void Key(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
    if (state != WL_KEYBOARD_KEY_STATE_PRESSED) {
        if (key == heldKey) heldKey = 0;
        return;
    }
    ReportKey(key);
    if (keymap != nullptr && repeatRate > 0 && xkb_keymap_key_repeats(keymap, key + kEvdevToXkb)) {
        heldKey = key;
        nextRepeatMs = NowMs() + repeatDelay;
    }
}

void Modifiers(void*, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
               uint32_t group) {
    if (keyState != nullptr)
        xkb_state_update_mask(keyState, depressed, latched, locked, 0, 0, group);
}

void RepeatInfo(void*, wl_keyboard*, int32_t rate, int32_t delay) {
    repeatRate = rate;
    repeatDelay = delay;
}
const wl_keyboard_listener kKeyboardListener = {Keymap, KeyboardEnter, KeyboardLeave,
                                                Key,    Modifiers,     RepeatInfo};

void ApplyHiddenPointer() {
    if (pointerHidden && enteredPointer != nullptr)
        wl_pointer_set_cursor(enteredPointer, enterSerial, nullptr, 0, 0);
}

void PointerEnter(void*, wl_pointer* entered, uint32_t serial, wl_surface*, wl_fixed_t x,
                  wl_fixed_t y) {
    enteredPointer = entered;
    enterSerial = serial;
    pointerX = wl_fixed_to_double(x) * drawn.scale;
    pointerY = wl_fixed_to_double(y) * drawn.scale;
    ApplyHiddenPointer();
}
void PointerLeave(void*, wl_pointer*, uint32_t, wl_surface*) {
    enteredPointer = nullptr;
}
void Motion(void*, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
    pointerX = wl_fixed_to_double(x) * drawn.scale;
    pointerY = wl_fixed_to_double(y) * drawn.scale;
    if (buttonsHeld > 0) InputMotion(X(), Y());  // as under X: only a drag moves anything
}

MouseButton ButtonFromEvdev(uint32_t button) {
    switch (button) {
        case BTN_LEFT:
            return MouseButton::kLeft;
        case BTN_MIDDLE:
            return MouseButton::kMiddle;
        case BTN_RIGHT:
            return MouseButton::kRight;
        default:
            return MouseButton::kOther;
    }
}

void Button(void*, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
    const bool pressed = state == WL_POINTER_BUTTON_STATE_PRESSED;
    buttonsHeld += pressed ? 1 : (buttonsHeld > 0 ? -1 : 0);
    InputButton(ButtonFromEvdev(button), pressed ? ButtonAction::kPress : ButtonAction::kRelease,
                X(), Y());
}
void Axis(void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) {}
void PointerFrame(void*, wl_pointer*) {}
void AxisSource(void*, wl_pointer*, uint32_t) {}
void AxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void AxisDiscrete(void*, wl_pointer*, uint32_t, int32_t) {}
void AxisValue120(void*, wl_pointer*, uint32_t, int32_t) {}
const wl_pointer_listener kPointerListener = {PointerEnter, PointerLeave, Motion,     Button,
                                              Axis,         PointerFrame, AxisSource, AxisStop,
                                              AxisDiscrete, AxisValue120};

// A keyboard or pointer that goes (the last of its devices was unplugged, a virtual one ended)
// is let go, and taken anew when one comes back.
void Capabilities(void*, wl_seat* seat, uint32_t capabilities) {
    const bool keys = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (keys && keyboard == nullptr) {
        keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(keyboard, &kKeyboardListener, nullptr);
    } else if (!keys && keyboard != nullptr) {
        wl_keyboard_release(keyboard);
        keyboard = nullptr;
        heldKey = 0;
    }
    const bool mouse = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (mouse && pointer == nullptr) {
        pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(pointer, &kPointerListener, nullptr);
    } else if (!mouse && pointer != nullptr) {
        wl_pointer_release(pointer);
        pointer = nullptr;
        enteredPointer = nullptr;
        buttonsHeld = 0;
    }
}
void SeatName(void*, wl_seat*, const char*) {}
const wl_seat_listener kSeatListener = {Capabilities, SeatName};
}  // namespace

void ListenToSeat(wl_seat* seat) {
    wl_seat_add_listener(seat, &kSeatListener, nullptr);
}

int64_t KeyRepeatInMs() {
    if (heldKey == 0) return kNoRepeat;
    const int64_t left = nextRepeatMs - NowMs();
    return left > 0 ? left : 0;
}

void RepeatHeldKey() {
    if (heldKey == 0 || NowMs() < nextRepeatMs) return;
    nextRepeatMs += 1000 / repeatRate;
    // Late by more than a repeat (a long frame): the next comes a whole period from now.
    if (nextRepeatMs < NowMs()) nextRepeatMs = NowMs() + 1000 / repeatRate;
    ReportKey(heldKey);
}

void HideWaylandPointer() {
    pointerHidden = 1;
    ApplyHiddenPointer();
}

int SpecialKeyFromKeysym(uint32_t keysym) {
    for (const KeyCode& key : kSpecialKeys) {
        if (key.keysym == keysym) return key.application;
    }
    return -1;
}
