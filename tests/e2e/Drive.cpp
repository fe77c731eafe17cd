// Drives the running VELTRANE.EXE from outside, as a user would, for the end-to-end
// tests:
//   drive wait-main [milliseconds]   waits for the main dialog; prints "x y width height"
//   drive close WAY                  closes it: close-button, enter, escape or close-box
//   drive press ID                   presses the dialog's button with that control id
//   drive click-row ROW              clicks the list's row
//   drive double-click-row ROW       double-clicks it
//   drive unselect                   leaves the list without a selected row
//   drive row-rect ROW               prints the row's "x y width height" on the screen
//   drive list-rect                  prints the list's "x y width height" on the screen
//   drive key KEY                    presses up, down, home or end where the focus is
//   drive minimize | restore         minimises or restores the main dialog
//   drive choose-file PATH           types PATH into the open-file dialog and presses OK
//   drive cancel-file                presses Cancel in the open-file dialog
//   drive no-file-dialog MS          fails if an open-file dialog opens within MS
//   drive file-dialog-rect           waits for the open-file dialog; prints its rectangle
//   drive about-rect                 waits for the About box; prints its rectangle
//   drive about-closed               waits until no About box is open
//   drive about-date                 prints the About box's date line
//   drive close-box-point main|about prints a screen point on that window's close box
//   drive button-point ID [about]    prints the screen point at the middle of a button of the
//                                    main dialog, or of the About box
//   drive focus                      prints the control id of the focused control
//   drive selection                  prints the list's selected row, -1 for none
//   drive iconic                     prints 1 while the main dialog is minimised, else 0
//   drive key-class                  prints the class of the key HKCU\EUDC\950
//   drive icon-pixels EXE SIZE R G B prints EXE's icon drawn SIZE pixels wide over that
//                                    colour, as lines of ImageMagick's txt: format
//   drive find-row TEXT              prints the number of the row whose text is TEXT
//                                    (letter case aside), or fails
//   drive draw-row EXE NAME LINK     prints a row of the list as drawn by hand: EXE's item
//                                    picture, NAME and LINK as they are (no mnemonics), in
//                                    the dialog's font, as lines of ImageMagick's txt: format
//   drive message                    waits for a message box over the main dialog, prints
//                                    its caption and text, and presses its OK button
//   drive deny-key | allow-key       gives HKCU\EUDC\950 an empty access list, so that
//                                    no one may open it, or the default one again
// Exits with 1 when a window does not appear in time, or appears when it should not.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "platform/win32/UniqueHandle.h"
#include "resource.h"

