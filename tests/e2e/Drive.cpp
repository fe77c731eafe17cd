// Drives the running VELTRANE.EXE from outside, as a user would, for the end-to-end
// tests. A command that changes something returns once the program has handled it and
// has nothing left to paint, or has opened a dialog for it; a command that looks first
// waits for what it looks at. VELTRANE_EXE names the program's file, whose resources
// give the dialogs' captions, the icon and the item picture. ROW is a row's text (row
// 0's is "SystemDefaultEUDCFont", the value it links), scrolled into view before use;
// CONTROL is close, list, modify, remove or about. Rectangles print as "x y width height"
// on the screen, points as "x y", pictures as lines of ImageMagick's txt: format.
//   wait-main [MS]          waits for the main dialog; prints its rectangle
//   painted                 waits until the program has checked every link and has
//                           nothing left to paint
//   close WAY               closes it: close-button, enter, escape or close-box
//   press CONTROL           presses a button of the main dialog
//   click-row ROW | double-click-row ROW | unselect
//   rows                    prints every row's text, one a line
//   row-state ROW [STATE]   prints the state of the row's link as the list keeps it
//                           (linked, unlinked, missing-file, ...); given one, waits for it
//   state-now ROW           prints the row's state at once, without waiting for the checks
//                           to end: "unchecked" while its file is being checked
//   find-row ROW            prints the row's number (letter case aside), or fails
//   row-rect ROW | list-rect                   print the rectangle
//   key up|down|home|end|left|right            presses the key where the focus is
//   minimize | restore      minimises or restores the main dialog
//   choose-file PATH | cancel-file             answer the open-file dialog
//   no-file-dialog          fails if an open-file dialog is open
//   file-dialog-rect | about-rect              wait for that dialog; print its rectangle
//   about-closed            waits until no About box is open
//   about-date              prints the About box's date line
//   close-box-point main|about                 prints a point on that window's close box
//   button-point CONTROL [about]               prints the middle of a button of the main
//                           dialog, or of the About box
//   focus [CONTROL] | selection [NUMBER]       print the focused control or the selected
//                           row's number (-1 for none); given one, wait for it first
//   iconic                  prints 1 while the main dialog is minimised, else 0
//   value NAME [DATA|none]  prints the data of HKCU\EUDC\950's value NAME, or none; given
//                           DATA, waits for it first
//   key-class               prints the class of the key HKCU\EUDC\950
//   icon-pixels SIZE R G B  prints the program's icon drawn SIZE pixels wide over that colour
//   draw-row NAME [LINK [broken]]  prints a row of the list as drawn by hand: the item
//                           picture, NAME and LINK (red when broken), or the no-link text
//                           in grey, as they are (no mnemonics), in the dialog's font
//   message                 waits for a message box, prints "caption: text", presses OK
//   deny-key | allow-key    gives HKCU\EUDC\950 an empty access list, so that no one may
//                           open it, or the default one again
//   characters [menu]       waits for the character view or a message box after Ctrl+E
//                           (given "menu", asks by the system menu's command first);
//                           prints "view" once the view shows the file's characters, or
//                           "message: TEXT" and presses OK
//   char-opened             waits for the character view; prints "reading" while it
//                           reads its file, "loaded" once it shows the characters
//   answers MS              sends the main dialog, and the character view if one is open,
//                           a message each; prints the slowest answer's time in ms, or
//                           fails when one did not answer within MS
//   char-shown [TEXT]       prints the view's code lines, "Unicode U+E000|Big5 FA40";
//                           given TEXT, waits for it first
//   char-grid-rect | char-view-rect            print the rectangle of the view's grid of
//                           cells, or of the whole view
//   char-cell-point N       prints the middle of the grid's cell N (0 is the top left)
//   char-closed             waits until no character view is open
//   dpi                     prints the display's scale in dots per inch
//   layout main|about|characters               prints what is wrong with that dialog's
//                           layout at the display's scale, a line each (LayoutCheck.h)
//   clipboard [TEXT]        prints the clipboard's Unicode text as code points, "U+E011";
//                           given TEXT, waits for it first
//   acc-row ROW             prints the row's accessible name, read as a screen reader reads
//                           it: AccessibleObjectFromWindow on the list, get_accName
//   acc-cell [TEXT]         prints the accessible name of the character view's selected
//                           cell (get_accSelection, then get_accName); given TEXT, waits for it
//   heard-after KEY         presses the key as `key` does and prints the name of what the
//                           program's next focus event names, as a screen reader hears it
//                           (AccessibleObjectFromEvent, get_accName)
//   draw-cells FILE FACE FIRST COUNT ROWS  prints ROWS rows of 16 cells drawn by hand,
//                           the characters from U+E000 + FIRST, COUNT in all, each centred
//                           in the file's font FACE loaded for this process
// Every wait has a deadline. When what a command waits for does not come in time, it
// says what it waited for and exits with 3; with 1 when a command cannot be carried out
// (no such row, no dialog template); a reading that does not come is printed as it is.
//   serve                   runs the commands read from standard input, one a line, its
//                           words separated by tabs, in UTF-8; answers each with its
//                           output, its messages on lines that start with \x1f, then a
//                           line \x1e STATUS. A wait that expires ends it, as it ends a
//                           single command. Each start of a program costs Wine a tenth of
//                           a second, which a script of a hundred commands then pays once.
#include <windows.h>

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "../shared/RowByHand.h"
#include "LayoutCheck.h"
#include "model/LinkRows.h"
#include "platform/win32/UniqueHandle.h"
#include "resource.h"

