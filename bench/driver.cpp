// Measures glimvane.exe side by side with two stand-ins built in the same run: an empty window
// program (start-up, memory, idle) and a minimal opacity hotkey (latency, burst). Everything is
// timed here with QueryPerformanceCounter, from outside the measured programs, and printed as
// one Markdown table. Progress goes to stderr, the table to stdout.

#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

struct ProgramInfo {
    const wchar_t* exe;
    const wchar_t* windowClass;
    const wchar_t* caption;
    const char* label;
};

constexpr ProgramInfo kGlimvane = {L"glimvane.exe", L"GlimvaneMain", L"Glimvane", "Glimvane"};
constexpr ProgramInfo kBaseline = {L"baseline_window.exe", L"GlimvaneBaseline", L"Baseline",
                                   "empty window"};
constexpr ProgramInfo kFloor = {L"floor_hotkey.exe", L"GlimvaneFloor", L"Floor", "floor"};

constexpr WPARAM kExitCommand = 20001;
constexpr int kStep = 25;
constexpr int kFirstLevel = 255 - kStep;
// Sweeps stay inside these so that no press meets the clamp at 0 or 255 and every press must
// change the alpha.
constexpr int kLowestSwept = 5;
constexpr int kHighestSwept = kFirstLevel;
// Clear of the main windows, which all sit in the middle of the 1366 x 768 screen.
constexpr RECT kTargetPlace = {40, 40, 440, 340};
constexpr POINT kRestingPointer = {20, 740};

struct Settings {
    int startRuns = 15;
    int latencyPresses = 200;
    int burstPresses = 500;
    int burstPaceMs = 20;
    int idleSeconds = 30;
};

// ---------------------------------------------------------------------------------------------
// Time

double NowMs()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / frequency;
}

// Gives the processor away between looks: a tight loop of server requests would slow the very
// server that the measured program needs to answer.
void PauseMicroseconds(double microseconds)
{
    double until = NowMs() + microseconds / 1000.0;
    while (NowMs() < until)
        SwitchToThread();
}

void SleepUntil(double atMs)
{
    for (;;) {
        double left = atMs - NowMs();
        if (left <= 0) return;
        if (left > 2.0)
            Sleep(static_cast<DWORD>(left - 1.5));
        else
            SwitchToThread();
    }
}

double Median(std::vector<double> values)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Nearest rank: of 200 samples, p99 is the 198th smallest; p0 is the smallest.
double Percentile(std::vector<double> values, double percent)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    auto rank =
        static_cast<size_t>(std::ceil(percent / 100.0 * static_cast<double>(values.size())));
    rank = std::clamp<size_t>(rank, 1, values.size());
    return values[rank - 1];
}

std::string Format(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list measuring;
    va_copy(measuring, arguments);
    int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    va_end(arguments);
    return text;
}

void Progress(const std::string& text)
{
    std::fprintf(stderr, "[bench] %s\n", text.c_str());
    std::fflush(stderr);
}

// ---------------------------------------------------------------------------------------------
// Processes

std::wstring ProgramPath(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

class Process {
  public:
    explicit Process(const ProgramInfo& program) : program_(program)
    {
        std::wstring commandLine = L"\"" + ProgramPath(program.exe) + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startedAt_ = NowMs();
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_))
            process_ = {};
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process()
    {
        if (process_.hProcess == nullptr) return;
        End();
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 5000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }

    bool started() const { return process_.hProcess != nullptr; }
    HANDLE handle() const { return process_.hProcess; }
    DWORD id() const { return process_.dwProcessId; }
    HWND window() const { return window_; }
    double startedAt() const { return startedAt_; }

    // Looks every millisecond: a faster look would take the processor from the start-up it times.
    bool WaitForVisibleWindow(DWORD timeoutMs = 10000)
    {
        double deadline = NowMs() + timeoutMs;
        while (NowMs() < deadline) {
            HWND found = FindOwnWindow();
            if (found != nullptr && IsWindowVisible(found)) {
                window_ = found;
                visibleAt_ = NowMs();
                return true;
            }
            if (WaitForSingleObject(process_.hProcess, 1) == WAIT_OBJECT_0) return false;
        }
        return false;
    }
    double visibleAt() const { return visibleAt_; }

    // The orderly end; the exit code, or STILL_ACTIVE when it did not end in time.
    DWORD End(DWORD timeoutMs = 5000)
    {
        if (process_.hProcess == nullptr) return STILL_ACTIVE;
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            HWND own = window_ != nullptr ? window_ : FindOwnWindow();
            if (own != nullptr) PostMessageW(own, WM_COMMAND, kExitCommand, 0);
            WaitForSingleObject(process_.hProcess, timeoutMs);
        }
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

  private:
    HWND FindOwnWindow() const
    {
        for (HWND candidate =
                 FindWindowExW(nullptr, nullptr, program_.windowClass, program_.caption);
             candidate != nullptr;
             candidate =
                 FindWindowExW(nullptr, candidate, program_.windowClass, program_.caption)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(candidate, &owner);
            if (owner == process_.dwProcessId) return candidate;
        }
        return nullptr;
    }

    ProgramInfo program_;
    PROCESS_INFORMATION process_ = {};
    HWND window_ = nullptr;
    double startedAt_ = 0;
    double visibleAt_ = 0;
};

