// Times a dialog program from outside, for the benchmark: VELTRANE.EXE or the floor
// program, which share the control ids of the main dialog.
//   measure run EXE PATH ROW REPAINTS [follow]   starts EXE and prints one line:
//       start-up ms, Modify ms, Remove ms, median full repaint ms, peak memory KiB, rows,
//       and with "follow" the ms the program takes to show another program's change
//   measure fonts                       prints each report of EnumFontFamiliesA:
//       character set, font type, face name bytes in hex, face name
//   measure enumerate                   prints the ms that a memory context and
//       EnumFontFamiliesA of every family on it take in this process, as eudclink
//       lists them, and the number of reports
//   measure time COMMAND-LINE           runs the command, its output discarded, and
//       prints the ms from CreateProcess to its end, and its exit code
//   measure chars EXE PAGES             starts EXE, waits until row 0's link is checked
//       and works, opens the character view of its file by the system menu's command,
//       presses Page Down PAGES times, Home, and PAGES times again, and prints one line:
//       ms to the view's first page painted; the median ms of a page of scrolling to
//       painted in the first PAGES pages (each character drawn for the first time) and
//       in the second, and the slowest of all; and the working set in KiB before the view
//       opened, once its first page showed, after the first PAGES pages and the second
//
// "Painted" means: the program's thread has answered a sent message and neither the
// dialog nor its list has anything left to paint. A sent message is answered only
// where the thread fetches messages, and it fetches WM_PAINT only once its queue is
// empty, so the round trip is repeated until both update regions are empty.
// Start-up runs from CreateProcess to the first such moment. Modify runs from the
// click on OK in the open-file dialog (the user's time in that dialog does not count),
// Remove from the click on the button, each to the registry change and then to the
// first painted moment after it; the change is seen through a registry notification.
// Follow runs from this program's write of a link to the selected row's font, after
// Remove, to the row's state changed in the list's item data and then painted.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "resource.h"

namespace {

constexpr char kLinkKey[] = "EUDC\\950";
constexpr int kFileNameBox = 0x480;  // the older open-file dialog's file-name box
constexpr DWORD kPatience = 60000;

double Now()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER count;
    ::QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / frequency;
}

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "measure: %s\n", what);
    std::exit(1);
}

struct Search {
    DWORD process;
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    ::GetClassNameA(window, className, sizeof className);
    if (process == search.process && window != search.except && ::IsWindowVisible(window) &&
        std::string(className) == "#32770") {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the process other than `except`, waited for.
HWND WaitForDialog(DWORD process, HWND except)
{
    const double start = Now();
    for (;;) {
        Search search{process, except, nullptr};
        ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        if (Now() - start > kPatience)
            Fail("no dialog appeared");
        ::Sleep(1);
    }
}

bool HasUpdate(HWND window)
{
    return ::GetUpdateRect(window, nullptr, FALSE) != FALSE;
}

void WaitPainted(HWND dialog, HWND list)
{
    const double start = Now();
    do {
        DWORD_PTR ignored = 0;
        if (!::SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kPatience, &ignored))
            Fail("the program stopped answering");
        if (Now() - start > kPatience)
            Fail("the program never finished painting");
    } while (HasUpdate(dialog) || HasUpdate(list));
}

// An event set at the next change of a value of the link key.
class KeyWatch {
public:
    KeyWatch()
    {
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, kLinkKey, 0, nullptr, 0, KEY_NOTIFY, nullptr, m_key.put(),
                              nullptr) != ERROR_SUCCESS)
            Fail("cannot open the link key");
        m_event.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (::RegNotifyChangeKeyValue(m_key.get(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, m_event.get(), TRUE) !=
            ERROR_SUCCESS)
            Fail("cannot watch the link key");
    }
    void Wait() const
    {
        if (::WaitForSingleObject(m_event.get(), kPatience) != WAIT_OBJECT_0)
            Fail("the link key did not change");
    }

private:
    UniqueKey m_key;
    UniqueFile m_event;
};

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double MedianRepaint(HWND dialog, HWND list, int repaints)
{
    std::vector<double> times;
    for (int i = 0; i < repaints; ++i) {
        const double start = Now();
        ::RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        WaitPainted(dialog, list);
        times.push_back(Now() - start);
    }
    return Median(times);
}