namespace {

// For a window or an answer; a state read back gets less, as a user would.
constexpr DWORD kPatience = 20000;
constexpr DWORD kReadingPatience = 5000;
// The older open-file dialog's file-name box, and a message box's text.
constexpr int kFileNameBox = 0x480;
constexpr int kMessageText = 0xFFFF;
constexpr char kLinkKey[] = "EUDC\\950";

constexpr std::pair<const char*, int> kControls[] = {
    {"close", IDOK}, {"list", IDC_FONT_LIST}, {"modify", IDC_MODIFY}, {"remove", IDC_REMOVE}, {"about", IDC_ABOUT}};

constexpr int kWaitExpired = 3;
// The marks of `serve`'s answers.
constexpr char kStatusMark = '\x1e';
constexpr char kMessageMark = '\x1f';
bool serving = false;

// A command that cannot be carried out; its message is said.
struct CommandFailed {};

void Say(const std::string& text)
{
    if (serving)
        std::printf("%c%s\n", kMessageMark, text.c_str());
    else
        std::fprintf(stderr, "drive: %s\n", text.c_str());
}

[[noreturn]] void Fail(const std::string& what)
{
    Say(what);
    throw CommandFailed{};
}

void SayWaited(const std::string& what, DWORD milliseconds)
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%g", milliseconds / 1000.0);
    Say("FAIL waited " + std::string(seconds) + " s for " + what);
}

// Whether `test` came true within `milliseconds`. Messages are fetched meanwhile, so that
// the answers of messages sent with a callback arrive.
template <class Test>
bool Until(Test test, DWORD milliseconds = kPatience)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&message);
        if (test())
            return true;
        if (::GetTickCount() - start > milliseconds)
            return false;
        ::Sleep(10);
    }
}

// Waits until `test` comes true; when it does not in time, says for `what` and exits.
template <class Test>
void WaitFor(const std::string& what, Test test, DWORD milliseconds = kPatience)
{
    if (!Until(test, milliseconds)) {
        SayWaited(what, milliseconds);
        std::exit(kWaitExpired);
    }
}

int ControlId(const std::string& name)
{
    for (const auto& [controlName, id] : kControls)
        if (name == controlName)
            return id;
    Fail("unknown control: " + name);
}

std::string ControlName(int id)
{
    for (const auto& [name, controlId] : kControls)
        if (id == controlId)
            return name;
    return std::to_string(id);
}

std::string Utf8(const std::wstring& text)
{
    std::string bytes(text.size() * 3 + 1, '\0');
    bytes.resize(::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), static_cast<int>(bytes.size()),
                                       nullptr, nullptr) - 1);
    return bytes;
}

// The C run-time gives the arguments in the ANSI code page.
std::wstring Wide(const char* text)
{
    wchar_t wide[MAX_PATH] = {};
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH);
    return wide;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