SIZE_T WorkingSet(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(process, &counters, sizeof counters)) return 0;
    return counters.WorkingSetSize;
}

double CpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return -1;
    auto value = [](FILETIME time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime);
    };
    return (value(kernel) + value(user)) / 10000.0;
}

int ThreadCount(DWORD processId)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    int count = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == processId) ++count;
    CloseHandle(snapshot);
    return count;
}

// The DLLs a process has loaded, by file name in lower case.
std::vector<std::wstring> ModuleNames(DWORD processId)
{
    std::vector<std::wstring> names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return names;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32FirstW(snapshot, &entry); more;
         more = Module32NextW(snapshot, &entry)) {
        std::wstring name = entry.szModule;
        for (wchar_t& c : name)
            c = static_cast<wchar_t>(std::towlower(c));
        names.push_back(name);
    }
    CloseHandle(snapshot);
    std::sort(names.begin(), names.end());
    return names;
}

// What starting and joining one thread costs here, for comparison with work done on a thread
// per press.
DWORD WINAPI DoNothing(LPVOID)
{
    return 0;
}

double ThreadRoundTripMs()
{
    std::vector<double> times;
    for (int i = 0; i < 30; ++i) {
        double start = NowMs();
        HANDLE thread = CreateThread(nullptr, 0, DoNothing, nullptr, 0, nullptr);
        if (thread == nullptr) return -1;
        WaitForSingleObject(thread, INFINITE);
        times.push_back(NowMs() - start);
        CloseHandle(thread);
    }
    return Median(times);
}

