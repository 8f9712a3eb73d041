// A small driver for the end-to-end tests: it reads one command per line on standard
// input and answers one line each, so a test can ask about the program's windows
// and post them messages from outside the program, with a single Wine start.
//
//   find CLASS [TITLE]         a top-level window of CLASS (with that ANSI title), or 0
//   child HWND ID              the dialog's control with that id, or 0
//   text HWND                  the window's text (ANSI bytes; CR, LF and \ escaped)
//   visible HWND               1 while the window is shown
//   shown CLASS                a shown top-level window of CLASS, or 0: the window is
//                              made before its start-up is done, and shown after it
//   rect HWND                  left top right bottom
//   styles HWND                style and extended style, in hex
//   alive HWND                 1 while the window exists
//   fullscreen 1|0 [CLASS]     opens (in front, covering the primary monitor) or closes
//                              a fullscreen window of the driver's own, of that class
//   drop HWND PATH             drops the file on the window as the shell would: the
//                              drop's memory in the window's process, then WM_DROPFILES
//   post HWND MSG WPARAM LPARAM
//   send HWND MSG WPARAM LPARAM
//   quit
#include <windows.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND ParseWindow(const char* text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoul(text, nullptr, 0)));
}

unsigned long WindowNumber(HWND window) {
    return static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window));
}

// Lets the driver's own windows be shown, activated or destroyed.
void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(10);
    }
}

HWND fullscreenWindow = nullptr;

void Fullscreen(bool open, const char* className) {
    if (open && fullscreenWindow == nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        fullscreenWindow = CreateWindowExA(0, windowClass.lpszClassName, "fullscreen", WS_POPUP | WS_VISIBLE, 0, 0,
                                           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                           nullptr, nullptr, nullptr);
        SetForegroundWindow(fullscreenWindow);
    } else if (!open && fullscreenWindow != nullptr) {
        DestroyWindow(fullscreenWindow);
        fullscreenWindow = nullptr;
    }
    Pump(300);
    std::printf("%lu\n", WindowNumber(GetForegroundWindow()));
}

// An HDROP is memory of the process that handles it: the shell puts it there.
bool Drop(HWND window, const char* path) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
    if (target == nullptr) return false;
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    const size_t length = std::strlen(path);
    char block[sizeof(DROPFILES) + 512] = {};
    std::memcpy(block, &header, sizeof(header));
    std::memcpy(block + sizeof(header), path, length);  // then two zero bytes: the list's end
    void* remote = VirtualAllocEx(target, nullptr, sizeof(block), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote != nullptr && WriteProcessMemory(target, remote, block, sizeof(block), nullptr);
    CloseHandle(target);
    return written && PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

bool Run(char* line) {
    char* words[6] = {};
    int count = 0;
    for (char* word = std::strtok(line, " \t\r\n"); word != nullptr && count < 6; word = std::strtok(nullptr, " \t\r\n")) {
        words[count++] = word;
    }
    if (count == 0) return true;
    const char* command = words[0];
    auto number = [&](int i) { return i < count ? std::strtoul(words[i], nullptr, 0) : 0ul; };

    if (std::strcmp(command, "quit") == 0) return false;
    if (std::strcmp(command, "find") == 0 && count >= 2) {
        std::printf("%lu\n", WindowNumber(FindWindowA(words[1], count >= 3 ? words[2] : nullptr)));
    } else if (std::strcmp(command, "rect") == 0 && count >= 2) {
        RECT rect = {};
        GetWindowRect(ParseWindow(words[1]), &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    } else if (std::strcmp(command, "child") == 0 && count >= 3) {
        std::printf("%lu\n", WindowNumber(GetDlgItem(ParseWindow(words[1]), static_cast<int>(std::strtol(words[2], nullptr, 0)))));
    } else if (std::strcmp(command, "text") == 0 && count >= 2) {
        char text[512] = {};
        GetWindowTextA(ParseWindow(words[1]), text, sizeof(text));
        // One answer, one line: line ends within the text go as \r and \n.
        for (const char* c = text; *c != '\0'; ++c) {
            if (*c == '\r' || *c == '\n' || *c == '\\') {
                std::printf("\\%c", *c == '\r' ? 'r' : *c == '\n' ? 'n' : '\\');
            } else {
                std::putchar(*c);
            }
        }
        std::putchar('\n');
    } else if (std::strcmp(command, "shown") == 0 && count >= 2) {
        HWND window = nullptr;
        do window = FindWindowExA(nullptr, window, words[1], nullptr);
        while (window != nullptr && !IsWindowVisible(window));
        std::printf("%lu\n", WindowNumber(window));
    } else if (std::strcmp(command, "visible") == 0 && count >= 2) {
        std::printf("%d\n", IsWindowVisible(ParseWindow(words[1])) ? 1 : 0);
    } else if (std::strcmp(command, "styles") == 0 && count >= 2) {
        HWND window = ParseWindow(words[1]);
        std::printf("%lx %lx\n", static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
               static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
    } else if (std::strcmp(command, "alive") == 0 && count >= 2) {
        std::printf("%d\n", IsWindow(ParseWindow(words[1])) ? 1 : 0);
    } else if (std::strcmp(command, "fullscreen") == 0 && count >= 2) {
        Fullscreen(std::strcmp(words[1], "1") == 0, count >= 3 ? words[2] : "WuzzleDriveFullscreen");
    } else if (std::strcmp(command, "drop") == 0 && count >= 3 && std::strlen(words[2]) < 500) {
        std::printf("%d\n", Drop(ParseWindow(words[1]), words[2]) ? 1 : 0);
    } else if ((std::strcmp(command, "post") == 0 || std::strcmp(command, "send") == 0) && count >= 5) {
        HWND window = ParseWindow(words[1]);
        const UINT message = static_cast<UINT>(number(2));
        const WPARAM wParam = static_cast<WPARAM>(number(3));
        const LPARAM lParam = static_cast<LPARAM>(std::strtol(words[4], nullptr, 0));
        if (command[0] == 'p') {
            std::printf("%d\n", PostMessageA(window, message, wParam, lParam) ? 1 : 0);
        } else {
            std::printf("%ld\n", static_cast<long>(SendMessageA(window, message, wParam, lParam)));
        }
    } else {
        std::puts("error unknown command");
    }
    return true;
}

// Standard input is read on a thread of its own, a line at a time, so that the main
// thread keeps taking its windows' messages while it waits: its fullscreen window is
// then a program in front that takes keys as any other does.
DWORD WINAPI ReadLines(void* mainThread) {
    const DWORD thread = static_cast<DWORD>(reinterpret_cast<uintptr_t>(mainThread));
    char line[512];
    while (std::fgets(line, sizeof(line), stdin) != nullptr) {
        PostThreadMessageA(thread, WM_APP, 0, reinterpret_cast<LPARAM>(_strdup(line)));
    }
    PostThreadMessageA(thread, WM_APP, 0, 0);
    return 0;
}

}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);  // every answer goes out at once
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before the reader posts
    CloseHandle(CreateThread(nullptr, 0, ReadLines,
                             reinterpret_cast<void*>(static_cast<uintptr_t>(GetCurrentThreadId())), 0, nullptr));
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd != nullptr || message.message != WM_APP) {
            DispatchMessageA(&message);
            continue;
        }
        char* line = reinterpret_cast<char*>(message.lParam);
        const bool more = line != nullptr && Run(line);
        std::free(line);
        if (!more) break;
    }
    return 0;
}
