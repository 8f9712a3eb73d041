// The long-lived objects report their construction and destruction here, so that a
// test harness can check the order they live in. The program's own hook is null.
#pragma once

extern void (*lifecycleObserver)(const char* event);

inline void NoteLifecycle(const char* event) {
    if (lifecycleObserver != nullptr) lifecycleObserver(event);
}