// Samples a process's thread count on a thread of its own until stopped.
class ThreadSampler {
  public:
    explicit ThreadSampler(DWORD processId) : processId_(processId)
    {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ThreadSampler(const ThreadSampler&) = delete;
    ThreadSampler& operator=(const ThreadSampler&) = delete;
    ~ThreadSampler() { Stop(); }

    void Stop()
    {
        if (thread_ == nullptr) return;
        stop_ = true;
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    int peak() const { return peak_; }
    int samples() const { return samples_; }

  private:
    static DWORD WINAPI Run(LPVOID parameter)
    {
        auto* self = static_cast<ThreadSampler*>(parameter);
        while (!self->stop_) {
            int count = ThreadCount(self->processId_);
            self->peak_ = std::max(self->peak_.load(), count);
            ++self->samples_;
            Sleep(5);
        }
        return 0;
    }

    DWORD processId_;
    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<int> peak_{0};
    std::atomic<int> samples_{0};
};

// ---------------------------------------------------------------------------------------------
// The Linux side, read through Wine's Z: drive: a check on what Wine's own counters report.

bool UnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string Utf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string converted(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, converted.data(), size, nullptr, nullptr);
    converted.resize(static_cast<size_t>(size) - 1);
    return converted;
}

std::string ReadWholeFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    // procfs files report a size of 0, so read until nothing more comes.
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

// The Linux process that runs the only live instance of `exe` from the driver's own folder:
// Wine gives it the program's Windows path as its command line. Other prefixes on the machine
// may run programs of the same name from elsewhere. 0 when not exactly one is found.
unsigned LinuxPidOf(const wchar_t* exe)
{
    std::string path = Utf8(ProgramPath(exe));
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(L"Z:\\proc\\*", &entry);
    if (search == INVALID_HANDLE_VALUE) return 0;
    std::vector<unsigned> found;
    do {
        wchar_t* end = nullptr;
        unsigned long pid = std::wcstoul(entry.cFileName, &end, 10);
        if (pid == 0 || *end != L'\0') continue;
        std::string commandLine =
            ReadWholeFile(L"Z:\\proc\\" + std::wstring(entry.cFileName) + L"\\cmdline");
        std::string first = commandLine.substr(0, commandLine.find('\0'));
        if (_stricmp(first.c_str(), path.c_str()) == 0) found.push_back(static_cast<unsigned>(pid));
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return found.size() == 1 ? found.front() : 0;
}

// A "Name:  value kB" line of /proc/<pid>/status, in bytes (or as a plain number).
long long StatusField(unsigned pid, const std::wstring& file, const char* field)
{
    std::string text = ReadWholeFile(L"Z:\\proc\\" + std::to_wstring(pid) + file);
    std::string key = std::string("\n") + field + ":";
    size_t at = ("\n" + text).find(key);
    if (at == std::string::npos) return -1;
    long long value = std::atoll(text.c_str() + at + key.size() - 1);
    return text.compare(text.find('\n', at) - 2, 2, "kB") == 0 ? value * 1024 : value;
}

// Resident bytes per mapped file (by file name; "[anonymous]" for memory of no file), from
// /proc/<pid>/smaps.
std::map<std::string, long long> ResidentByMapping(unsigned pid)
{
    std::map<std::string, long long> resident;
    if (pid == 0) return resident;
    std::string text = ReadWholeFile(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\smaps");
    std::string mapping;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.empty()) continue;
        if (std::isxdigit(static_cast<unsigned char>(line[0])) &&
            !std::isupper(static_cast<unsigned char>(line[0]))) {
            // "start-end perms offset device inode   path": the path starts at the sixth field.
            size_t field = 0, position = 0;
            while (field < 5 && position != std::string::npos) {
                position = line.find_first_not_of(' ', line.find(' ', position));
                ++field;
            }
            std::string path = position == std::string::npos ? "" : line.substr(position);
            size_t slash = path.find_last_of('/');
            mapping = path.empty() ? "[anonymous]"
                                   : path.substr(slash == std::string::npos ? 0 : slash + 1);
        } else if (line.compare(0, 4, "Rss:") == 0) {
            resident[mapping] += std::atoll(line.c_str() + 4) * 1024;
        }
    }
    return resident;
}

struct LinuxCounters {
    long long residentBytes = -1;
    double cpuMs = -1;      // utime + stime, in whole ticks of 10 ms
    double runMs = -1;      // time on a processor, to the nanosecond
    long long wakeups = -1; // context switches
};

LinuxCounters ReadLinuxCounters(unsigned pid)
{
    LinuxCounters counters;
    if (pid == 0) return counters;
    counters.residentBytes = StatusField(pid, L"\\status", "VmRSS");
    std::string stat = ReadWholeFile(L"Z:\\proc\\" + std::to_wstring(pid) + L"\\stat");
    size_t fields = stat.rfind(')');
    if (fields != std::string::npos) {
        // After "pid (comm)": state is field 3, utime 14 and stime 15, in ticks of 10 ms.
        std::vector<std::string> parts;
        size_t at = fields + 2;
        while (at < stat.size()) {
            size_t space = stat.find(' ', at);
            if (space == std::string::npos) space = stat.size();
            parts.push_back(stat.substr(at, space - at));
            at = space + 1;
        }
        if (parts.size() > 12)
            counters.cpuMs = (std::atof(parts[11].c_str()) + std::atof(parts[12].c_str())) * 10.0;
    }
    WIN32_FIND_DATAW entry;
    std::wstring tasks = L"Z:\\proc\\" + std::to_wstring(pid) + L"\\task\\";
    HANDLE search = FindFirstFileW((tasks + L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        counters.wakeups = 0;
        counters.runMs = 0;
        do {
            if (entry.cFileName[0] == L'.') continue;
            // "run_ns wait_ns timeslices" of this thread.
            std::string schedstat = ReadWholeFile(tasks + entry.cFileName + L"\\schedstat");
            counters.runMs += std::atof(schedstat.c_str()) / 1e6;
            std::wstring status = L"\\task\\" + std::wstring(entry.cFileName) + L"\\status";
            long long voluntary = StatusField(pid, status, "voluntary_ctxt_switches");
            long long forced = StatusField(pid, status, "nonvoluntary_ctxt_switches");
            if (voluntary >= 0) counters.wakeups += voluntary;
            if (forced >= 0) counters.wakeups += forced;
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    return counters;
}

// ---------------------------------------------------------------------------------------------
// Keyboard and the target window

void SendKeys(std::initializer_list<std::pair<WORD, bool>> keys)
{
    INPUT inputs[4] = {};
    UINT count = 0;
    for (auto [key, up] : keys) {
        INPUT& input = inputs[count++];
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        if (key == VK_UP || key == VK_DOWN) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    }
    SendInput(count, inputs, static_cast<int>(sizeof(INPUT)));
}

// A plain top-level window on a thread of its own that keeps handling messages, as another
// program's window would: the measured program's calls on it never wait for the driver.
class TargetWindow {
  public:
    TargetWindow()
    {
        ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(ready_, 5000);
    }
    TargetWindow(const TargetWindow&) = delete;
    TargetWindow& operator=(const TargetWindow&) = delete;
    ~TargetWindow()
    {
        if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }

    HWND get() const { return window_; }

    // The alpha that GetLayeredWindowAttributes reports, or -1 while the window has none.
    int Alpha() const
    {
        COLORREF key = 0;
        BYTE alpha = 0;
        DWORD flags = 0;
        if (!GetLayeredWindowAttributes(window_, &key, &alpha, &flags) || (flags & LWA_ALPHA) == 0)
            return -1;
        return alpha;
    }

    POINT Centre() const
    {
        RECT client;
        GetClientRect(window_, &client);
        POINT centre = {client.right / 2, client.bottom / 2};
        ClientToScreen(window_, &centre);
        return centre;
    }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(window, message, wParam, lParam);
    }

    static DWORD WINAPI Run(LPVOID parameter)
    {
        auto* self = static_cast<TargetWindow*>(parameter);
        static const ATOM atom = [] {
            WNDCLASSEXW windowClass = {};
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = Procedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
            windowClass.lpszClassName = L"GlimvaneBenchTarget";
            return RegisterClassExW(&windowClass);
        }();
        (void)atom;
        RECT outer = kTargetPlace;
        self->window_ =
            CreateWindowExW(0, L"GlimvaneBenchTarget", L"Target", WS_OVERLAPPEDWINDOW, outer.left,
                            outer.top, outer.right - outer.left, outer.bottom - outer.top, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
        ShowWindow(self->window_, SW_SHOWNOACTIVATE);
        SetEvent(self->ready_);
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return 0;
    }

    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    HWND window_ = nullptr;
};

// Alt+key in one SendInput, then waits for the target's alpha to read `expected`. The time
// from just before SendInput to the first look that sees it, or nothing when it never came.
std::optional<double> TimedPress(const TargetWindow& target, WORD key, int expected,
                                 double timeoutMs, double pollMicroseconds)
{
    double start = NowMs();
    SendKeys({{VK_MENU, false}, {key, false}});
    std::optional<double> latency;
    for (;;) {
        if (target.Alpha() == expected) {
            latency = NowMs() - start;
            break;
        }
        if (NowMs() - start > timeoutMs) break;
        PauseMicroseconds(pollMicroseconds);
    }
    SendKeys({{key, true}, {VK_MENU, true}});
    return latency;
}

// A press and the moment after, with no clock: the level it leaves.
int SlowPress(const TargetWindow& target, WORD key)
{
    SendKeys({{VK_MENU, false}, {key, false}});
    Sleep(20);
    SendKeys({{key, true}, {VK_MENU, true}});
    Sleep(500);
    return target.Alpha();
}

// Moving the pointer makes Wine re-read the keyboard from X and release the modifiers X does
// not see held, an Alt sent through SendInput included; let that pass, then press Alt once
// alone so the next press meets a settled state.
void AimAt(const TargetWindow& target)
{
    POINT centre = target.Centre();
    SetCursorPos(centre.x, centre.y);
    Sleep(100);
    SendKeys({{VK_MENU, false}});
    Sleep(20);
    SendKeys({{VK_MENU, true}});
    Sleep(100);
}

// A freshly started program with its target locked at the first Alt+Down (alpha 230).
struct HotkeySession {
    explicit HotkeySession(const ProgramInfo& program) : process(program)
    {
        if (!process.started() || !process.WaitForVisibleWindow()) {
            error = "did not start";
            return;
        }
        Sleep(300);
        AimAt(target);
        if (!TimedPress(target, VK_DOWN, kFirstLevel, 3000, 100)) {
            error = Format("first Alt+Down did not give alpha %d (alpha %d)", kFirstLevel,
                           target.Alpha());
            return;
        }
        Sleep(50);
    }

    TargetWindow target;
    Process process;
    std::string error;
};

// ---------------------------------------------------------------------------------------------
// The measurements

struct StartupResult {
    std::vector<double> glimvane, baseline;
    int failures = 0;
};

std::optional<double> StartOnce(const ProgramInfo& program, int& failures)
{
    Process process(program);
    if (!process.started() || !process.WaitForVisibleWindow()) {
        ++failures;
        return std::nullopt;
    }
    double took = process.visibleAt() - process.startedAt();
    // Lets the program finish its start-up before the end request, as a user would.
    Sleep(100);
    if (process.End() != 0) ++failures;
    return took;
}

StartupResult MeasureStartup(const Settings& settings)
{
    StartupResult result;
    SetCursorPos(kRestingPointer.x, kRestingPointer.y);
    // Discarded: the first start of each program also reads it from disk.
    StartOnce(kBaseline, result.failures);
    StartOnce(kGlimvane, result.failures);
    result.failures = 0;
    for (int run = 0; run < settings.startRuns; ++run) {
        // Alternating which goes first spreads any drift of the machine over both.
        bool glimvaneFirst = run % 2 == 1;
        for (int turn = 0; turn < 2; ++turn) {
            bool glimvane = (turn == 0) == glimvaneFirst;
            Sleep(150);
            std::optional<double> took =
                StartOnce(glimvane ? kGlimvane : kBaseline, result.failures);
            if (took) (glimvane ? result.glimvane : result.baseline).push_back(*took);
        }
    }
    return result;
}

// What one program used over one idle period.
struct IdleUse {
    double processTimesMs = -1; // GetProcessTimes
    LinuxCounters linuxView;    // the Linux view: differences, but residentBytes at the end

    // The best figure there is: under Wine, GetProcessTimes of another process does not advance
    // while it runs (a busy loop of 1.5 s showed no change), so the Linux run time takes its
    // place when there is one.
    double CpuMs() const { return linuxView.runMs >= 0 ? linuxView.runMs : processTimesMs; }
};

struct IdleResult {
    SIZE_T glimvaneEarly = 0, baselineEarly = 0, glimvane = 0, baseline = 0;
    bool glimvaneInFront = false, baselineInFront = false;
    std::string glimvaneCaret; // the class of the window with the caret, if any
    std::vector<std::wstring> glimvaneModules, baselineModules;
    int glimvaneThreads = 0, baselineThreads = 0;
    // In front: Glimvane's window has the focus; behind: the empty window has it.
    IdleUse glimvaneInFrontUse, baselineWhileGlimvaneInFront, glimvaneBehindUse, baselineInFrontUse;
    std::map<std::string, long long> glimvaneMappings, baselineMappings;
    bool linuxFound = false;
    std::string error;
};

class IdleMeter {
  public:
    IdleMeter(HANDLE process, unsigned linuxPid) : process_(process), linuxPid_(linuxPid)
    {
        processTimes_ = CpuMs(process_);
        linuxStart_ = ReadLinuxCounters(linuxPid_);
    }

    IdleUse Read() const
    {
        IdleUse use;
        use.processTimesMs = CpuMs(process_) - processTimes_;
        use.linuxView = ReadLinuxCounters(linuxPid_);
        if (linuxPid_ != 0) {
            use.linuxView.cpuMs -= linuxStart_.cpuMs;
            use.linuxView.runMs -= linuxStart_.runMs;
            use.linuxView.wakeups -= linuxStart_.wakeups;
        }
        return use;
    }

  private:
    HANDLE process_;
    unsigned linuxPid_;
    double processTimes_ = 0;
    LinuxCounters linuxStart_;
};

IdleResult MeasureIdle(const Settings& settings)
{
    IdleResult result;
    SetCursorPos(kRestingPointer.x, kRestingPointer.y);
    Process glimvane(kGlimvane);
    Process baseline(kBaseline);
    if (!glimvane.WaitForVisibleWindow() || !baseline.WaitForVisibleWindow()) {
        result.error = "a program did not start";
        return result;
    }
    // Glimvane in front first, as it is right after it starts by itself: only then does it have
    // the keyboard focus, in its first edit box.
    SetForegroundWindow(glimvane.window());
    Sleep(2000);
    result.glimvaneInFront = GetForegroundWindow() == glimvane.window();
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof gui;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(glimvane.window(), nullptr), &gui) &&
        gui.hwndCaret != nullptr) {
        wchar_t className[64] = {};
        GetClassNameW(gui.hwndCaret, className, 64);
        result.glimvaneCaret = Utf8(className);
    }
    result.glimvaneEarly = WorkingSet(glimvane.handle());
    result.baselineEarly = WorkingSet(baseline.handle());
    result.glimvaneModules = ModuleNames(glimvane.id());
    result.baselineModules = ModuleNames(baseline.id());
    result.glimvaneThreads = ThreadCount(glimvane.id());
    result.baselineThreads = ThreadCount(baseline.id());
    bool wine = UnderWine();
    unsigned glimvanePid = wine ? LinuxPidOf(kGlimvane.exe) : 0;
    unsigned baselinePid = wine ? LinuxPidOf(kBaseline.exe) : 0;
    result.linuxFound = glimvanePid != 0 && baselinePid != 0;
    DWORD period = static_cast<DWORD>(settings.idleSeconds) * 1000;

    {
        IdleMeter glimvaneMeter(glimvane.handle(), glimvanePid);
        IdleMeter baselineMeter(baseline.handle(), baselinePid);
        Sleep(period);
        result.glimvaneInFrontUse = glimvaneMeter.Read();
        result.baselineWhileGlimvaneInFront = baselineMeter.Read();
    }
    result.glimvane = WorkingSet(glimvane.handle());
    result.baseline = WorkingSet(baseline.handle());
    result.glimvaneMappings = ResidentByMapping(glimvanePid);
    result.baselineMappings = ResidentByMapping(baselinePid);

    SetForegroundWindow(baseline.window());
    Sleep(1000);
    result.baselineInFront = GetForegroundWindow() == baseline.window();
    {
        IdleMeter glimvaneMeter(glimvane.handle(), glimvanePid);
        IdleMeter baselineMeter(baseline.handle(), baselinePid);
        Sleep(period);
        result.glimvaneBehindUse = glimvaneMeter.Read();
        result.baselineInFrontUse = baselineMeter.Read();
    }
    return result;
}

struct LatencyResult {
    std::vector<double> down, up;
    int timeouts = 0;
    std::string error;
};

// Sweeps the locked window's alpha down to 5 and back up to 230 until `downPresses` Alt+Down
// presses are timed; every Alt+Up press is timed too.
void MeasureLatencyRound(const ProgramInfo& program, int downPresses, double pollMicroseconds,
                         LatencyResult& result)
{
    HotkeySession session(program);
    if (!session.error.empty()) {
        result.error = std::string(program.label) + ": " + session.error;
        return;
    }
    int level = kFirstLevel;
    bool goingDown = true;
    int downs = 0;
    while (downs < downPresses) {
        if (level <= kLowestSwept) goingDown = false;
        if (level >= kHighestSwept) goingDown = true;
        int expected = level + (goingDown ? -kStep : kStep);
        WORD key = static_cast<WORD>(goingDown ? VK_DOWN : VK_UP);
        std::optional<double> latency =
            TimedPress(session.target, key, expected, 1000, pollMicroseconds);
        if (goingDown) ++downs;
        if (!latency) {
            ++result.timeouts;
            if (result.timeouts > 20) {
                result.error = std::string(program.label) + ": more than 20 presses got no answer";
                return;
            }
            // Carries on from whatever level the window shows now.
            Sleep(200);
            AimAt(session.target);
            int now = session.target.Alpha();
            level = now < 0 ? 255 : now;
            continue;
        }
        (goingDown ? result.down : result.up).push_back(*latency);
        level = expected;
        // Lets the press's own work finish, as between two separate presses by a user.
        Sleep(15);
    }
}

struct BurstResult {
    int presses = 0;
    int impliedLevel = 0;     // after the burst, had no step been lost
    int shownAfterBurst = -1; // what the window shows once the burst has been handled
    int afterSlowPress = -1;
    int lostSteps = 0;
    int threadsBefore = 0;
    int peakThreads = 0;
    int threadSamples = 0;
    double burstMs = 0;
    SIZE_T workingSetAfter = 0;
    std::string error;
};

BurstResult MeasureBurst(const ProgramInfo& program, const Settings& settings)
{
    BurstResult result;
    HotkeySession session(program);
    if (!session.error.empty()) {
        result.error = std::string(program.label) + ": " + session.error;
        return result;
    }
    // Runs of eight keep the level inside 30..230, clear of the clamps, so the level it ends on
    // does not depend on the order in which the presses are handled.
    std::vector<WORD> keys;
    for (int i = 0; i < settings.burstPresses; ++i)
        keys.push_back(static_cast<WORD>((i / 8) % 2 == 0 ? VK_DOWN : VK_UP));
    int level = kFirstLevel;
    for (WORD key : keys)
        level = std::clamp(level + (key == VK_DOWN ? -kStep : kStep), 0, 255);
    result.presses = settings.burstPresses;
    result.impliedLevel = level;

    result.threadsBefore = ThreadCount(session.process.id());
    ThreadSampler sampler(session.process.id());
    // Alt held through the burst, as a user sweeping the opacity holds it; the key repeats at
    // the pace, half of it down and half up.
    double pace = settings.burstPaceMs;
    SendKeys({{VK_MENU, false}});
    double start = NowMs() + pace;
    for (size_t i = 0; i < keys.size(); ++i) {
        double at = start + pace * static_cast<double>(i);
        SleepUntil(at);
        SendKeys({{keys[i], false}});
        SleepUntil(at + pace / 2);
        SendKeys({{keys[i], true}});
    }
    SleepUntil(start + pace * static_cast<double>(keys.size()));
    SendKeys({{VK_MENU, true}});
    result.burstMs = NowMs() - start;
    // Whatever is still in flight finishes before the level is read.
    double settleUntil = NowMs() + 3000;
    while (NowMs() < settleUntil && ThreadCount(session.process.id()) > result.threadsBefore)
        Sleep(20);
    Sleep(300);
    sampler.Stop();
    result.peakThreads = sampler.peak();
    result.threadSamples = sampler.samples();
    result.shownAfterBurst = session.target.Alpha();

    Sleep(100);
    result.afterSlowPress = SlowPress(session.target, VK_DOWN);
    int expected = std::max(0, level - kStep);
    result.lostSteps = std::abs(result.afterSlowPress - expected) / kStep;
    if (result.afterSlowPress < 0) result.lostSteps = -1;
    result.workingSetAfter = WorkingSet(session.process.handle());
    return result;
}

// ---------------------------------------------------------------------------------------------
// Output

const char* Verdict(bool met)
{
    return met ? "met" : "**NOT met**";
}

std::string Megabytes(double bytes)
{
    return Format("%.2f MB", bytes / (1024.0 * 1024.0));
}

std::string Milliseconds(double ms)
{
    return Format("%.2f ms", ms);
}

void PrintUsage()
{
    std::fprintf(stderr, "driver.exe [--quick] [--start-runs N] [--presses N] [--burst N] "
                         "[--idle-seconds N]\n");
}

} // namespace

int main(int argc, char** argv)
{
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        auto next = [&]() { return i + 1 < argc ? std::atoi(argv[++i]) : 0; };
        if (argument == "--quick")
            settings = {3, 20, 48, 20, 3};
        else if (argument == "--start-runs")
            settings.startRuns = next();
        else if (argument == "--presses")
            settings.latencyPresses = next();
        else if (argument == "--burst")
            settings.burstPresses = next();
        else if (argument == "--idle-seconds")
            settings.idleSeconds = next();
        else {
            PrintUsage();
            return 2;
        }
    }
    // Sleep(1) means one millisecond only with the finer timer; Wine always has it.
    timeBeginPeriod(1);
    constexpr double kPollMicroseconds = 50;

