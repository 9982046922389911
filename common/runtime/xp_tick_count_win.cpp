// Windows XP has no GetTickCount64, yet the static threads runtime imports it. Defining its
// import slot here, in an object every program and control links ahead of kernel32's import
// library, removes that import: the runtime calls this count instead.
#include <windows.h>

namespace {

// The 32-bit count wraps every 49.7 days; wraps seen between two readings are carried into
// the high half. The last reading is one 64-bit word, swapped atomically.
ULONGLONG WINAPI TickCount64() {
    static volatile LONGLONG last = 0;
    const DWORD now = GetTickCount();
    LONGLONG seen = InterlockedCompareExchange64(&last, 0, 0);
    for (;;) {
        LONGLONG high = seen & ~static_cast<LONGLONG>(0xFFFFFFFF);
        if (now < static_cast<DWORD>(seen)) high += static_cast<LONGLONG>(1) << 32;
        const LONGLONG value = high | now;
        if (value <= seen) return static_cast<ULONGLONG>(seen);
        const LONGLONG before = InterlockedCompareExchange64(&last, value, seen);
        if (before == seen) return static_cast<ULONGLONG>(value);
        seen = before;
    }
}

}  // namespace

extern "C" ULONGLONG(WINAPI* const xp_get_tick_count64)() __asm__("__imp__GetTickCount64@0") = TickCount64;
