// The end-to-end tests' driver: one command a line on standard input, one answer
// line each, so a test looks at the program's windows from outside with one Wine start.
// Windows are decimal handles; texts come as their ANSI bytes in hex.
//   find|shown CLASS [TITLE]   a top-level window (shown: passing over hidden ones), or 0
//   child HWND ID / inside HWND CLASS   a dialog's control / the first descendant of a class
//   text HWND / cell HWND ROW COLUMN    a window's text / a list view's cell
//   visible / rect / styles HWND        1 while shown / left top right bottom / hex styles
//   xwindow HWND       the X window that shows it: Wine shows windows before X draws them
//   focus              the focus window of the thread in front, and its open menu's owner
//   fullscreen 1|0 [CLASS]   opens or closes a fullscreen window in front; answers the front one
//   watch CLASS MS     each change of the first CLASS window for MS ms, "MICROS:VISIBLE:HEX"
//   drop HWND PATH     a file dropped as the shell drops it
//   post|send HWND MSG WPARAM LPARAM, quit
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace {

void Answer(long value) {
    std::printf("%ld\n", value);
}

void Answer(HWND window) {
    Answer(static_cast<long>(reinterpret_cast<intptr_t>(window)));
}

std::string Hex(const char* text) {
    std::string hex;
    char digits[3];
    for (const char* c = text; *c != '\0'; ++c) {
        std::snprintf(digits, sizeof(digits), "%02x", static_cast<unsigned char>(*c));
        hex += digits;
    }
    return hex;
}

void AnswerText(const char* text) {
    std::puts(Hex(text).c_str());
}

// The item and its text buffer go to the list's process: the list writes through the
// pointer it is given. Calls on a null handle fail and change nothing.
void AnswerCell(HWND list, int row, int column) {
    char text[512] = {};
    DWORD process = 0;
    GetWindowThreadProcessId(list, &process);
    HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
    LVITEMA item = {};
    item.iSubItem = column;
    auto* remote = static_cast<char*>(VirtualAllocEx(target, nullptr, sizeof(item) + sizeof(text), MEM_COMMIT,
                                                     PAGE_READWRITE));
    item.pszText = remote + sizeof(item);
    item.cchTextMax = sizeof(text) - 1;
    if (remote != nullptr && WriteProcessMemory(target, remote, &item, sizeof(item), nullptr)) {
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(target, item.pszText, text, sizeof(text) - 1, nullptr);
    }
    VirtualFreeEx(target, remote, 0, MEM_RELEASE);
    CloseHandle(target);
    AnswerText(text);
}

long long NowMicros() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart / frequency.QuadPart * 1000000 +
           counter.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart;
}

std::string Watch(const char* className, DWORD ms) {
    std::string changes, last;
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(1)) {
        HWND found = FindWindowA(className, nullptr);
        char text[512] = {};
        if (found != nullptr) GetWindowTextA(found, text, sizeof(text));
        const std::string seen = (found != nullptr && IsWindowVisible(found) ? "1:" : "0:") + Hex(text);
        if (seen == last) continue;
        changes += std::to_string(NowMicros()) + ":" + seen + " ";
        last = seen;
    }
    return changes;
}

HWND fullscreenWindow = nullptr;

HWND Fullscreen(bool open, const char* className) {
    if (open && fullscreenWindow == nullptr) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = className;
        RegisterClassA(&windowClass);
        fullscreenWindow = CreateWindowExA(0, className, "fullscreen", WS_POPUP | WS_VISIBLE, 0, 0,
                                           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                           nullptr, nullptr, nullptr);
        SetForegroundWindow(fullscreenWindow);
    } else if (!open && fullscreenWindow != nullptr) {
        DestroyWindow(fullscreenWindow);
        fullscreenWindow = nullptr;
    }
    // The window in front, or gone, before the answer; no line comes in meanwhile, as
    // the test waits for this answer.
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(10)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (!open || GetForegroundWindow() == fullscreenWindow) break;
    }
    return GetForegroundWindow();
}