    Progress(Format("start-up: %d runs of each", settings.startRuns));
    StartupResult startup = MeasureStartup(settings);
    Progress(Format("idle: twice %d s with both programs open", settings.idleSeconds));
    IdleResult idle = MeasureIdle(settings);
    Progress(Format("hotkey latency: %d Alt+Down presses on each, in two rounds",
                    settings.latencyPresses));
    LatencyResult floorLatency, glimvaneLatency;
    int half = settings.latencyPresses / 2;
    for (int round = 0; round < 2; ++round) {
        int presses = round == 0 ? half : settings.latencyPresses - half;
        MeasureLatencyRound(kFloor, presses, kPollMicroseconds, floorLatency);
        MeasureLatencyRound(kGlimvane, presses, kPollMicroseconds, glimvaneLatency);
    }
    Progress(Format("burst: %d presses %d ms apart on each", settings.burstPresses,
                    settings.burstPaceMs));
    BurstResult floorBurst = MeasureBurst(kFloor, settings);
    BurstResult glimvaneBurst = MeasureBurst(kGlimvane, settings);

    std::vector<std::string> notes;
    for (const std::string& error : {idle.error, floorLatency.error, glimvaneLatency.error,
                                     floorBurst.error, glimvaneBurst.error})
        if (!error.empty()) notes.push_back("error: " + error);