double TimeModify(DWORD process, HWND dialog, HWND list, const char* path)
{
    ::PostMessageW(::GetDlgItem(dialog, IDC_MODIFY), BM_CLICK, 0, 0);
    const HWND files = WaitForDialog(process, dialog);
    ::SendMessageA(::GetDlgItem(files, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    const KeyWatch watch;
    const double start = Now();
    ::PostMessageW(::GetDlgItem(files, IDOK), BM_CLICK, 0, 0);
    watch.Wait();
    WaitPainted(dialog, list);
    return Now() - start;
}

double TimeRemove(HWND dialog, HWND list)
{
    const KeyWatch watch;
    const double start = Now();
    ::PostMessageW(::GetDlgItem(dialog, IDC_REMOVE), BM_CLICK, 0, 0);
    watch.Wait();
    WaitPainted(dialog, list);
    return Now() - start;
}

double TimeFollow(HWND dialog, HWND list, int row, const char* path)
{
    wchar_t font[256] = {};
    if (::SendMessageW(list, LB_GETTEXTLEN, row, 0) >= 256 ||
        ::SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(font)) == LB_ERR)
        Fail("cannot read the selected row");
    const LRESULT before = ::SendMessageW(list, LB_GETITEMDATA, row, 0);
    const std::wstring data(path, path + std::strlen(path));
    const double start = Now();
    ::RegSetKeyValueW(HKEY_CURRENT_USER, L"EUDC\\950", font, REG_SZ, data.c_str(),
                      static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    while (::SendMessageW(list, LB_GETITEMDATA, row, 0) == before) {
        if (Now() - start > kPatience)
            Fail("the program did not show another program's change");
        ::Sleep(1);
    }
    WaitPainted(dialog, list);
    const double elapsed = Now() - start;
    // Left as Remove left it, so that the next run's Modify changes the key: Wine tells of
    // no change when a value is written again with the same data.
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, L"EUDC\\950", font);
    return elapsed;
}

struct Child {
    UniqueFile process;
    UniqueFile thread;
    DWORD id;
};

// Starts the command line; with `output`, the child's standard handles are that file.
Child Start(std::string commandLine, HANDLE output = nullptr)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = output;
    }
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, output != nullptr, 0, nullptr, nullptr,
                          &startup, &process))
        Fail("cannot start the program");
    return {UniqueFile(process.hProcess), UniqueFile(process.hThread), process.dwProcessId};
}

int Run(const char* program, const char* path, int row, int repaints, bool follow)
{
    const double start = Now();
    const Child child = Start(std::string("\"") + program + "\"");
    const HWND dialog = WaitForDialog(child.id, nullptr);
    const HWND list = ::GetDlgItem(dialog, IDC_FONT_LIST);
    WaitPainted(dialog, list);
    const double startupTime = Now() - start;

    const auto rows = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    const double repaint = MedianRepaint(dialog, list, repaints);
    row = std::min(row, rows - 1);
    ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    const double modify = TimeModify(child.id, dialog, list, path);
    const double remove = TimeRemove(dialog, list);
    const double followed = follow ? TimeFollow(dialog, list, row, path) : 0.0;

    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(child.process.get(), &memory, sizeof memory);

    ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    if (::WaitForSingleObject(child.process.get(), kPatience) != WAIT_OBJECT_0)
        Fail("the program did not end");
    std::printf("%.1f %.1f %.1f %.2f %zu %d", startupTime, modify, remove, repaint,
                static_cast<size_t>(memory.PeakWorkingSetSize / 1024), rows);
    if (follow)
        std::printf(" %.1f", followed);
    std::printf("\n");
    return 0;
}

// A dialog of the process that holds the character view's grid, waited for.
HWND WaitForCharacterView(DWORD process, HWND main)
{
    const double start = Now();
    for (;;) {
        const HWND found = WaitForDialog(process, main);
        if (::GetDlgItem(found, IDC_CHAR_GRID) != nullptr)
            return found;
        if (Now() - start > kPatience)
            Fail("no character view appeared");
        ::Sleep(1);
    }
}

std::size_t WorkingSetKiB(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    ::GetProcessMemoryInfo(process, &memory, sizeof memory);
    return memory.WorkingSetSize / 1024;
}

// Each key press sent to the grid, then the wait until the view has nothing to paint.
void TimeKeys(HWND view, HWND grid, UINT key, int times, std::vector<double>& samples)
{
    for (int i = 0; i < times; ++i) {
        const double start = Now();
        ::SendMessageW(grid, WM_KEYDOWN, key, 1);
        WaitPainted(view, grid);
        samples.push_back(Now() - start);
    }
}