// An HDROP is memory of the process that handles it: the shell puts it there.
bool Drop(HWND window, const char* path) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HANDLE target = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, process);
    if (target == nullptr) return false;
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    // The header, the one path, then two zero bytes: the list's end.
    std::string block(reinterpret_cast<const char*>(&header), sizeof(header));
    block.append(path).append(2, '\0');
    void* remote = VirtualAllocEx(target, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote != nullptr && WriteProcessMemory(target, remote, block.data(), block.size(), nullptr);
    CloseHandle(target);
    return written && PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

bool Run(char* line) {
    const char* words[6] = {};
    int count = 0;
    for (char* word = std::strtok(line, " \r\n"); word != nullptr && count < 6; word = std::strtok(nullptr, " \r\n")) {
        words[count++] = word;
    }
    const std::string command = count > 0 ? words[0] : "";
    const auto number = [&](int i) { return words[i] != nullptr ? std::strtoll(words[i], nullptr, 0) : 0; };
    const auto window = [&](int i) { return reinterpret_cast<HWND>(static_cast<intptr_t>(number(i))); };

    if (command == "quit") return false;
    if (command == "find" || command == "shown") {
        HWND found = nullptr;
        do found = FindWindowExA(nullptr, found, words[1], words[2]);
        while (found != nullptr && command == "shown" && !IsWindowVisible(found));
        Answer(found);
    } else if (command == "child") {
        Answer(GetDlgItem(window(1), static_cast<int>(number(2))));
    } else if (command == "inside") {  // the first descendant of a class, at any depth
        std::pair<const char*, HWND> search = {words[2] != nullptr ? words[2] : "", nullptr};
        // CALLBACK: stdcall in the 32-bit build, which a lambda's own convention is not.
        EnumChildWindows(window(1), [](HWND child, LPARAM data) CALLBACK -> BOOL {
            auto* found = reinterpret_cast<std::pair<const char*, HWND>*>(data);
            char name[64] = {};
            GetClassNameA(child, name, sizeof(name));
            if (lstrcmpiA(name, found->first) != 0) return TRUE;
            found->second = child;
            return FALSE;
        }, reinterpret_cast<LPARAM>(&search));
        Answer(search.second);
    } else if (command == "text") {
        char text[512] = {};
        GetWindowTextA(window(1), text, sizeof(text));
        AnswerText(text);
    } else if (command == "cell") {
        AnswerCell(window(1), static_cast<int>(number(2)), static_cast<int>(number(3)));
    } else if (command == "watch") {
        std::puts(Watch(words[1] != nullptr ? words[1] : "", static_cast<DWORD>(number(2))).c_str());
    } else if (command == "visible") {
        Answer(IsWindowVisible(window(1)));
    } else if (command == "rect") {
        RECT rect = {};
        GetWindowRect(window(1), &rect);
        std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    } else if (command == "styles") {
        std::printf("%lx %lx\n", static_cast<unsigned long>(GetWindowLongA(window(1), GWL_STYLE)),
                    static_cast<unsigned long>(GetWindowLongA(window(1), GWL_EXSTYLE)));
    } else if (command == "xwindow") {
        // Wine's X11 driver keeps it as a property of the window, for anyone to read.
        const HANDLE xwindow = GetPropA(GetAncestor(window(1), GA_ROOT), "__wine_x11_whole_window");
        Answer(static_cast<long>(reinterpret_cast<intptr_t>(xwindow)));
    } else if (command == "focus") {
        // GetFocus() answers for the calling thread only: the thread in front is asked.
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(GetWindowThreadProcessId(GetForegroundWindow(), nullptr), &info);
        std::printf("%ld %ld\n", static_cast<long>(reinterpret_cast<intptr_t>(info.hwndFocus)),
                    static_cast<long>(reinterpret_cast<intptr_t>(info.hwndMenuOwner)));
    } else if (command == "fullscreen") {
        Answer(Fullscreen(number(1) != 0, words[2] != nullptr ? words[2] : "WuzzleDriveFullscreen"));
    } else if (command == "drop") {
        Answer(words[2] != nullptr && Drop(window(1), words[2]));
    } else if (command == "post") {
        Answer(PostMessageA(window(1), number(2), number(3), number(4)));
    } else if (command == "send") {
        Answer(static_cast<long>(SendMessageA(window(1), number(2), number(3), number(4))));
    } else {
        std::puts("error unknown command");
    }
    return true;
}

// Standard input is read on a thread of its own, a line at a time, so that the main
// thread keeps taking its windows' messages while it waits: its fullscreen window is
// then a program in front that takes keys as any other does.
DWORD mainThread = 0;

DWORD WINAPI ReadLines(void*) {
    char line[512];
    while (std::fgets(line, sizeof(line), stdin) != nullptr) {
        PostThreadMessageA(mainThread, WM_APP, 0, reinterpret_cast<LPARAM>(_strdup(line)));
    }
    PostThreadMessageA(mainThread, WM_APP, 0, 0);
    return 0;
}

}  // namespace

int main() {
    setvbuf(stdout, nullptr, _IONBF, 0);  // every answer goes out at once
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before the reader posts
    mainThread = GetCurrentThreadId();
    CloseHandle(CreateThread(nullptr, 0, ReadLines, nullptr, 0, nullptr));
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
