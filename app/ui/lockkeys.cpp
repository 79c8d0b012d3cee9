#include "app/ui/lockkeys.h"

#include <QtCore/qnamespace.h>

LockStates NextLockStates(LockStates current, unsigned nativeModifiers, int qtKey, bool press,
                          bool haveNativeState) {
  LockStates next = current;
  if (haveNativeState) {
    next.caps = (nativeModifiers & kXLockMask) != 0;
    next.num = (nativeModifiers & kXMod2Mask) != 0;
  }
  if (!press) return next;
  switch (qtKey) {
    case Qt::Key_CapsLock:
      next.caps = !next.caps;
      break;
    case Qt::Key_NumLock:
      next.num = !next.num;
      break;
    case Qt::Key_ScrollLock:
      next.scroll = !next.scroll;
      break;
    default:
      break;
  }
  return next;
}