int RunCharacters(const char* program, int pages)
{
    const Child child = Start(std::string("\"") + program + "\"");
    const HWND dialog = WaitForDialog(child.id, nullptr);
    const HWND list = ::GetDlgItem(dialog, IDC_FONT_LIST);
    WaitPainted(dialog, list);
    const double waited = Now();
    constexpr LRESULT kUnchecked = 0, kLinked = 1;  // the list's item data: the row's state
    while (::SendMessageW(list, LB_GETITEMDATA, 0, 0) == kUnchecked) {
        if (Now() - waited > kPatience)
            Fail("row 0's link was never checked");
        ::Sleep(1);
    }
    if (::SendMessageW(list, LB_GETITEMDATA, 0, 0) != kLinked)
        Fail("row 0's link does not work");
    ::SendMessageW(list, LB_SETCURSEL, 0, 0);
    WaitPainted(dialog, list);
    const std::size_t before = WorkingSetKiB(child.process.get());

    const double start = Now();
    ::PostMessageW(dialog, WM_SYSCOMMAND, IDM_CHARACTERS, 0);
    const HWND view = WaitForCharacterView(child.id, dialog);
    const HWND grid = ::GetDlgItem(view, IDC_CHAR_GRID);
    // The view opens at once and reads the file on a thread of its own: the first page is
    // shown once the selected character's code is.
    while (::GetWindowTextLengthW(::GetDlgItem(view, IDC_CHAR_CODE)) == 0) {
        if (Now() - start > kPatience)
            Fail("the character view never showed its characters");
        ::Sleep(1);
    }
    WaitPainted(view, grid);
    const double firstPage = Now() - start;
    const std::size_t shown = WorkingSetKiB(child.process.get());

    std::vector<double> pageTimes;
    TimeKeys(view, grid, VK_NEXT, pages, pageTimes);
    const std::size_t afterOnce = WorkingSetKiB(child.process.get());
    TimeKeys(view, grid, VK_HOME, 1, pageTimes);
    TimeKeys(view, grid, VK_NEXT, pages, pageTimes);
    const std::size_t afterTwice = WorkingSetKiB(child.process.get());

    ::PostMessageW(view, WM_COMMAND, IDOK, 0);
    while (::IsWindow(view))
        ::Sleep(1);
    ::PostMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    if (::WaitForSingleObject(child.process.get(), kPatience) != WAIT_OBJECT_0)
        Fail("the program did not end");
    const std::vector<double> firstPass(pageTimes.begin(), pageTimes.begin() + pages);
    const std::vector<double> secondPass(pageTimes.begin() + pages + 1, pageTimes.end());
    std::printf("%.1f %.2f %.2f %.2f %zu %zu %zu %zu\n", firstPage, Median(firstPass), Median(secondPass),
                *std::max_element(pageTimes.begin(), pageTimes.end()), before, shown, afterOnce, afterTwice);
    return 0;
}

int CALLBACK PrintFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM)
{
    std::string hex;
    for (const char* c = font->lfFaceName; *c != '\0'; ++c) {
        char byte[3];
        std::snprintf(byte, sizeof byte, "%02X", static_cast<unsigned char>(*c));
        hex += byte;
    }
    std::printf("%u %lu %s %s\n", font->lfCharSet, fontType, hex.c_str(), font->lfFaceName);
    return 1;
}

int PrintFonts()
{
    const ClientDC screen = GetClientDC(nullptr);
    ::EnumFontFamiliesA(screen.get().dc, nullptr, PrintFamily, 0);
    return 0;
}

int CALLBACK CountFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return 1;
}

int TimeEnumeration()
{
    int reports = 0;
    const double start = Now();
    {
        const MemoryDC context(::CreateCompatibleDC(nullptr));
        ::EnumFontFamiliesA(context.get(), nullptr, CountFamily, reinterpret_cast<LPARAM>(&reports));
    }
    std::printf("%.1f %d\n", Now() - start, reports);
    return 0;
}

int TimeCommand(const std::string& commandLine)
{
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const UniqueFile nul(::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr));
    const double start = Now();
    const Child child = Start(commandLine, nul.get());
    if (::WaitForSingleObject(child.process.get(), kPatience) != WAIT_OBJECT_0)
        Fail("the command did not end");
    const double elapsed = Now() - start;
    DWORD exitCode = 0;
    ::GetExitCodeProcess(child.process.get(), &exitCode);
    std::printf("%.1f %lu\n", elapsed, exitCode);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "run" && (argc == 6 || (argc == 7 && std::string(argv[6]) == "follow")))
        return Run(argv[2], argv[3], std::atoi(argv[4]), std::atoi(argv[5]), argc == 7);
    if (command == "chars" && argc == 4)
        return RunCharacters(argv[2], std::atoi(argv[3]));
    if (command == "fonts")
        return PrintFonts();
    if (command == "enumerate")
        return TimeEnumeration();
    // The command line as the program was given it, after the word "time".
    if (command == "time" && argc > 2) {
        const char* line = ::GetCommandLineA();
        return TimeCommand(std::strstr(line, " time ") + 6);
    }
    std::fprintf(stderr, "usage: measure run EXE PATH ROW REPAINTS [follow] | measure fonts | measure enumerate | "
                         "measure time COMMAND-LINE | measure chars EXE PAGES\n");
    return 2;
}
