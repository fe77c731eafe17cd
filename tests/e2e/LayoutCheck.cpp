#include "LayoutCheck.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The item picture's blue letter, 8 by 9 pixels at 96 DPI, and the grid's cell.
constexpr COLORREF kPictureBlue = RGB(0, 0, 255);
constexpr SIZE kPictureLetter{8, 9};
constexpr int kPictureHeight = 12;
constexpr int kCell = 36;
constexpr int kColumns = 16;

int ScreenDpi()
{
    const ClientDC screen = GetClientDC(nullptr);
    return ::GetDeviceCaps(screen.get().dc, LOGPIXELSY);
}

int Scaled(int pixels)
{
    return ::MulDiv(pixels, ScreenDpi(), 96);
}

std::string Utf8(const std::wstring& text)
{
    std::string bytes(static_cast<std::size_t>(text.size()) * 3, '\0');
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(),
                                             static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<std::size_t>(std::max(length, 0)));
    return bytes;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

// A control by its class and text, for the messages.
std::string Named(HWND control)
{
    return Utf8(ClassOf(control)) + " \"" + Utf8(TextOf(control)) + "\"";
}

// The rectangle of `window` in its parent's client coordinates.
RECT PlaceOf(HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::vector<HWND> VisibleControls(HWND dialog)
{
    std::vector<HWND> controls;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::IsWindowVisible(child))
            controls.push_back(child);
    }
    return controls;
}

// The size `text` takes in the dialog's font: on one line, or wrapped at `width`.
SIZE TextSize(const std::wstring& text, int width, bool wraps)
{
    const ClientDC screen = GetClientDC(nullptr);
    const GdiObject<HFONT> font = DialogFont();
    const Selection selected = Select(screen.get().dc, font.get());
    RECT rect{0, 0, width, 0};
    ::DrawTextW(screen.get().dc, text.c_str(), -1, &rect, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    return {rect.right, rect.bottom};
}

// A push button or group box needs room for its text and its edges; a static, for its
// text as it wraps it.
void CheckText(HWND control, std::vector<std::string>& problems)
{
    const std::wstring text = TextOf(control);
    if (text.empty())
        return;
    RECT client{};
    ::GetClientRect(control, &client);
    const auto style = static_cast<DWORD>(::GetWindowLongW(control, GWL_STYLE));
    const std::wstring kind = ClassOf(control);
    SIZE room{client.right, client.bottom};
    bool wraps = false;
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
        const int edges = 2 * Scaled(3);
        room.cx -= edges;
        if ((style & BS_TYPEMASK) != BS_GROUPBOX)
            room.cy -= edges;
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
        const DWORD type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT)
            return;
        wraps = true;
    } else {
        return;
    }
    const SIZE needed = TextSize(text, room.cx, wraps);
    if (needed.cx > room.cx || needed.cy > room.cy) {
        problems.push_back(Named(control) + " needs " + std::to_string(needed.cx) + "x" + std::to_string(needed.cy) +
                           " pixels and has " + std::to_string(room.cx) + "x" + std::to_string(room.cy));
    }
}

// The bounding box of the pixels of `colour` in `rect` of the screen.
RECT BoxOf(COLORREF colour, const RECT& rect)
{
    const ClientDC screen = GetClientDC(nullptr);
    RECT box{rect.right, rect.bottom, rect.left, rect.top};
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        for (LONG x = rect.left; x < rect.right; ++x) {
            if (::GetPixel(screen.get().dc, x, y) != colour)
                continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
        }
    }
    return box;
}

// Rows at least as high as their text and their picture; the picture, in the second row
// (neither selected nor focused), grown as the text has, give or take a pixel.
void CheckRows(HWND list, std::vector<std::string>& problems)
{
    const int height = static_cast<int>(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    const SIZE text = TextSize(L"\x5916", 1000, false);
    if (height < text.cy || height < Scaled(kPictureHeight))
        problems.push_back("rows are " + std::to_string(height) + " pixels high, text " + std::to_string(text.cy));
    RECT row{};
    if (::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)) == LB_ERR)
        return;
    ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
    row.right = row.left + Scaled(2 * kPictureHeight);
    const RECT letter = BoxOf(kPictureBlue, row);
    const int width = letter.right - letter.left;
    const int high = letter.bottom - letter.top;
    if (std::abs(width - Scaled(kPictureLetter.cx)) > 1 || std::abs(high - Scaled(kPictureLetter.cy)) > 1) {
        problems.push_back("the item picture's letter is " + std::to_string(width) + "x" + std::to_string(high) +
                           " pixels, not " + std::to_string(Scaled(kPictureLetter.cx)) + "x" +
                           std::to_string(Scaled(kPictureLetter.cy)));
    }
}

// Sixteen whole cells across, each grown as the text has.
void CheckGrid(HWND grid, std::vector<std::string>& problems)
{
    RECT client{};
    ::GetClientRect(grid, &client);
    if (client.right != kColumns * Scaled(kCell)) {
        problems.push_back("the grid is " + std::to_string(client.right) + " pixels wide, not 16 cells of " +
                           std::to_string(Scaled(kCell)));
    }
}

}  // namespace

GdiObject<HFONT> DialogFont()
{
    return GdiObject<HFONT>(::CreateFontW(-::MulDiv(12, ScreenDpi(), 72), 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                                          DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, FF_DONTCARE, L"System"));
}

std::vector<std::string> LayoutProblems(HWND dialog)
{
    std::vector<std::string> problems;
    RECT client{};
    ::GetClientRect(dialog, &client);
    const std::vector<HWND> controls = VisibleControls(dialog);
    for (const HWND control : controls) {
        const RECT place = PlaceOf(control);
        if (!Contains(client, place))
            problems.push_back(Named(control) + " is not inside the dialog");
        // A group box holds what lies within it; anything else overlaps.
        for (const HWND other : controls) {
            RECT common{};
            const RECT otherPlace = PlaceOf(other);
            if (other < control && ::IntersectRect(&common, &place, &otherPlace) && !Contains(place, otherPlace) &&
                !Contains(otherPlace, place))
                problems.push_back(std::min(Named(control), Named(other)) + " overlaps " +
                                   std::max(Named(control), Named(other)));
        }
        CheckText(control, problems);
        const std::wstring kind = ClassOf(control);
        if (_wcsicmp(kind.c_str(), L"ListBox") == 0)
            CheckRows(control, problems);
        else if (kind == L"VeltraneCharacterGrid")
            CheckGrid(control, problems);
    }
    return problems;
}
