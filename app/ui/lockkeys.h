#pragma once
// Tracks Caps Lock, Num Lock and Scroll Lock from the key events the
// application sees, since Qt offers no portable way to read them.

struct LockStates {
  bool caps = false, num = false, scroll = false;
  bool operator==(const LockStates&) const = default;
};

// X modifier mask bits carried by key events on xcb.
inline constexpr unsigned kXLockMask = 0x2;   // Caps Lock
inline constexpr unsigned kXMod2Mask = 0x10;  // Num Lock

// The lock states after one key event. With haveNativeState the X modifier mask
// of the event decides Caps and Num Lock; as X reports the state before the
// event, pressing Caps Lock or Num Lock flips its bit. Without it, a press of
// either key toggles the current state. Scroll Lock has no mask bit anywhere and
// toggles on every press of its key. Releases only ever matter through the mask.
LockStates NextLockStates(LockStates current, unsigned nativeModifiers, int qtKey, bool press,
                          bool haveNativeState);