    std::printf("| figure | how | Glimvane | baseline | result | target | verdict |\n");
    std::printf("|---|---|---|---|---|---|---|\n");

    double memoryDelta = static_cast<double>(idle.glimvane) - static_cast<double>(idle.baseline);
    std::printf(
        "| memory while idle | working set (K32GetProcessMemoryInfo) after %d s idle | %s | "
        "%s (empty window) | %+.2f MB | ≤ +1 MB | %s |\n",
        settings.idleSeconds + 2, Megabytes(static_cast<double>(idle.glimvane)).c_str(),
        Megabytes(static_cast<double>(idle.baseline)).c_str(), memoryDelta / (1024.0 * 1024.0),
        Verdict(idle.glimvane > 0 && memoryDelta <= 1024.0 * 1024.0));

    double startG = Median(startup.glimvane), startB = Median(startup.baseline);
    double startRatio = startB > 0 ? startG / startB : 0;
    std::printf(
        "| start-up | CreateProcess to main window visible, median of %zu / %zu runs | %s | "
        "%s (empty window) | %.2f× | ≤ 1.1× | %s |\n",
        startup.glimvane.size(), startup.baseline.size(), Milliseconds(startG).c_str(),
        Milliseconds(startB).c_str(), startRatio,
        Verdict(!startup.glimvane.empty() && startRatio <= 1.1));