namespace {

const wchar_t kMainCaption[] = L"Corvale Windows 95 外字集關聯程式 Version 1.0";
const wchar_t kFileDialogTitle[] = L"選擇外字集檔案";
const wchar_t kAboutCaption[] = L"About veltrane";
// The older open-file dialog's file-name box.
constexpr int kFileNameBox = 0x480;

HWND WaitForDialog(const wchar_t* caption, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        const HWND window = ::FindWindowW(L"#32770", caption);
        if (window != nullptr && ::IsWindowVisible(window))
            return window;
        if (::GetTickCount() - start > milliseconds)
            return nullptr;
        ::Sleep(50);
    }
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void PressKey(HWND window, UINT key)
{
    const HWND focus = FocusOf(window);
    ::PostMessageW(focus, WM_KEYDOWN, key, 1);
    ::PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

// Waits until the window is gone; false when it stays.
bool WaitUntilClosed(HWND window)
{
    for (int i = 0; i < 200 && ::IsWindow(window); ++i)
        ::Sleep(50);
    return !::IsWindow(window);
}

// The row's rectangle in the list's client coordinates, from messages that carry no
// pointer, so that they cross from process to process unchanged.
RECT RowRect(HWND list, int row)
{
    RECT client{};
    ::GetClientRect(list, &client);
    const auto height = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const auto top = static_cast<int>(::SendMessageW(list, LB_GETTOPINDEX, 0, 0));
    return {0, (row - top) * height, client.right, (row - top + 1) * height};
}

// Sent rather than posted, so that the click is over when the command ends.
void ClickRow(HWND list, int row, bool twice)
{
    const RECT rect = RowRect(list, row);
    const LPARAM where = MAKELPARAM(rect.right / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    ::SendMessageW(list, WM_LBUTTONUP, 0, where);
    if (twice) {
        // The double-click opens the open-file dialog: post it, or this would wait for it.
        ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        ::PostMessageW(list, WM_LBUTTONUP, 0, where);
    }
}

int PrintRowRect(HWND list, int row)
{
    const RECT rect = RowRect(list, row);
    POINT corner{rect.left, rect.top};
    ::ClientToScreen(list, &corner);
    std::printf("%ld %ld %ld %ld\n", corner.x, corner.y, rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

int PrintWindowRect(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    return 0;
}

int PressNamedKey(HWND window, const std::string& name)
{
    const std::pair<const char*, UINT> keys[] = {{"up", VK_UP}, {"down", VK_DOWN}, {"home", VK_HOME}, {"end", VK_END}};
    for (const auto& [keyName, key] : keys) {
        if (name == keyName) {
            PressKey(window, key);
            return 0;
        }
    }
    std::fprintf(stderr, "drive: unknown key: %s\n", name.c_str());
    return 2;
}

int AnswerFileDialog(const wchar_t* path)
{
    const HWND dialog = WaitForDialog(kFileDialogTitle, 20000);
    if (dialog == nullptr) {
        std::fprintf(stderr, "drive: the open-file dialog did not appear\n");
        return 1;
    }
    if (path != nullptr)
        ::SendMessageW(::GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    ::PostMessageW(::GetDlgItem(dialog, path != nullptr ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    if (!WaitUntilClosed(dialog)) {
        std::fprintf(stderr, "drive: the open-file dialog stayed open\n");
        return 1;
    }
    return 0;
}

int PrintUtf8(const wchar_t* text)
{
    char bytes[512] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
    std::printf("%s\n", bytes);
    return 0;
}

int PrintWindowRectOf(const wchar_t* caption, const char* what)
{
    const HWND window = WaitForDialog(caption, 20000);
    if (window == nullptr) {
        std::fprintf(stderr, "drive: the %s did not appear\n", what);
        return 1;
    }
    return PrintWindowRect(window);
}

int WaitForAboutToClose()
{
    for (int i = 0; i < 200; ++i) {
        if (::FindWindowW(L"#32770", kAboutCaption) == nullptr)
            return 0;
        ::Sleep(50);
    }
    std::fprintf(stderr, "drive: the About box stayed open\n");
    return 1;
}

int PrintAboutDate()
{
    const HWND about = WaitForDialog(kAboutCaption, 20000);
    if (about == nullptr) {
        std::fprintf(stderr, "drive: the About box did not appear\n");
        return 1;
    }
    wchar_t text[128] = {};
    ::GetDlgItemTextW(about, IDC_DATE, text, 128);
    return PrintUtf8(text);
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
    std::fprintf(stderr, "drive: no close box found\n");
    return 1;
}

int PrintButtonPoint(HWND button)
{
    RECT rect{};
    ::GetWindowRect(button, &rect);
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
}

int PrintKeyClass()
{
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"EUDC\\950", 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
        std::fprintf(stderr, "drive: no key EUDC\\950\n");
        return 1;
    }
    wchar_t keyClass[64] = {};
    DWORD length = 64;
    ::RegQueryInfoKeyW(key.get(), keyClass, &length, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
    return PrintUtf8(keyClass);
}

// The program's icon, drawn at a caption's size the way a caption draws it, so that a
// picture of the screen can be searched for it.
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

int PrintIconPixels(const char* program, int size, COLORREF background)
{
    const UniqueModule module(::LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const UniqueIcon icon(static_cast<HICON>(
        ::LoadImageW(module.get(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    if (!icon) {
        std::fprintf(stderr, "drive: no icon in %s\n", program);
        return 1;
    }
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

// The row of an unselected, unfocused font as the list shows it, put together from its
// parts: the list's colours, the picture without its top-left pixel's colour, the name
// 2 pixels after it and the link against the right edge, "no assigned" in light grey,
// both in the font a dialog makes of its template's "System", 12 points.
int PrintRowDrawnByHand(HWND list, const char* program, const char* name, const char* link)
{
    RECT row{};
    ::GetClientRect(list, &row);
    row.bottom = static_cast<LONG>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const UniqueModule module(::LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const GdiObject<HBITMAP> picture(static_cast<HBITMAP>(
        ::LoadImageW(module.get(), MAKEINTRESOURCEW(IDB_FONT_ITEM), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!picture) {
        std::fprintf(stderr, "drive: no item picture in %s\n", program);
        return 1;
    }
    const ClientDC screen = GetClientDC(nullptr);
    const MemoryDC dc(::CreateCompatibleDC(screen.get().dc));
    const GdiObject<HBITMAP> canvas(::CreateCompatibleBitmap(screen.get().dc, row.right, row.bottom));
    const Selection canvasSelected = Select(dc.get(), canvas.get());
    const GdiObject<HFONT> font(::CreateFontW(-::MulDiv(12, ::GetDeviceCaps(screen.get().dc, LOGPIXELSY), 72), 0, 0,
                                              0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                              PROOF_QUALITY, FF_DONTCARE, L"System"));
    const Selection fontSelected = Select(dc.get(), font.get());
    const GdiObject<HBRUSH> window(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW)));
    ::FillRect(dc.get(), &row, window.get());

    const MemoryDC pictureDc(::CreateCompatibleDC(screen.get().dc));
    const Selection pictureSelected = Select(pictureDc.get(), picture.get());
    BITMAP size{};
    ::GetObjectW(picture.get(), sizeof size, &size);
    const COLORREF transparent = ::GetPixel(pictureDc.get(), 0, 0);
    for (int y = 0; y < size.bmHeight; ++y)
        for (int x = 0; x < size.bmWidth; ++x)
            if (const COLORREF pixel = ::GetPixel(pictureDc.get(), x, y); pixel != transparent)
                ::SetPixel(dc.get(), x, y, pixel);

    RECT text = row;
    text.left = size.bmWidth + 2;
    ::SetBkMode(dc.get(), TRANSPARENT);
    ::SetTextColor(dc.get(), ::GetSysColor(COLOR_WINDOWTEXT));
    ::DrawTextA(dc.get(), name, -1, &text, DT_VCENTER | DT_NOPREFIX);
    if (std::string(link) == "no assigned")
        ::SetTextColor(dc.get(), RGB(192, 192, 192));
    ::DrawTextA(dc.get(), link, -1, &text, DT_RIGHT | DT_VCENTER | DT_NOPREFIX);
    PrintPixels(dc.get(), row.right, row.bottom);
    return 0;
}

// The list's own search, which crosses from process to process with its text. The C
// run-time gives the arguments in the ANSI code page.
int PrintRowOf(HWND list, const char* text)
{
    wchar_t wide[256] = {};
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 256);
    const auto row = ::SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide));
    if (row == LB_ERR) {
        std::fprintf(stderr, "drive: no row is %s\n", text);
        return 1;
    }
    std::printf("%ld\n", static_cast<long>(row));
    return 0;
}

BOOL CALLBACK FindMessageBox(HWND window, LPARAM search)
{
    auto& [owner, found] = *reinterpret_cast<std::pair<HWND, HWND>*>(search);
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (::GetWindow(window, GW_OWNER) == owner && std::wstring(className) == L"#32770" && ::IsWindowVisible(window) &&
        ::GetDlgItem(window, 0xFFFF) != nullptr) {  // the box's text
        found = window;
        return FALSE;
    }
    return TRUE;
}

int AnswerMessageBox(HWND owner)
{
    std::pair<HWND, HWND> search{owner, nullptr};
    for (int i = 0; i < 400 && search.second == nullptr; ++i) {
        ::EnumThreadWindows(::GetWindowThreadProcessId(owner, nullptr), FindMessageBox,
                            reinterpret_cast<LPARAM>(&search));
        if (search.second == nullptr)
            ::Sleep(50);
    }
    const HWND box = search.second;
    if (box == nullptr) {
        std::fprintf(stderr, "drive: no message box appeared\n");
        return 1;
    }
    wchar_t caption[128] = {};
    wchar_t text[512] = {};
    ::GetWindowTextW(box, caption, 128);
    ::GetDlgItemTextW(box, 0xFFFF, text, 512);
    ::PostMessageW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    const std::wstring line = std::wstring(caption) + L": " + text;
    return PrintUtf8(line.c_str()) || !WaitUntilClosed(box);
}

// An empty access list keeps everyone out; none at all lets everyone in. The key's owner
// may always change the list.
int SetKeyAccess(bool allowed)
{
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"EUDC\\950", 0, WRITE_DAC, key.put()) != ERROR_SUCCESS) {
        std::fprintf(stderr, "drive: cannot change the access list of EUDC\\950\n");
        return 1;
    }
    SECURITY_DESCRIPTOR security{};
    ::InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    ACL noOne{};
    ::InitializeAcl(&noOne, sizeof noOne, ACL_REVISION);
    ::SetSecurityDescriptorDacl(&security, TRUE, allowed ? nullptr : &noOne, FALSE);
    return ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &security) == ERROR_SUCCESS ? 0 : 1;
}

int Close(HWND window, const std::string& way)
{
    if (way == "close-button")
        ::PostMessageW(::GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    else if (way == "enter")
        PressKey(window, VK_RETURN);
    else if (way == "escape")
        PressKey(window, VK_ESCAPE);
    else if (way == "close-box")
        ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    else {
        std::fprintf(stderr, "drive: unknown way to close: %s\n", way.c_str());
        return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: drive COMMAND [ARGUMENT]; the commands are listed in Drive.cpp\n");
        return 2;
    }
    const std::string command = argv[1];
    if (command == "deny-key" || command == "allow-key")
        return SetKeyAccess(command == "allow-key");
    const DWORD timeout = command == "wait-main" && argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 20000;
    const HWND window = WaitForDialog(kMainCaption, timeout);
    if (window == nullptr) {
        std::fprintf(stderr, "drive: the main dialog did not appear\n");
        return 1;
    }
    if (command == "wait-main")
        return PrintWindowRect(window);
    const HWND list = ::GetDlgItem(window, IDC_FONT_LIST);
    const char* argument = argc > 2 ? argv[2] : nullptr;
    if (command == "close" && argument)
        return Close(window, argument);
    if (command == "press" && argument) {
        ::PostMessageW(::GetDlgItem(window, std::atoi(argument)), BM_CLICK, 0, 0);
        return 0;
    }
    if ((command == "click-row" || command == "double-click-row") && argument) {
        ClickRow(list, std::atoi(argument), command == "double-click-row");
        return 0;
    }
    if (command == "unselect") {
        ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return 0;
    }
    if (command == "row-rect" && argument)
        return PrintRowRect(list, std::atoi(argument));
    if (command == "list-rect")
        return PrintWindowRect(list);
    if (command == "key" && argument)
        return PressNamedKey(window, argument);
    if (command == "minimize" || command == "restore") {
        ::PostMessageW(window, WM_SYSCOMMAND, command == "minimize" ? SC_MINIMIZE : SC_RESTORE, 0);
        return 0;
    }
    if (command == "choose-file" && argument) {
        // Wine hands the arguments over in the ANSI code page.
        wchar_t path[MAX_PATH] = {};
        ::MultiByteToWideChar(CP_ACP, 0, argument, -1, path, MAX_PATH);
        return AnswerFileDialog(path);
    }
    if (command == "cancel-file")
        return AnswerFileDialog(nullptr);
    if (command == "no-file-dialog" && argument) {
        if (WaitForDialog(kFileDialogTitle, std::strtoul(argument, nullptr, 10)) == nullptr)
            return 0;
        std::fprintf(stderr, "drive: an open-file dialog opened\n");
        return 1;
    }
    if (command == "file-dialog-rect")
        return PrintWindowRectOf(kFileDialogTitle, "open-file dialog");
    if (command == "about-rect")
        return PrintWindowRectOf(kAboutCaption, "About box");
    if (command == "about-closed")
        return WaitForAboutToClose();
    if (command == "about-date")
        return PrintAboutDate();
    if (command == "close-box-point" && argument) {
        const HWND target = std::string(argument) == "about" ? WaitForDialog(kAboutCaption, 20000) : window;
        return target != nullptr ? PrintCloseBoxPoint(target) : 1;
    }
    if (command == "button-point" && argument) {
        const HWND owner = argc > 3 ? WaitForDialog(kAboutCaption, 20000) : window;
        return owner != nullptr ? PrintButtonPoint(::GetDlgItem(owner, std::atoi(argument))) : 1;
    }
    if (command == "focus") {
        std::printf("%d\n", ::GetDlgCtrlID(FocusOf(window)));
        return 0;
    }
    if (command == "selection") {
        std::printf("%d\n", static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0)));
        return 0;
    }
    if (command == "iconic") {
        std::printf("%d\n", ::IsIconic(window) ? 1 : 0);
        return 0;
    }
    if (command == "key-class")
        return PrintKeyClass();
    if (command == "icon-pixels" && argc > 6)
        return PrintIconPixels(argv[2], std::atoi(argv[3]),
                               RGB(std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])));
    if (command == "find-row" && argument)
        return PrintRowOf(list, argument);
    if (command == "draw-row" && argc > 4)
        return PrintRowDrawnByHand(list, argv[2], argv[3], argv[4]);
    if (command == "message")
        return AnswerMessageBox(window);
    std::fprintf(stderr, "drive: unknown command %s\n", command.c_str());
    return 2;
}
