// Prints the order in which the program's long-lived objects are made and unmade,
// with "main" where the entry function would run.
#include <windows.h>

#include "app/long_lived.h"

namespace {

void Print(const char* event) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), event, lstrlenA(event), &written, nullptr);
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), " ", 1, &written, nullptr);
}

}  // namespace

// Set before any constructor runs: it is constant-initialised.
void (*lifecycleObserver)(const char* event) = Print;

int main() {
    Print("main");
    return controlPanel.Window() == nullptr ? 0 : 1;
}