    double p50G = Percentile(glimvaneLatency.down, 50), p50F = Percentile(floorLatency.down, 50);
    double p99G = Percentile(glimvaneLatency.down, 99), p99F = Percentile(floorLatency.down, 99);
    double p50Ratio = p50F > 0 ? p50G / p50F : 0, p99Ratio = p99F > 0 ? p99G / p99F : 0;
    bool latencyMeasured = !glimvaneLatency.down.empty() && !floorLatency.down.empty();
    std::printf(
        "| hotkey latency p50 | SendInput of Alt+Down to new alpha read, %zu / %zu presses | "
        "%s | %s (floor) | %.2f× | ≤ 2× | %s |\n",
        glimvaneLatency.down.size(), floorLatency.down.size(), Milliseconds(p50G).c_str(),
        Milliseconds(p50F).c_str(), p50Ratio, Verdict(latencyMeasured && p50Ratio <= 2.0));
    std::printf("| hotkey latency p99 | same presses | %s | %s (floor) | %.2f× | ≤ 5× | %s |\n",
                Milliseconds(p99G).c_str(), Milliseconds(p99F).c_str(), p99Ratio,
                Verdict(latencyMeasured && p99Ratio <= 5.0));

    std::printf("| burst: steps lost | %d presses %d ms apart, Alt held; one slow press after | %d "
                "(alpha %d, expected %d) | %d (floor) | %d | 0 | %s |\n",
                glimvaneBurst.presses, settings.burstPaceMs, glimvaneBurst.lostSteps,
                glimvaneBurst.afterSlowPress, std::max(0, glimvaneBurst.impliedLevel - kStep),
                floorBurst.lostSteps, glimvaneBurst.lostSteps,
                Verdict(glimvaneBurst.error.empty() && glimvaneBurst.lostSteps == 0));
    std::printf("| burst: peak threads | Toolhelp32 snapshot every ~5 ms, %d samples | %d (%d "
                "before) | %d (floor) | %d | reported | — |\n",
                glimvaneBurst.threadSamples, glimvaneBurst.peakThreads, glimvaneBurst.threadsBefore,
                floorBurst.peakThreads, glimvaneBurst.peakThreads);

