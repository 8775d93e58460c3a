#pragma once
// Waiting in a test for something another thread or process does: poll until the check holds.
#include <windows.h>

#include <functional>

namespace norvel::test {

// False when the delay ran out first.
inline bool AttendreQue(const std::function<bool()>& verification, DWORD delaiMs = 10000) {
  const ULONGLONG fin = GetTickCount64() + delaiMs;
  while (!verification()) {
    if (GetTickCount64() > fin) return false;
    Sleep(5);
  }
  return true;
}

}  // namespace norvel::test