const UniqueModule& Program()
{
    static const UniqueModule module = [] {
        const char* path = std::getenv("VELTRANE_EXE");
        if (path == nullptr)
            Fail("VELTRANE_EXE does not name the program");
        UniqueModule loaded(::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (!loaded)
            Fail(std::string("cannot read ") + path);
        return loaded;
    }();
    return module;
}

// The caption of the program's dialog template, as the program's dialog shows it.
std::wstring DialogCaption(int id)
{
    const HMODULE module = Program().get();
    const HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
    const auto* words = found != nullptr ? static_cast<const WORD*>(::LockResource(::LoadResource(module, found)))
                                         : nullptr;
    if (words == nullptr)
        Fail("no dialog template " + std::to_string(id));
    // After the header, the menu and the class: none, an ordinal, or a string each.
    const WORD* at = words + (words[1] == 0xFFFF ? 13 : 9);
    for (int field = 0; field < 2; ++field) {
        if (*at == 0xFFFF)
            at += 2;
        else
            while (*at++ != 0) {}
    }
    return reinterpret_cast<const wchar_t*>(at);
}

HWND MainDialog(DWORD milliseconds = kPatience)
{
    static const std::wstring caption = DialogCaption(IDD_MAIN);
    HWND window = nullptr;
    WaitFor(
        "the main dialog to appear",
        [&] {
            window = ::FindWindowW(L"#32770", caption.c_str());
            return window != nullptr && ::IsWindowVisible(window);
        },
        milliseconds);
    return window;
}

bool IsAbout(HWND window)
{
    static const std::wstring caption = DialogCaption(IDD_ABOUTBOX);
    return WindowText(window) == caption;
}
bool IsFileDialog(HWND window)
{
    return ::GetDlgItem(window, kFileNameBox) != nullptr;
}
bool IsMessageBox(HWND window)
{
    return ::GetDlgItem(window, kMessageText) != nullptr && !IsAbout(window) && !IsFileDialog(window);
}
bool IsCharacterView(HWND window)
{
    return ::GetDlgItem(window, IDC_CHAR_GRID) != nullptr;
}
bool IsViewOrMessage(HWND window)
{
    return IsCharacterView(window) || IsMessageBox(window);
}
bool IsAnyDialog(HWND)
{
    return true;
}

struct DialogSearch {
    HWND main;
    bool (*test)(HWND);
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter)
{
    auto& search = *reinterpret_cast<DialogSearch*>(parameter);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (window != search.main && ::IsWindowVisible(window) && std::wstring(className) == L"#32770" &&
        search.test(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the program's thread, other than the main dialog, that passes
// `test`. The open-file dialog has no owner, so dialogs are told apart by what they hold.
HWND DialogOf(HWND main, bool (*test)(HWND))
{
    DialogSearch search{main, test, nullptr};
    ::EnumThreadWindows(::GetWindowThreadProcessId(main, nullptr), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(HWND main, bool (*test)(HWND), const char* what)
{
    HWND found = nullptr;
    WaitFor(std::string(what) + " to open", [&] { return (found = DialogOf(main, test)) != nullptr; });
    return found;
}

HWND About(HWND main)
{
    return WaitForDialog(main, IsAbout, "the About box");
}

BOOL CALLBACK NoteUpdate(HWND window, LPARAM pending)
{
    if (::IsWindowVisible(window) && ::GetUpdateRect(window, nullptr, FALSE))
        *reinterpret_cast<bool*>(pending) = true;
    return TRUE;
}

BOOL CALLBACK NoteUpdateWithin(HWND window, LPARAM pending)
{
    NoteUpdate(window, pending);
    ::EnumChildWindows(window, NoteUpdate, pending);
    return TRUE;
}

// The state of each row's link is the list's item data for that row.
LinkState RowState(HWND list, int row)
{
    return static_cast<LinkState>(::SendMessageW(list, LB_GETITEMDATA, row, 0));
}

bool AllLinksChecked(HWND list)
{
    const int rows = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row)
        if (RowState(list, row) == LinkState::Unchecked)
            return false;
    return true;
}

// Painted: every link is checked, the program's thread has answered a sent message and
// none of its windows has an update region. It answers only where it fetches messages, and it fetches WM_PAINT
// only once its queue is empty, so the round trip is repeated until nothing is left. Each
// round trip waits a second at most, so that the deadline is the whole wait's.
void WaitPainted(HWND main)
{
    const DWORD thread = ::GetWindowThreadProcessId(main, nullptr);
    WaitFor("the links to be checked", [&] { return AllLinksChecked(::GetDlgItem(main, IDC_FONT_LIST)); });
    WaitFor("the main dialog to be painted", [&] {
        DWORD_PTR ignored = 0;
        if (!::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &ignored))
            return false;
        bool pending = false;
        ::EnumThreadWindows(thread, NoteUpdateWithin, reinterpret_cast<LPARAM>(&pending));
        return !pending;
    });
}

// The number of the last click the program has answered.
ULONG_PTR lastAnswer = 0;

VOID CALLBACK NoteAnswer(HWND, UINT, ULONG_PTR click, LRESULT)
{
    lastAnswer = click;
}

// Sent with a callback, so that its answer says the program has handled the click. No
// answer comes while the click's handler runs a dialog: that dialog ends the wait too,
// and the answer comes later, during another command, so clicks are numbered.
void Press(HWND main, HWND button)
{
    static ULONG_PTR clicks = 0;
    const ULONG_PTR click = ++clicks;
    ::SendMessageCallbackW(button, BM_CLICK, 0, 0, NoteAnswer, click);
    WaitFor("the program to handle the click on " + ControlName(::GetDlgCtrlID(button)),
            [&] { return lastAnswer == click || !::IsWindow(main) || DialogOf(main, IsAnyDialog) != nullptr; });
    if (::IsWindow(main))
        WaitPainted(main);
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

// Posted, the dialog's own loop sees the key, as it must see Enter and Escape; sent, the
// key is handled when the command ends, which is enough for the list's own keys.
void PressKey(HWND window, UINT key, bool send)
{
    const HWND focus = FocusOf(window);
    for (const auto& [message, flags] : {std::pair<UINT, LPARAM>{WM_KEYDOWN, 1}, {WM_KEYUP, 0xC0000001}}) {
        if (send)
            ::SendMessageW(focus, message, key, flags);
        else
            ::PostMessageW(focus, message, key, flags);
    }
}

void WaitUntilClosed(HWND window, const char* what)
{
    WaitFor(std::string(what) + " to close", [&] { return !::IsWindow(window); });
}

int PrintRect(const RECT& rect)
{
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

int PrintWindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return PrintRect(rect);
}

// The list's own search, which crosses from process to process with its text.
int RowOf(HWND list, const char* text)
{
    const std::wstring wide = Wide(text);
    const auto row =
        ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
    if (row == LB_ERR)
        Fail(std::string("no row is ") + text);
    return static_cast<int>(row);
}

int ItemHeight(HWND list)
{
    return static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
}

// The row, scrolled into view as little as it takes, once the list shows it.
int ShownRow(HWND main, HWND list, const char* text)
{
    const int row = RowOf(list, text);
    RECT client{};
    ::GetClientRect(list, &client);
    const int visible = std::max(1, static_cast<int>(client.bottom) / ItemHeight(list));
    const auto top = static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    if (row < top)
        ::SendMessageW(list, LB_SETTOPINDEX, row, 0);
    else if (row >= top + visible)
        ::SendMessageW(list, LB_SETTOPINDEX, row - visible + 1, 0);
    WaitPainted(main);
    return row;
}

// The row's rectangle in the list's client coordinates, from messages that carry no
// pointer, so that they cross from process to process unchanged.
RECT RowRect(HWND list, int row)
{
    RECT client{};
    ::GetClientRect(list, &client);
    const int height = ItemHeight(list);
    const auto top = static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    return {0, (row - top) * height, client.right, (row - top + 1) * height};
}

// Sent rather than posted, so that the click is over when the command ends.
void ClickRow(HWND main, HWND list, int row, bool twice)
{
    const RECT rect = RowRect(list, row);
    const LPARAM where = MAKELPARAM(rect.right / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::SendMessageW(list, WM_LBUTTONUP, 0, where);
    if (twice) {
        // The double-click opens the open-file dialog: post it, or this would wait for it.
        ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        ::PostMessageW(list, WM_LBUTTONUP, 0, where);
    } else {
        WaitPainted(main);
    }
}

int PrintRowRect(HWND list, int row)
{
    const RECT rect = RowRect(list, row);
    POINT corner{rect.left, rect.top};
    ::ClientToScreen(list, &corner);
    return PrintRect({corner.x, corner.y, corner.x + rect.right - rect.left, corner.y + rect.bottom - rect.top});
}

int PrintRows(HWND list)
{
    const auto count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        wchar_t text[256] = {};
        if (::SendMessageW(list, LB_GETTEXTLEN, row, 0) < 256)
            ::SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        std::printf("%s\n", Utf8(text).c_str());
    }
    return 0;
}

int PressNamedKey(HWND window, const std::string& name)
{
    const std::pair<const char*, UINT> keys[] = {{"up", VK_UP},   {"down", VK_DOWN}, {"home", VK_HOME},
                                                 {"end", VK_END}, {"left", VK_LEFT}, {"right", VK_RIGHT}};
    for (const auto& [keyName, key] : keys) {
        if (name == keyName) {
            PressKey(window, key, true);
            WaitPainted(window);
            return 0;
        }
    }
    Fail("unknown key: " + name);
}

// Waits for the open-file dialog to close, then for the program to be done with the file.
int AnswerFileDialog(HWND main, const wchar_t* path)
{
    const HWND dialog = WaitForDialog(main, IsFileDialog, "the open-file dialog");
    if (path != nullptr)
        ::SendMessageW(::GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    ::PostMessageW(::GetDlgItem(dialog, path != nullptr ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    WaitUntilClosed(dialog, "the open-file dialog");
    WaitPainted(main);
    return 0;
}

// Prints the reading; given what it should be, reads until it is, for a while, and
// prints it as it is then: the script says what is wrong with it.
template <class Read>
int PrintReading(const std::string& what, Read read, const char* want)
{
    if (want != nullptr && !Until([&] { return read() == want; }, kReadingPatience))
        SayWaited(what + " to read " + want, kReadingPatience);
    std::printf("%s\n", read().c_str());
    return 0;
}

// Asks the window itself where its close box is, across its caption, as the mouse would.
int PrintCloseBoxPoint(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    for (LONG y = rect.top; y < rect.top + 40; ++y) {
        for (LONG x = rect.right - 1; x > rect.right - 60; --x) {
            if (::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) {
                std::printf("%ld %ld\n", x - 3, y + 3);
                return 0;
            }
        }
    }
    Fail("no close box found");
}

int PrintButtonPoint(HWND button)
{
    RECT rect{};
    ::GetWindowRect(button, &rect);
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
}

// The data of the link key's value, bytes as stored; "none" without one.
std::string ValueOf(const char* name)
{
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kLinkKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return "none";
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (::RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return "none";
    return std::string(data, ::strnlen(data, size));
}

int PrintKeyClass()
{
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kLinkKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        Fail("no key EUDC\\950");
    wchar_t keyClass[64] = {};
    DWORD length = 64;
    ::RegQueryInfoKeyW(key.get(), keyClass, &length, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
    std::printf("%s\n", Utf8(keyClass).c_str());
    return 0;
}

void PrintPixels(HDC dc, int width, int height)
{
    std::printf("# ImageMagick pixel enumeration: %d,%d,255,srgb\n", width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF pixel = ::GetPixel(dc, x, y);
            std::printf("%d,%d: (%d,%d,%d)\n", x, y, GetRValue(pixel), GetGValue(pixel), GetBValue(pixel));
        }
    }
}

// The program's icon, drawn at a caption's size the way a caption draws it, so that a
// picture of the screen can be searched for it.
int PrintIconPixels(int size, COLORREF background)
{
    const UniqueIcon icon(static_cast<HICON>(
        ::LoadImageW(Program().get(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    if (!icon)
        Fail("no icon in the program");
    const ClientDC screen = GetClientDC(nullptr);
    const MemoryDC dc(::CreateCompatibleDC(screen.get().dc));
    const GdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.get().dc, size, size));
    const Selection canvas = Select(dc.get(), bitmap.get());
    const GdiObject<HBRUSH> brush(::CreateSolidBrush(background));
    const RECT all{0, 0, size, size};
    ::FillRect(dc.get(), &all, brush.get());
    ::DrawIconEx(dc.get(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
    PrintPixels(dc.get(), size, size);
    return 0;
}

// The row of an unselected, unfocused font as the list shows it, put together by hand
// from its parts (RowByHand.h), in the font a dialog makes of its template's "System",
// 12 points. Without a link, the row shows the program's own no-link text.
int PrintRowDrawnByHand(HWND list, const char* name, const char* link, bool broken)
{
    RECT row{};
    ::GetClientRect(list, &row);
    row.bottom = ItemHeight(list);
    const GdiObject<HBITMAP> picture(static_cast<HBITMAP>(
        ::LoadImageW(Program().get(), MAKEINTRESOURCEW(IDB_FONT_ITEM), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!picture)
        Fail("no item picture in the program");
    char noLink[64] = {};
    ::LoadStringA(Program().get(), IDS_NO_ASSIGNED, noLink, sizeof noLink);
    const ClientDC screen = GetClientDC(nullptr);
    const MemoryDC dc(::CreateCompatibleDC(screen.get().dc));
    const GdiObject<HBITMAP> canvas(::CreateCompatibleBitmap(screen.get().dc, row.right, row.bottom));
    const Selection canvasSelected = Select(dc.get(), canvas.get());
    const GdiObject<HFONT> font(::CreateFontW(-::MulDiv(12, ::GetDeviceCaps(screen.get().dc, LOGPIXELSY), 72), 0, 0,
                                              0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                              PROOF_QUALITY, FF_DONTCARE, L"System"));
    const Selection fontSelected = Select(dc.get(), font.get());
    DrawRowByHand(dc.get(), row, picture.get(), {name, link != nullptr ? link : noLink, link != nullptr, 0, broken});
    PrintPixels(dc.get(), row.right, row.bottom);
    return 0;
}

int AnswerMessageBox(HWND main)
{
    const HWND box = WaitForDialog(main, IsMessageBox, "a message box");
    wchar_t text[512] = {};
    ::GetDlgItemTextW(box, kMessageText, text, 512);
    const std::wstring line = WindowText(box) + L": " + text;
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    std::printf("%s\n", Utf8(line).c_str());
    WaitUntilClosed(box, "the message box");
    return 0;
}

// An empty access list keeps everyone out; none at all lets everyone in. The key's owner
// may always change the list.
int SetKeyAccess(bool allowed)
{
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kLinkKey, 0, WRITE_DAC, key.put()) != ERROR_SUCCESS)
        Fail("cannot change the access list of EUDC\\950");
    SECURITY_DESCRIPTOR security{};
    ::InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    ACL noOne{};
    ::InitializeAcl(&noOne, sizeof noOne, ACL_REVISION);
    ::SetSecurityDescriptorDacl(&security, TRUE, allowed ? nullptr : &noOne, FALSE);
    return ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &security) == ERROR_SUCCESS ? 0 : 1;
}

// Whether the view still reads its file: its count line says so until the characters show.
bool IsReading(HWND view)
{
    static const std::wstring reading = [] {
        wchar_t text[256] = {};
        ::LoadStringW(Program().get(), IDS_CHARS_READING, text, 256);
        return std::wstring(text);
    }();
    return WindowText(::GetDlgItem(view, IDC_CHAR_COUNT)) == reading;
}

// The message box's text, its OK pressed, or "view" once the character view is painted with
// the file's characters. A file that turns out unreadable closes the view, for a message.
int AnswerCharacters(HWND main, bool byMenu)
{
    if (byMenu)
        ::PostMessageW(main, WM_SYSCOMMAND, IDM_CHARACTERS, 0);
    HWND found = WaitForDialog(main, IsViewOrMessage, "the character view or a message box");
    if (IsCharacterView(found)) {
        WaitFor("the character view to read its file", [&] { return !::IsWindow(found) || !IsReading(found); });
        if (::IsWindow(found)) {
            WaitPainted(main);
            std::printf("view\n");
            return 0;
        }
        found = WaitForDialog(main, IsMessageBox, "a message box");
    }
    wchar_t text[512] = {};
    ::GetDlgItemTextW(found, kMessageText, text, 512);
    ::PostMessageW(::GetDlgItem(found, IDOK), BM_CLICK, 0, 0);
    std::printf("message: %s\n", Utf8(text).c_str());
    WaitUntilClosed(found, "the message box");
    return 0;
}

// Each window of the program answers a sent message: a thread that waits on a file does not.
int PrintAnswerTime(HWND main, DWORD milliseconds)
{
    DWORD slowest = 0;
    for (const HWND window : {main, DialogOf(main, IsCharacterView)}) {
        if (window == nullptr)
            continue;
        const DWORD start = ::GetTickCount();
        DWORD_PTR ignored = 0;
        if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, milliseconds, &ignored))
            Fail(Utf8(WindowText(window)) + " did not answer within " + std::to_string(milliseconds) + " ms");
        slowest = std::max(slowest, ::GetTickCount() - start);
    }
    std::printf("%lu\n", static_cast<unsigned long>(slowest));
    return 0;
}

std::string CharacterShown(HWND view)
{
    return Utf8(WindowText(::GetDlgItem(view, IDC_CHAR_CODE))) + "|" +
           Utf8(WindowText(::GetDlgItem(view, IDC_CHAR_BIG5)));
}

RECT GridRect(HWND view)
{
    const HWND grid = ::GetDlgItem(view, IDC_CHAR_GRID);
    RECT client{};
    ::GetClientRect(grid, &client);
    ::MapWindowPoints(grid, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

// The cells are squares of 36 pixels, 16 to a row, as the README's chart says.
constexpr int kCell = 36;
constexpr int kColumns = 16;

std::string ClipboardText()
{
    if (!::OpenClipboard(nullptr))
        return "(cannot open the clipboard)";
    std::string shown;
    if (const HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
            for (const wchar_t* c = text; *c != 0; ++c) {
                char code[16];
                std::snprintf(code, sizeof code, "%sU+%04X", shown.empty() ? "" : " ", static_cast<unsigned>(*c));
                shown += code;
            }
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return shown;
}

// Spelled out: MinGW's oleacc import library's has been seen to be wrong.
constexpr IID kIAccessible{0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

using AccessiblePtr = ComObject<IAccessible>;

bool ComStarted()
{
    static const bool started = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return started;
}

// The control's object as a screen reader gets it, from this other process.
AccessiblePtr AccessibleOf(HWND control)
{
    void* object = nullptr;
    if (!ComStarted() || FAILED(::AccessibleObjectFromWindow(control, OBJID_CLIENT, kIAccessible, &object)))
        Fail("no accessible object for the control");
    return AccessiblePtr(static_cast<IAccessible*>(object));
}

// The name of the child `child` (1 is the first item), or of the selected one when
// `child` is 0; "(none)" when there is none, "(error 0x...)" when the call fails.
std::string AccessibleName(HWND control, long child)
{
    const AccessiblePtr object = AccessibleOf(control);
    VARIANT id{};
    id.vt = VT_I4;
    id.lVal = child;
    if (child == 0 && object.get()->get_accSelection(&id) != S_OK)
        return "(none)";
    BSTR name = nullptr;
    const HRESULT result = object.get()->get_accName(id, &name);
    char failed[32];
    std::snprintf(failed, sizeof failed, "(error 0x%08lX)", static_cast<unsigned long>(result));
    const std::string text = result == S_OK && name != nullptr ? Utf8(name) : failed;
    ::SysFreeString(name);
    return text;
}

// The focus events of the program, as an out-of-context hook receives them.
struct FocusEvent {
    HWND window;
    LONG object;
    LONG child;
};
std::vector<FocusEvent> focusEvents;

void CALLBACK NoteFocusEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    focusEvents.push_back({window, object, child});
}

// The name a reader hears when `key` moves the focus: that of the object the event names.
int PrintHeardAfter(HWND main, const std::string& key)
{
    DWORD process = 0;
    ::GetWindowThreadProcessId(main, &process);
    UniqueHandle<HWINEVENTHOOK, ::UnhookWinEvent> hook(::SetWinEventHook(
        EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, NoteFocusEvent, process, 0, WINEVENT_OUTOFCONTEXT));
    if (!hook)
        Fail("cannot hook the program's focus events");
    focusEvents.clear();
    PressNamedKey(main, key);
    const bool told = Until([] { return !focusEvents.empty(); }, kReadingPatience);
    hook.reset();
    if (!told) {
        std::printf("(no focus event)\n");
        return 0;
    }
    const FocusEvent event = focusEvents.back();
    IAccessible* object = nullptr;
    VARIANT child{};
    if (!ComStarted() || FAILED(::AccessibleObjectFromEvent(event.window, event.object, event.child, &object, &child)))
        Fail("no accessible object for the focus event");
    const AccessiblePtr owned(object);
    BSTR name = nullptr;
    const bool named = object->get_accName(child, &name) == S_OK && name != nullptr;
    std::printf("%s\n", named ? Utf8(name).c_str() : "(no name)");
    ::SysFreeString(name);
    return 0;
}

// Each cell as the chart is meant to look: white, its right and bottom edge the grid's
// grey line, the character placed by its advance and the font's line height in the
// middle of the white; past the last character, grey.
int PrintCellsDrawnByHand(const char* file, const char* face, int first, int count, int rows)
{
    if (::AddFontResourceExA(file, FR_PRIVATE, nullptr) == 0)
        Fail(std::string("cannot load ") + file);
    const int width = kColumns * kCell;
    const int height = rows * kCell;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const MemoryDC dc(::CreateCompatibleDC(nullptr));
    const GdiObject<HBITMAP> canvas(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const Selection canvasSelected = Select(dc.get(), canvas.get());
    const GdiObject<HFONT> font(::CreateFontW(-28, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                              OUT_TT_ONLY_PRECIS, 0, NONANTIALIASED_QUALITY, 0, Wide(face).c_str()));
    const Selection fontSelected = Select(dc.get(), font.get());
    const GdiObject<HBRUSH> grey(::CreateSolidBrush(RGB(192, 192, 192)));
    const GdiObject<HBRUSH> white(::CreateSolidBrush(RGB(255, 255, 255)));
    const RECT all{0, 0, width, height};
    ::FillRect(dc.get(), &all, grey.get());
    ::SetBkMode(dc.get(), TRANSPARENT);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.get(), &metrics);
    for (int i = 0; i < rows * kColumns && i < count - first; ++i) {
        const int x = i % kColumns * kCell;
        const int y = i / kColumns * kCell;
        const RECT inside{x, y, x + kCell - 1, y + kCell - 1};
        ::FillRect(dc.get(), &inside, white.get());
        const wchar_t c = static_cast<wchar_t>(0xE000 + first + i);
        SIZE size{};
        ::GetTextExtentPoint32W(dc.get(), &c, 1, &size);
        ::TextOutW(dc.get(), x + (kCell - 1 - size.cx) / 2, y + (kCell - 1 - metrics.tmHeight) / 2, &c, 1);
    }
    PrintPixels(dc.get(), width, height);
    ::RemoveFontResourceExA(file, FR_PRIVATE, nullptr);
    return 0;
}

// The problems of the main dialog, the About box or the character view, each on a line;
// the dialog waited for and painted first.
int PrintLayoutProblems(HWND main, const std::string& which)
{
    HWND dialog = main;
    if (which == "about")
        dialog = WaitForDialog(main, IsAbout, "the About box");
    else if (which == "characters")
        dialog = WaitForDialog(main, IsCharacterView, "the character view");
    else if (which != "main")
        Fail("no such dialog: " + which);
    WaitPainted(main);
    for (const std::string& problem : LayoutProblems(dialog))
        std::printf("%s\n", problem.c_str());
    return 0;
}

int Close(HWND window, const std::string& way)
{
    if (way == "close-button")
        ::PostMessageW(::GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    else if (way == "enter")
        PressKey(window, VK_RETURN, false);
    else if (way == "escape")
        PressKey(window, VK_ESCAPE, false);
    else if (way == "close-box")
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
        Fail("unknown way to close: " + way);
    return 0;
}

int MinimizeOrRestore(HWND window, bool minimize)
{
    ::PostMessageW(window, WM_SYSCOMMAND, minimize ? SC_MINIMIZE : SC_RESTORE, 0);
    WaitFor(minimize ? "the main dialog to be minimised" : "the main dialog to be restored",
            [&] { return (::IsIconic(window) != FALSE) == minimize; });
    WaitPainted(window);
    return 0;
}

// A command's words after its name, and the main dialog and its list for a command that
// acts on them.
struct Call {
    std::vector<const char*> words;
    HWND main = nullptr;
    HWND list = nullptr;

    // The word, or nullptr past the last.
    const char* operator[](std::size_t i) const { return i < words.size() ? words[i] : nullptr; }
    bool Is(std::size_t i, const char* text) const { return i < words.size() && std::strcmp(words[i], text) == 0; }
};

HWND CharacterView(HWND main)
{
    return WaitForDialog(main, IsCharacterView, "the character view");
}

int Painted(const Call& call)
{
    WaitPainted(call.main);
    return 0;
}

int PrintValue(const Call& call)
{
    return PrintReading(std::string("the value ") + call[0], [&] { return ValueOf(call[0]); }, call[1]);
}

int PrintRowState(const Call& call)
{
    const int row = ShownRow(call.main, call.list, call[0]);
    return PrintReading(std::string("the state of ") + call[0],
                        [&] { return std::string(LinkStateText(RowState(call.list, row))); }, call[1]);
}

int Unselect(const Call& call)
{
    ::SendMessageW(call.list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    WaitPainted(call.main);
    return 0;
}

// The window's rectangle once the program has nothing left to paint.
int PrintPaintedRect(HWND main, HWND window)
{
    WaitPainted(main);
    return PrintWindowRect(window);
}

int NoFileDialog(const Call& call)
{
    if (DialogOf(call.main, IsFileDialog) != nullptr)
        Fail("an open-file dialog is open");
    return 0;
}

int PrintAboutDate(const Call& call)
{
    wchar_t text[128] = {};
    ::GetDlgItemTextW(About(call.main), IDC_DATE, text, 128);
    std::printf("%s\n", Utf8(text).c_str());
    return 0;
}

int PrintCharOpened(const Call& call)
{
    std::printf("%s\n", IsReading(CharacterView(call.main)) ? "reading" : "loaded");
    return 0;
}

int PrintCharShown(const Call& call)
{
    const HWND view = CharacterView(call.main);
    WaitPainted(call.main);
    return PrintReading("the character view's codes", [&] { return CharacterShown(view); }, call[0]);
}

int PrintCellPoint(const Call& call)
{
    const RECT grid = GridRect(CharacterView(call.main));
    const int cell = std::atoi(call[0]);
    std::printf("%ld %d\n", grid.left + cell % kColumns * kCell + kCell / 2,
                static_cast<int>(grid.top) + cell / kColumns * kCell + kCell / 2);
    return 0;
}

// The name holds the character itself, which the argument brings in the ANSI code page.
int PrintAccessibleCell(const Call& call)
{
    const HWND view = CharacterView(call.main);
    const std::string want = call[0] ? Utf8(Wide(call[0])) : std::string();
    return PrintReading("the selected cell's accessible name",
                        [&] { return AccessibleName(::GetDlgItem(view, IDC_CHAR_GRID), 0); },
                        call[0] ? want.c_str() : nullptr);
}

struct Command {
    const char* name;
    const char* usage;  // its words; those before the first "[" are required
    bool onMain;        // waits for the main dialog before it runs
    int (*run)(const Call& call);
};

// One line a command; the list at the top of this file says what each does.
const Command kCommands[] = {
    {"deny-key", "", false, [](const Call&) { return SetKeyAccess(false); }},
    {"allow-key", "", false, [](const Call&) { return SetKeyAccess(true); }},
    {"value", "NAME [DATA|none]", false, PrintValue},
    {"key-class", "", false, [](const Call&) { return PrintKeyClass(); }},
    {"icon-pixels", "SIZE R G B", false,
     [](const Call& c) {
         return PrintIconPixels(std::atoi(c[0]), RGB(std::atoi(c[1]), std::atoi(c[2]), std::atoi(c[3])));
     }},
    {"wait-main", "[MS]", false,
     [](const Call& c) { return PrintWindowRect(MainDialog(c[0] ? std::strtoul(c[0], nullptr, 10) : kPatience)); }},
    {"painted", "", true, Painted},
    {"close", "WAY", true, [](const Call& c) { return Close(c.main, c[0]); }},
    {"press", "CONTROL", true,
     [](const Call& c) {
         Press(c.main, ::GetDlgItem(c.main, ControlId(c[0])));
         return 0;
     }},
    {"click-row", "ROW", true,
     [](const Call& c) {
         ClickRow(c.main, c.list, ShownRow(c.main, c.list, c[0]), false);
         return 0;
     }},
    {"double-click-row", "ROW", true,
     [](const Call& c) {
         ClickRow(c.main, c.list, ShownRow(c.main, c.list, c[0]), true);
         return 0;
     }},
    {"unselect", "", true, Unselect},
    {"rows", "", true, [](const Call& c) { return PrintRows(c.list); }},
    {"row-state", "ROW [STATE]", true, PrintRowState},
    {"state-now", "ROW", true,
     [](const Call& c) {
         std::printf("%s\n", LinkStateText(RowState(c.list, RowOf(c.list, c[0]))));
         return 0;
     }},
    {"find-row", "ROW", true,
     [](const Call& c) {
         std::printf("%d\n", RowOf(c.list, c[0]));
         return 0;
     }},
    {"row-rect", "ROW", true, [](const Call& c) { return PrintRowRect(c.list, ShownRow(c.main, c.list, c[0])); }},
    {"list-rect", "", true, [](const Call& c) { return PrintPaintedRect(c.main, c.list); }},
    {"key", "up|down|home|end|left|right", true, [](const Call& c) { return PressNamedKey(c.main, c[0]); }},
    {"minimize", "", true, [](const Call& c) { return MinimizeOrRestore(c.main, true); }},
    {"restore", "", true, [](const Call& c) { return MinimizeOrRestore(c.main, false); }},
    {"choose-file", "PATH", true, [](const Call& c) { return AnswerFileDialog(c.main, Wide(c[0]).c_str()); }},
    {"cancel-file", "", true, [](const Call& c) { return AnswerFileDialog(c.main, nullptr); }},
    {"no-file-dialog", "", true, NoFileDialog},
    {"file-dialog-rect", "", true,
     [](const Call& c) {
         return PrintPaintedRect(c.main, WaitForDialog(c.main, IsFileDialog, "the open-file dialog"));
     }},
    {"about-rect", "", true, [](const Call& c) { return PrintPaintedRect(c.main, About(c.main)); }},
    {"about-closed", "", true,
     [](const Call& c) {
         WaitFor("the About box to close", [&] { return DialogOf(c.main, IsAbout) == nullptr; });
         return 0;
     }},
    {"about-date", "", true, PrintAboutDate},
    {"close-box-point", "main|about", true,
     [](const Call& c) { return PrintCloseBoxPoint(c.Is(0, "about") ? About(c.main) : c.main); }},
    {"button-point", "CONTROL [about]", true,
     [](const Call& c) { return PrintButtonPoint(::GetDlgItem(c[1] ? About(c.main) : c.main, ControlId(c[0]))); }},
    {"focus", "[CONTROL]", true,
     [](const Call& c) {
         return PrintReading("the focus", [&] { return ControlName(::GetDlgCtrlID(FocusOf(c.main))); }, c[0]);
     }},
    {"selection", "[NUMBER]", true,
     [](const Call& c) {
         return PrintReading(
             "the selection", [&] { return std::to_string(::SendMessageW(c.list, LB_GETCURSEL, 0, 0)); }, c[0]);
     }},
    {"iconic", "", true,
     [](const Call& c) {
         std::printf("%d\n", ::IsIconic(c.main) ? 1 : 0);
         return 0;
     }},
    {"draw-row", "NAME [LINK [broken]]", true,
     [](const Call& c) { return PrintRowDrawnByHand(c.list, c[0], c[1], c.Is(2, "broken")); }},
    {"message", "", true, [](const Call& c) { return AnswerMessageBox(c.main); }},
    {"characters", "[menu]", true, [](const Call& c) { return AnswerCharacters(c.main, c.Is(0, "menu")); }},
    {"char-opened", "", true, PrintCharOpened},
    {"answers", "MS", true, [](const Call& c) { return PrintAnswerTime(c.main, std::strtoul(c[0], nullptr, 10)); }},
    {"char-shown", "[TEXT]", true, PrintCharShown},
    {"char-grid-rect", "", true,
     [](const Call& c) {
         const HWND view = CharacterView(c.main);
         WaitPainted(c.main);
         return PrintRect(GridRect(view));
     }},
    {"char-view-rect", "", true, [](const Call& c) { return PrintPaintedRect(c.main, CharacterView(c.main)); }},
    {"char-cell-point", "N", true, PrintCellPoint},
    {"dpi", "", false,
     [](const Call&) {
         const ClientDC screen = GetClientDC(nullptr);
         std::printf("%d\n", ::GetDeviceCaps(screen.get().dc, LOGPIXELSY));
         return 0;
     }},
    {"layout", "main|about|characters", true, [](const Call& c) { return PrintLayoutProblems(c.main, c[0]); }},
    {"char-closed", "", true,
     [](const Call& c) {
         WaitFor("the character view to close", [&] { return DialogOf(c.main, IsCharacterView) == nullptr; });
         return 0;
     }},
    {"clipboard", "[TEXT]", true, [](const Call& c) { return PrintReading("the clipboard", ClipboardText, c[0]); }},
    {"acc-row", "ROW", true,
     [](const Call& c) {
         std::printf("%s\n", AccessibleName(c.list, ShownRow(c.main, c.list, c[0]) + 1).c_str());
         return 0;
     }},
    {"acc-cell", "[TEXT]", true, PrintAccessibleCell},
    {"heard-after", "KEY", true, [](const Call& c) { return PrintHeardAfter(c.main, c[0]); }},
    {"draw-cells", "FILE FACE FIRST COUNT ROWS", true,
     [](const Call& c) {
         return PrintCellsDrawnByHand(c[0], c[1], std::atoi(c[2]), std::atoi(c[3]), std::atoi(c[4]));
     }},
};

// The words before the first optional one.
std::size_t Required(const char* usage)
{
    std::size_t count = 0;
    for (const char* word = usage; *word != '\0' && *word != '['; ++count) {
        word = std::strchr(word, ' ');
        if (word == nullptr)
            return count + 1;
        ++word;
    }
    return count;
}

int Run(int argc, char** argv)
{
    if (argc < 2) {
        Say("usage: drive COMMAND [ARGUMENT]; the commands are listed in Drive.cpp");
        return 2;
    }
    const std::string name = argv[1];
    const auto command = std::ranges::find(kCommands, name, &Command::name);
    if (command == std::end(kCommands)) {
        Say("unknown command " + name);
        return 2;
    }
    Call call{{argv + 2, argv + argc}};
    if (call.words.size() < Required(command->usage)) {
        Say("usage: drive " + name + " " + command->usage);
        return 2;
    }
    if (command->onMain) {
        call.main = MainDialog();
        call.list = ::GetDlgItem(call.main, IDC_FONT_LIST);
    }
    return command->run(call);
}

int RunCommand(int argc, char** argv)
{
    try {
        return Run(argc, argv);
    } catch (const CommandFailed&) {
        return 1;
    }
}

// The shell's words are UTF-8; the commands take them as the C run-time gives a command
// line's, in the ANSI code page.
std::string AnsiFromUtf8(const std::string& text)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size())) - 1);
    std::string ansi(wide.size() * 2 + 1, '\0');
    ansi.resize(::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), static_cast<int>(ansi.size()), nullptr,
                                      nullptr) - 1);
    return ansi;
}

bool ReadLine(std::string& line)
{
    line.clear();
    char part[4096];
    while (std::fgets(part, sizeof part, stdin) != nullptr) {
        line += part;
        if (line.back() == '\n') {
            line.pop_back();
            return true;
        }
    }
    return !line.empty();
}

int Serve(const char* self)
{
    serving = true;
    std::string line;
    while (ReadLine(line)) {
        std::vector<std::string> words{self};
        for (size_t start = 0;;) {
            const size_t tab = line.find('\t', start);
            words.push_back(AnsiFromUtf8(line.substr(start, tab - start)));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        std::vector<char*> argv;
        for (std::string& word : words)
            argv.push_back(word.data());
        const int status = RunCommand(static_cast<int>(argv.size()), argv.data());
        std::printf("%c%d\n", kStatusMark, status);
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // Measured at the scale the program draws at: it declares itself aware of it too.
    ::SetProcessDPIAware();
    if (argc == 2 && std::string(argv[1]) == "serve")
        return Serve(argv[0]);
    return RunCommand(argc, argv);
}