    const char* idleHow = idle.linuxFound ? "run time of all its threads (Linux schedstat)"
                                          : "GetProcessTimes, kernel + user";
    auto idleRow = [&](const char* figure, const IdleUse& use, const IdleUse& baselineUse) {
        std::printf("| %s | %s over %d s; wake-ups | %.2f ms, %lld wake-ups | %.2f ms, %lld "
                    "(empty window) | %.2f ms | 0 | %s |\n",
                    figure, idleHow, settings.idleSeconds, use.CpuMs(), use.linuxView.wakeups,
                    baselineUse.CpuMs(), baselineUse.linuxView.wakeups, use.CpuMs(),
                    Verdict(idle.error.empty() && use.CpuMs() == 0));
    };
    idleRow("idle CPU, Glimvane in front", idle.glimvaneInFrontUse,
            idle.baselineWhileGlimvaneInFront);
    idleRow("idle CPU, another window in front", idle.glimvaneBehindUse, idle.baselineInFrontUse);

    std::printf("\n");
    if (idle.linuxFound) {
        notes.push_back(Format(
            "Linux view (/proc through Z:): VmRSS Glimvane %s, empty window %s (difference %+.2f "
            "MB); CPU in 10 ms ticks over the two idle periods: Glimvane %.0f and %.0f ms, empty "
            "window %.0f and %.0f ms",
            Megabytes(static_cast<double>(idle.glimvaneInFrontUse.linuxView.residentBytes)).c_str(),
            Megabytes(
                static_cast<double>(idle.baselineWhileGlimvaneInFront.linuxView.residentBytes))
                .c_str(),
            static_cast<double>(idle.glimvaneInFrontUse.linuxView.residentBytes -
                                idle.baselineWhileGlimvaneInFront.linuxView.residentBytes) /
                (1024.0 * 1024.0),
            idle.glimvaneInFrontUse.linuxView.cpuMs, idle.glimvaneBehindUse.linuxView.cpuMs,
            idle.baselineWhileGlimvaneInFront.linuxView.cpuMs,
            idle.baselineInFrontUse.linuxView.cpuMs));
        std::vector<std::pair<long long, std::string>> differences;
        for (const auto& [mapping, bytes] : idle.glimvaneMappings) {
            auto other = idle.baselineMappings.find(mapping);
            long long difference =
                bytes - (other == idle.baselineMappings.end() ? 0 : other->second);
            if (difference != 0) differences.emplace_back(difference, mapping);
        }
        for (const auto& [mapping, bytes] : idle.baselineMappings)
            if (idle.glimvaneMappings.count(mapping) == 0)
                differences.emplace_back(-bytes, mapping);
        std::sort(differences.begin(), differences.end(), [](const auto& a, const auto& b) {
            return std::llabs(a.first) > std::llabs(b.first);
        });
        std::string list;
        for (size_t i = 0; i < differences.size() && i < 8; ++i)
            list += Format("%s%s %+.2f MB", i ? ", " : "", differences[i].second.c_str(),
                           static_cast<double>(differences[i].first) / (1024.0 * 1024.0));
        notes.push_back("largest resident differences, Glimvane minus empty window (smaps): " +
                        list);
    } else if (UnderWine()) {
        notes.push_back("Linux view: the Linux processes were not found under /proc");
    }
    notes.push_back(Format(
        "idle: Glimvane's window %s in front for the first period (%s) and the empty window %s "
        "for the second; GetProcessTimes of Glimvane from here over the two periods: %.1f and "
        "%.1f ms",
        idle.glimvaneInFront ? "was" : "was NOT",
        idle.glimvaneCaret.empty() ? "no caret"
                                   : ("caret in a control of class " + idle.glimvaneCaret).c_str(),
        idle.baselineInFront ? "was" : "was NOT", idle.glimvaneInFrontUse.processTimesMs,
        idle.glimvaneBehindUse.processTimesMs));
    std::vector<std::wstring> extraModules;
    std::set_difference(idle.glimvaneModules.begin(), idle.glimvaneModules.end(),
                        idle.baselineModules.begin(), idle.baselineModules.end(),
                        std::back_inserter(extraModules));
    std::wstring extraList;
    for (const std::wstring& name : extraModules)
        extraList += (extraList.empty() ? L"" : L", ") + name;
    notes.push_back(Format("modules loaded: Glimvane %zu, empty window %zu; only in Glimvane: %s",
                           idle.glimvaneModules.size(), idle.baselineModules.size(),
                           Utf8(extraList).c_str()));
    notes.push_back(Format("threads while idle: Glimvane %d, empty window %d; one thread started "
                           "and joined in the driver takes %s (median of 30)",
                           idle.glimvaneThreads, idle.baselineThreads,
                           Milliseconds(ThreadRoundTripMs()).c_str()));
    notes.push_back(Format("working set 2 s after start: Glimvane %s, empty window %s",
                           Megabytes(static_cast<double>(idle.glimvaneEarly)).c_str(),
                           Megabytes(static_cast<double>(idle.baselineEarly)).c_str()));
    double fastestG = Percentile(startup.glimvane, 0), fastestB = Percentile(startup.baseline, 0);
    notes.push_back(Format(
        "start-up fastest / slowest: Glimvane %s / %s, empty window %s / %s "
        "(fastest to fastest %.2f×); %d runs failed or did not end with code 0",
        Milliseconds(fastestG).c_str(), Milliseconds(Percentile(startup.glimvane, 100)).c_str(),
        Milliseconds(fastestB).c_str(), Milliseconds(Percentile(startup.baseline, 100)).c_str(),
        fastestB > 0 ? fastestG / fastestB : 0, startup.failures));
    notes.push_back(Format(
        "Alt+Up latency p50 / p99: Glimvane %s / %s (%zu presses), floor %s / %s (%zu); presses "
        "that got no answer within 1 s: Glimvane %d, floor %d; alpha polled every %.0f µs",
        Milliseconds(Percentile(glimvaneLatency.up, 50)).c_str(),
        Milliseconds(Percentile(glimvaneLatency.up, 99)).c_str(), glimvaneLatency.up.size(),
        Milliseconds(Percentile(floorLatency.up, 50)).c_str(),
        Milliseconds(Percentile(floorLatency.up, 99)).c_str(), floorLatency.up.size(),
        glimvaneLatency.timeouts, floorLatency.timeouts, kPollMicroseconds));
    notes.push_back(Format("Alt+Down latency max: Glimvane %s, floor %s",
                           Milliseconds(Percentile(glimvaneLatency.down, 100)).c_str(),
                           Milliseconds(Percentile(floorLatency.down, 100)).c_str()));
    for (const BurstResult* burst : {&glimvaneBurst, &floorBurst}) {
        const char* name = burst == &glimvaneBurst ? "Glimvane" : "floor";
        notes.push_back(Format(
            "burst, %s: took %.0f ms for %d presses; alpha shown after it %d (implied level %d); "
            "after the slow Alt+Down %d; working set after %s",
            name, burst->burstMs, burst->presses, burst->shownAfterBurst, burst->impliedLevel,
            burst->afterSlowPress, Megabytes(static_cast<double>(burst->workingSetAfter)).c_str()));
    }
    for (const std::string& note : notes)
        std::printf("- %s\n", note.c_str());
    std::fflush(stdout);
    timeEndPeriod(1);
    return 0;
}
