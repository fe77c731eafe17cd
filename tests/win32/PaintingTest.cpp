// What the main dialog draws, pixel for pixel, on memory contexts of the real GDI: the
// item picture, whole rows and their selection and focus, and the frame around the list.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <set>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FileDoubles.h"
#include "ItemPicture.h"
#include "../shared/RowByHand.h"
#include "ModalScript.h"
#include "TestApp.h"
#include "platform/win32/UniqueHandle.h"
#include "resource.h"
#include "ui/CharacterGrid.h"
#include "ui/MaskedBitmap.h"
#include "ui/SunkenFrame.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// A 32-bit picture in a memory context, filled with one colour.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bitmapSelection = Select(m_dc.get(), m_bitmap.get());
        Fill(fill);
    }

    HDC Dc() const { return m_dc.get(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    RECT Rect() const { return {0, 0, m_width, m_height}; }

    void Fill(COLORREF colour) const
    {
        const GdiObject<HBRUSH> brush(::CreateSolidBrush(colour));
        const RECT all = Rect();
        ::FillRect(m_dc.get(), &all, brush.get());
    }
    // Text is drawn in `font` from now on.
    void SetFont(HFONT font)
    {
        m_font.reset();  // so that the context's own font is the one that goes back at the end
        m_font = Select(m_dc.get(), font);
    }
    COLORREF Pixel(int x, int y) const { return ::GetPixel(m_dc.get(), x, y); }
    std::vector<COLORREF> Pixels() const
    {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                pixels.push_back(Pixel(x, y));
        return pixels;
    }

private:
    int m_width;
    int m_height;
    MemoryDC m_dc{::CreateCompatibleDC(nullptr)};
    GdiObject<HBITMAP> m_bitmap;
    Selection m_bitmapSelection;
    Selection m_font;
};

// Empty when the pictures are equal, else how many pixels differ and where the first is.
std::string Differences(const std::vector<COLORREF>& actual, const std::vector<COLORREF>& expected, int width)
{
    if (actual.size() != expected.size())
        return "sizes differ";
    int count = 0;
    std::ostringstream first;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] == expected[i])
            continue;
        if (count++ == 0)
            first << std::hex << " first at (" << std::dec << i % width << ", " << i / width << "): 0x" << std::hex
                  << actual[i] << " instead of 0x" << expected[i];
    }
    return count == 0 ? std::string() : std::to_string(count) + " pixels differ;" + first.str();
}

// The item picture as its letters say, drawn pixel by pixel, red left out unless asked.
void PaintItemByHand(HDC dc, int left, int top, bool withRed = false)
{
    for (int y = 0; y < kItemHeight; ++y)
        for (int x = 0; x < kItemWidth; ++x)
            if (withRed || kItemRows[y][x] != 'R')
                ::SetPixel(dc, left + x, top + y, ItemColour(kItemRows[y][x]));
}

// A device-dependent bitmap, of the screen's kind, holding the canvas's pixels.
GdiObject<HBITMAP> DeviceBitmapOf(const Canvas& canvas)
{
    const ClientDC screen = GetClientDC(nullptr);
    GdiObject<HBITMAP> bitmap(::CreateCompatibleBitmap(screen.get().dc, canvas.Width(), canvas.Height()));
    const MemoryDC dc(::CreateCompatibleDC(nullptr));
    const Selection selected = Select(dc.get(), bitmap.get());
    ::BitBlt(dc.get(), 0, 0, canvas.Width(), canvas.Height(), canvas.Dc(), 0, 0, SRCCOPY);
    return bitmap;
}

bool CanSelectElsewhere(HGDIOBJ bitmap)
{
    const MemoryDC dc(::CreateCompatibleDC(nullptr));
    const Selection selected = Select(dc.get(), bitmap);
    return selected.get().other != nullptr;  // SelectObject gave what the bitmap replaced
}

// A masked bitmap of any picture.
class PictureBitmap : public CMaskedBitmap {
public:
    explicit PictureBitmap(GdiObject<HBITMAP> picture) { m_hObject = std::move(picture); }
};

class MaskedBitmapTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(item.LoadBitmap(::GetModuleHandleA(nullptr), IDB_FONT_ITEM)); }

    // The canvas after the item was drawn transparently at (5, 4).
    void ExpectItemOver(const Canvas& canvas, COLORREF background)
    {
        Canvas expected(canvas.Width(), canvas.Height(), background);
        PaintItemByHand(expected.Dc(), 5, 4);
        EXPECT_EQ(Differences(canvas.Pixels(), expected.Pixels(), canvas.Width()), "");
    }

    CMaskedBitmap item;
};

}  // namespace

TEST_F(MaskedBitmapTest, KnowsItsSizeBeforeAnyDraw)
{
    EXPECT_EQ(item.GetWidth(), kItemWidth);
    EXPECT_EQ(item.GetHeight(), kItemHeight);
}

TEST_F(MaskedBitmapTest, LeavesOutRedOverAnyBackgroundOnTargetsOfEveryKind)
{
    const Canvas white(30, 20, kWhite);
    item.DrawTransparent(white.Dc(), 5, 4);
    ExpectItemOver(white, kWhite);

    // A second target of another kind and colour: a device-dependent bitmap in teal.
    const Canvas teal(30, 20, RGB(0, 128, 128));
    {
        const GdiObject<HBITMAP> ddb = DeviceBitmapOf(teal);
        const MemoryDC ddbDc(::CreateCompatibleDC(nullptr));
        const Selection selected = Select(ddbDc.get(), ddb.get());
        item.DrawTransparent(ddbDc.get(), 5, 4);
        ::BitBlt(teal.Dc(), 0, 0, 30, 20, ddbDc.get(), 0, 0, SRCCOPY);
        ExpectItemOver(teal, RGB(0, 128, 128));
    }

    // Nothing was left selected in a context of the draws: a bitmap can be selected
    // into one context at a time.
    EXPECT_TRUE(CanSelectElsewhere(item.GetSafeHandle()));
}

TEST_F(MaskedBitmapTest, OpaqueDrawCopiesRedToo)
{
    const Canvas canvas(30, 20, kWhite);
    item.Draw(canvas.Dc(), 5, 4);
    const Canvas expected(30, 20, kWhite);
    PaintItemByHand(expected.Dc(), 5, 4, true);
    EXPECT_EQ(Differences(canvas.Pixels(), expected.Pixels(), 30), "");
}

TEST(MaskedBitmap, LeavesOutTheColourOfItsOwnTopLeftPixel)
{
    // Blue at (0, 0) and elsewhere; red and black are kept.
    const char* const rows[] = {"BRRB", "RBBK", "KRBB"};
    const Canvas source(4, 3, kWhite);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            ::SetPixel(source.Dc(), x, y, rows[y][x] == 'B' ? kBlue : rows[y][x] == 'R' ? kRed : kBlack);
    PictureBitmap bitmap(DeviceBitmapOf(source));
    const Canvas canvas(6, 5, kLightGrey);
    bitmap.DrawTransparent(canvas.Dc(), 1, 1);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 4;
            const char letter = inside ? rows[y - 1][x - 1] : 'B';
            const COLORREF expected = letter == 'B' ? kLightGrey : letter == 'R' ? kRed : kBlack;
            EXPECT_EQ(canvas.Pixel(x, y), expected) << "pixel (" << x << ", " << y << ")";
        }
    }
}

namespace {

// The frame's pixels for the rectangle (l, t)-(r, b); `untouched` where it draws none.
COLORREF FramePixel(int x, int y, const RECT& rect, COLORREF untouched)
{
    const auto [l, t, r, b] = rect;
    if ((y == t - 2 && x >= l - 2 && x <= r) || (x == l - 2 && y >= t - 1 && y <= b + 1))
        return kGrey;
    if ((y == t - 1 && x >= l - 1 && x <= r - 1) || (x == l - 1 && y >= t && y <= b))
        return kBlack;
    if ((x == r + 1 && y >= t - 2 && y <= b) || (y == b + 1 && x >= l - 1 && x <= r + 1))
        return kWhite;
    return untouched;
}

}  // namespace

TEST(SunkenFrame, DrawsItsTableAndLeavesTheContextAsItWas)
{
    const RECT list{10, 20, 110, 80};
    const Canvas canvas(130, 100, kLightGrey);
    const HDC dc = canvas.Dc();
    const GdiObject<HPEN> red(::CreatePen(PS_DASH, 1, kRed));
    const GdiObject<HBRUSH> hatch(::CreateHatchBrush(HS_CROSS, kBlue));
    const Selection pen = Select(dc, red.get());
    const Selection brush = Select(dc, hatch.get());

    const CDC frameDc(dc);
    DrawSunkenFrame(frameDc, list);
    std::vector<COLORREF> expected;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 130; ++x)
            expected.push_back(FramePixel(x, y, list, kLightGrey));
    EXPECT_EQ(Differences(canvas.Pixels(), expected, 130), "");
    // The corners as a user checks them; (110, 50) and (50, 80) are the light inner edge.
    EXPECT_EQ(canvas.Pixel(8, 18), kGrey);
    EXPECT_EQ(canvas.Pixel(9, 19), kBlack);
    EXPECT_EQ(canvas.Pixel(111, 18), kWhite);
    EXPECT_EQ(canvas.Pixel(111, 81), kWhite);
    EXPECT_EQ(canvas.Pixel(9, 80), kBlack);
    EXPECT_EQ(canvas.Pixel(9, 81), kWhite);
    EXPECT_EQ(canvas.Pixel(8, 81), kGrey);
    EXPECT_EQ(canvas.Pixel(110, 50), kLightGrey);
    EXPECT_EQ(canvas.Pixel(50, 80), kLightGrey);

    EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), red.get());
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), hatch.get());
    POINT position{};
    ::GetCurrentPositionEx(dc, &position);
    EXPECT_EQ(position.x, 0);
    EXPECT_EQ(position.y, 0);

    DrawSunkenFrame(frameDc, list);
    EXPECT_EQ(Differences(canvas.Pixels(), expected, 130), "") << "drawn twice";
}

namespace {

constexpr char kLinkKey[] = "EUDC\\950";
constexpr char kLinkedFont[] = "AR PL UMing TW";
constexpr char kLinkedFile[] = "C:\\eudc\\TW.TTE";
// Linked to a file that is not there.
constexpr char kBrokenFont[] = "AR PL UMing CN";

// Rows of the real main dialog, drawn on a canvas shaped like one row of its list.
class ListRowTest : public testing::Test {
protected:
    // The installed fonts and the prefix's files, or those given.
    explicit ListRowTest(FontSource* fonts = nullptr, Files* files = nullptr) : test(fonts, files) {}

    void SetUp() override
    {
        ::CreateDirectoryA("C:\\eudc", nullptr);
        const UniqueFile file(::CreateFileA(kLinkedFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        const std::string font = EudcFont();
        DWORD written = 0;
        ::WriteFile(file.get(), font.data(), static_cast<DWORD>(font.size()), &written, nullptr);
        const char gone[] = "C:\\eudc\\GONE.TTE";
        ::RegSetKeyValueA(HKEY_CURRENT_USER, kLinkKey, kLinkedFont, REG_SZ, kLinkedFile, sizeof kLinkedFile);
        ::RegSetKeyValueA(HKEY_CURRENT_USER, kLinkKey, kBrokenFont, REG_SZ, gone, sizeof gone);
    }
    void TearDown() override
    {
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kLinkKey, kLinkedFont);
        ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kLinkKey, kBrokenFont);
        ::DeleteFileA(kLinkedFile);
    }

    // Runs `check` with the dialog open and its links checked, then closes it.
    void WithDialogOpen(const std::function<void()>& check)
    {
        RunModalScript(dialog, {
            [&] {
                list = ::GetDlgItem(dialog.m_hWnd, IDC_FONT_LIST);
                RECT client{};
                ::GetClientRect(list, &client);
                rowWidth = client.right;
                rowHeight = static_cast<int>(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
            },
            RepeatUntil("the links to be checked", [&] { return AllLinksChecked(list); }),
            [&] {
                check();
                ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
            },
        });
    }

    int RowOf(const char* font) const
    {
        return static_cast<int>(::SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                               reinterpret_cast<LPARAM>(font)));
    }

    // A row's canvas as the list hands it over: its font and colours.
    std::unique_ptr<Canvas> RowCanvas() const
    {
        auto canvas = std::make_unique<Canvas>(rowWidth, rowHeight, kBlack);
        canvas->SetFont(reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        ::SetBkColor(canvas->Dc(), ::GetSysColor(COLOR_WINDOW));
        ::SetTextColor(canvas->Dc(), ::GetSysColor(COLOR_WINDOWTEXT));
        return canvas;
    }

    void AskDialogToDraw(const Canvas& canvas, int row, UINT action, UINT state) const
    {
        DRAWITEMSTRUCT item{ODT_LISTBOX, IDC_FONT_LIST, static_cast<UINT>(row), action, state, list, canvas.Dc(),
                            canvas.Rect(), 0};
        ::SendMessageA(dialog.m_hWnd, WM_DRAWITEM, IDC_FONT_LIST, reinterpret_cast<LPARAM>(&item));
    }

    std::vector<COLORREF> DrawnByDialog(int row, UINT state) const
    {
        const auto canvas = RowCanvas();
        AskDialogToDraw(*canvas, row, ODA_DRAWENTIRE, state);
        EXPECT_EQ(::GetTextColor(canvas->Dc()), ::GetSysColor(COLOR_WINDOWTEXT)) << "text colour restored";
        return canvas->Pixels();
    }

    // The row as it should look, put together from its parts.
    std::vector<COLORREF> DrawnByHand(const RowByHand& row) const
    {
        const auto canvas = RowCanvas();
        const GdiObject<HBITMAP> picture(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_FONT_ITEM)));
        DrawRowByHand(canvas->Dc(), canvas->Rect(), picture.get(), row);
        return canvas->Pixels();
    }

    TestApp test;
    CFontLinkDlg dialog = test.app.MainDialog();
    HWND list = nullptr;
    int rowWidth = 0;
    int rowHeight = 0;
};

// "系統預設外字集" in code page 950.
constexpr char kSystemDefaultLabel[] = "\xA8\x74\xB2\xCE\xB9\x77\xB3\x5D\xA5\x7E\xA6\x72\xB6\xB0";

}  // namespace

TEST_F(ListRowTest, RowsLookAsPutTogetherByHandInEveryState)
{
    WithDialogOpen([&] {
        const int linked = RowOf(kLinkedFont);
        const int broken = RowOf(kBrokenFont);
        const int unlinked = RowOf("AR PL UMing HK");
        ASSERT_GT(linked, 0);
        ASSERT_GT(broken, 0);
        ASSERT_GT(unlinked, 0);
        char missing[64] = {};
        ::LoadStringA(::GetModuleHandleA(nullptr), IDS_MISSING_FILE, missing, sizeof missing);
        const std::string brokenLink = std::string("GONE.TTE") + missing;
        const struct {
            int row;
            const char* name;
            const char* link;
            bool hasLink;
            bool broken;
        } rows[] = {
            {0, kSystemDefaultLabel, "no assigned", false, false},
            {linked, kLinkedFont, "TW.TTE", true, false},
            {broken, kBrokenFont, brokenLink.c_str(), true, true},
            {unlinked, "AR PL UMing HK", "no assigned", false, false},
        };
        for (const auto& r : rows) {
            for (UINT state : {0u, UINT(ODS_SELECTED), UINT(ODS_FOCUS), UINT(ODS_SELECTED | ODS_FOCUS)}) {
                SCOPED_TRACE(testing::Message() << "row " << r.row << ", state " << state);
                EXPECT_EQ(Differences(DrawnByDialog(r.row, state), DrawnByHand({r.name, r.link, r.hasLink, state, r.broken}),
                                      rowWidth),
                          "");
            }
        }

        // Selection inverts every pixel, the grey text included.
        const std::vector<COLORREF> plain = DrawnByDialog(unlinked, 0);
        const std::vector<COLORREF> selected = DrawnByDialog(unlinked, ODS_SELECTED);
        std::vector<COLORREF> inverted;
        for (COLORREF pixel : plain)
            inverted.push_back(pixel ^ 0xFFFFFF);
        EXPECT_EQ(Differences(selected, inverted, rowWidth), "");
        EXPECT_NE(std::count(plain.begin(), plain.end(), kLightGrey), 0) << "the grey text";
    });
}

// A row is cleared in whatever background colour the list has set, and its picture
// leaves that colour where the picture is red, from one colour to the next.
TEST_F(ListRowTest, ThePictureLeavesOutRedOverEachBackgroundTheListSets)
{
    WithDialogOpen([&] {
        for (const COLORREF background : {::GetSysColor(COLOR_WINDOW), RGB(0, 128, 128), ::GetSysColor(COLOR_WINDOW)}) {
            const auto canvas = RowCanvas();
            ::SetBkColor(canvas->Dc(), background);
            AskDialogToDraw(*canvas, 0, ODA_DRAWENTIRE, 0);
            for (int y = 0; y < kItemHeight; ++y)
                for (int x = 0; x < kItemWidth; ++x)
                    EXPECT_EQ(canvas->Pixel(x, y), kItemRows[y][x] == 'R' ? background : ItemColour(kItemRows[y][x]))
                        << "pixel (" << x << ", " << y << ") over 0x" << std::hex << background;
        }
    });
}

TEST_F(ListRowTest, SelectionAndFocusChangesToggleTheRow)
{
    WithDialogOpen([&] {
        const int row = RowOf(kLinkedFont);
        const auto canvas = RowCanvas();
        AskDialogToDraw(*canvas, row, ODA_DRAWENTIRE, 0);
        const std::vector<COLORREF> start = canvas->Pixels();

        AskDialogToDraw(*canvas, row, ODA_SELECT, ODS_SELECTED);
        EXPECT_EQ(Differences(canvas->Pixels(), DrawnByDialog(row, ODS_SELECTED), rowWidth), "") << "selected";
        AskDialogToDraw(*canvas, row, ODA_SELECT, 0);
        EXPECT_EQ(Differences(canvas->Pixels(), start, rowWidth), "") << "deselected";
        AskDialogToDraw(*canvas, row, ODA_SELECT, ODS_SELECTED);
        AskDialogToDraw(*canvas, row, ODA_SELECT, 0);
        EXPECT_EQ(Differences(canvas->Pixels(), start, rowWidth), "") << "selected and deselected again";

        AskDialogToDraw(*canvas, row, ODA_FOCUS, ODS_FOCUS);
        EXPECT_EQ(Differences(canvas->Pixels(), DrawnByDialog(row, ODS_FOCUS), rowWidth), "") << "focused";
        AskDialogToDraw(*canvas, row, ODA_FOCUS, 0);
        EXPECT_EQ(Differences(canvas->Pixels(), start, rowWidth), "") << "focus gone";

        // Requests of no known kind, and rows that are not in the list, draw nothing.
        AskDialogToDraw(*canvas, row, 0, ODS_SELECTED);
        AskDialogToDraw(*canvas, row, 8, ODS_SELECTED);
        AskDialogToDraw(*canvas, static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0)), ODA_DRAWENTIRE,
                        ODS_SELECTED);
        AskDialogToDraw(*canvas, -1, ODA_DRAWENTIRE, ODS_SELECTED);
        EXPECT_EQ(Differences(canvas->Pixels(), start, rowWidth), "");
    });
}

// An ampersand in a font's name or in a file's name is drawn as it is, not taken for a
// mnemonic that would hide it and underline the next letter.
class AmpersandFont : public FontSource {
public:
    void EnumerateFamilies(const FontVisitor& visit) override
    {
        visit({"A&B&&C", fonts::kBig5CharSet, fonts::kTrueType});
    }
    void EnumerateFamily(const CString&, const FontVisitor&) override {}
};
AmpersandFont ampersandFont;

class AmpersandRowTest : public ListRowTest {
protected:
    AmpersandRowTest() : ListRowTest(&ampersandFont, &files) {}
    static inline EveryFileAFont files;
};

TEST_F(AmpersandRowTest, AmpersandsAreDrawnAsTheyAre)
{
    const char path[] = "C:\\eudc\\X&Y.TTE";
    ::RegSetKeyValueA(HKEY_CURRENT_USER, "EUDC\\950", "A&B&&C", REG_SZ, path, sizeof path);
    WithDialogOpen([&] {
        EXPECT_EQ(Differences(DrawnByDialog(RowOf("A&B&&C"), 0), DrawnByHand({"A&B&&C", "X&Y.TTE", true}), rowWidth),
                  "");
    });
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, "EUDC\\950", "A&B&&C");
}

namespace {

// High contrast as the dialogs are told of it. Wine 8 always reports it off and refuses
// SPI_SETHIGHCONTRAST, so the tests tell the dialogs through their context.
bool g_highContrast = false;
bool ReportedHighContrast()
{
    return g_highContrast;
}

// A black-background scheme, as high contrast brings, with every colour distinct so that a
// pixel tells which one it is, and high contrast reported on; all as before at the end.
class HighContrastScheme {
public:
    explicit HighContrastScheme(DialogContext& context) : m_context(context), m_query(context.highContrast)
    {
        for (std::size_t i = 0; i < std::size(kElements); ++i)
            m_kept[i] = ::GetSysColor(kElements[i]);
        ::SetSysColors(static_cast<int>(std::size(kElements)), kElements, kScheme);
        context.highContrast = &ReportedHighContrast;
        g_highContrast = true;
    }
    ~HighContrastScheme()
    {
        g_highContrast = false;
        m_context.highContrast = m_query;
        ::SetSysColors(static_cast<int>(std::size(kElements)), kElements, m_kept);
    }
    HighContrastScheme(const HighContrastScheme&) = delete;
    HighContrastScheme& operator=(const HighContrastScheme&) = delete;

    static constexpr int kElements[] = {COLOR_WINDOW,    COLOR_WINDOWTEXT,    COLOR_GRAYTEXT,
                                        COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_3DFACE};
    static constexpr COLORREF kScheme[] = {RGB(0, 0, 0),     RGB(255, 255, 255), RGB(63, 242, 63),
                                           RGB(26, 235, 255), RGB(96, 0, 96),    RGB(32, 32, 32)};

private:
    DialogContext& m_context;
    bool (*m_query)();
    COLORREF m_kept[std::size(kElements)] = {};
};

// Whether `pixel` is `ink` on `paper` as text smoothing may leave it at a glyph's edge:
// each channel between the two, and channels that go between the same two values equal, so
// that a grey between black and white passes and red does not.
bool IsSmoothed(COLORREF pixel, COLORREF paper, COLORREF ink)
{
    const auto channels = [](COLORREF colour) {
        return std::array<int, 3>{GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    };
    const auto out = channels(pixel), from = channels(paper), to = channels(ink);
    for (std::size_t c = 0; c < 3; ++c) {
        if (out[c] < std::min(from[c], to[c]) || out[c] > std::max(from[c], to[c]))
            return false;
        for (std::size_t d = 0; d < c; ++d)
            if (from[c] == from[d] && to[c] == to[d] && out[c] != out[d])
                return false;
    }
    return true;
}

// What is not `paper` in a row, apart from the item picture: its texts' pixels.
std::vector<bool> InkOf(const std::vector<COLORREF>& pixels, int width, COLORREF paper)
{
    std::vector<bool> ink;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const bool inPicture = static_cast<int>(i % width) < kItemWidth && static_cast<int>(i / width) < kItemHeight;
        ink.push_back(!inPicture && pixels[i] != paper);
    }
    return ink;
}

}  // namespace

// Under high contrast a row is the system's colours alone, its texts smoothed between
// them, its picture over them: the window's for a row, the selection's for the selected
// one. A link that cannot work keeps its words where they were, and no red.
TEST_F(ListRowTest, UnderHighContrastRowsTakeOnlyTheSystemsColours)
{
    const HighContrastScheme scheme(test.app.m_dialogs);
    WithDialogOpen([&] {
        const COLORREF window = ::GetSysColor(COLOR_WINDOW);
        const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
        const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
        const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
        const COLORREF highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        const int unlinked = RowOf("AR PL UMing HK");
        for (const int row : {0, RowOf(kLinkedFont), RowOf(kBrokenFont), unlinked}) {
            // Drawn as the program always drew it, on the list's colours: the texts' shape.
            g_highContrast = false;
            const std::vector<bool> words = InkOf(DrawnByDialog(row, 0), rowWidth, window);
            g_highContrast = true;
            std::map<UINT, std::vector<COLORREF>> drawn;
            for (UINT state : {0u, UINT(ODS_SELECTED), UINT(ODS_FOCUS), UINT(ODS_SELECTED | ODS_FOCUS)}) {
                SCOPED_TRACE(testing::Message() << "row " << row << ", state " << state);
                const bool selected = (state & ODS_SELECTED) != 0;
                const COLORREF paper = selected ? highlight : window;
                const COLORREF ink = selected ? highlightText : text;
                const std::set<COLORREF> inks = selected ? std::set{highlightText} : std::set{text, grey};
                // Whatever colours the list has set are not the row's.
                const auto canvas = RowCanvas();
                ::SetBkColor(canvas->Dc(), RGB(0, 128, 128));
                ::SetTextColor(canvas->Dc(), RGB(192, 0, 0));
                AskDialogToDraw(*canvas, row, ODA_DRAWENTIRE, state);
                const std::vector<COLORREF> pixels = canvas->Pixels();

                int strange = 0;
                std::set<COLORREF> seen;
                for (int y = 0; y < rowHeight; ++y) {
                    for (int x = 0; x < rowWidth; ++x) {
                        const COLORREF pixel = pixels[static_cast<std::size_t>(y * rowWidth + x)];
                        const bool edge = x == 0 || y == 0 || x == rowWidth - 1 || y == rowHeight - 1;
                        if ((state & ODS_FOCUS) && edge)
                            continue;  // compared below with the row without the focus
                        if (x < kItemWidth && y < kItemHeight) {
                            const char letter = kItemRows[y][x];
                            strange += pixel != (letter == 'R' ? paper : ItemColour(letter));
                        } else {
                            strange += std::none_of(inks.begin(), inks.end(),
                                                    [&](COLORREF ink) { return IsSmoothed(pixel, paper, ink); });
                            seen.insert(pixel);
                        }
                    }
                }
                EXPECT_EQ(strange, 0) << "pixels of no system colour, or a picture not over the row's paper";
                EXPECT_TRUE(seen.count(ink)) << "the texts";
                EXPECT_EQ(seen.count(grey) != 0, row == 0 || row == unlinked ? !selected : false) << "no assigned";
                drawn[state] = pixels;
                if (state & ODS_FOCUS) {
                    // Dotted along the row's edge in the text's colour, the rest as without it.
                    const std::vector<COLORREF>& unfocused = drawn[state & ~UINT(ODS_FOCUS)];
                    int dots = 0, elsewhere = 0;
                    for (std::size_t i = 0; i < pixels.size(); ++i) {
                        const int x = static_cast<int>(i) % rowWidth, y = static_cast<int>(i) / rowWidth;
                        const bool edge = x == 0 || y == 0 || x == rowWidth - 1 || y == rowHeight - 1;
                        if (pixels[i] == unfocused[i])
                            continue;
                        if (edge && pixels[i] == ink)
                            ++dots;
                        else
                            ++elsewhere;
                    }
                    EXPECT_GT(dots, rowWidth / 2) << "the focus";
                    EXPECT_EQ(elsewhere, 0) << "pixels the focus should not change";
                }
                if (state == 0) {
                    EXPECT_TRUE(InkOf(pixels, rowWidth, paper) == words) << "the same words in the same places";
                }

                // A change of selection or focus alone leaves what a whole draw does.
                const auto changed = RowCanvas();
                AskDialogToDraw(*changed, row, (state & ODS_FOCUS) ? ODA_FOCUS : ODA_SELECT, state);
                EXPECT_EQ(Differences(changed->Pixels(), pixels, rowWidth), "") << "drawn on its own change";
            }
        }
    });
}

// A scheme chosen while the window is open shows at once: the window and its list are
// painted again on either of the system's messages, and its surface takes the system's
// colours while high contrast is on.
TEST_F(ListRowTest, TheWindowFollowsTheSystemsColoursWhileOpen)
{
    const HighContrastScheme scheme(test.app.m_dialogs);
    WithDialogOpen([&] {
        const auto waitingToPaint = [&] {
            RECT update{};
            return ::GetUpdateRect(list, &update, FALSE) != FALSE;
        };
        const auto validate = [&] { ::RedrawWindow(dialog.m_hWnd, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN); };
        validate();
        ::SendMessageA(dialog.m_hWnd, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
        EXPECT_FALSE(waitingToPaint()) << "another setting";
        ::SendMessageA(dialog.m_hWnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_TRUE(waitingToPaint()) << "high contrast turned on or off";
        validate();
        ::SendMessageA(dialog.m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
        EXPECT_TRUE(waitingToPaint()) << "a colour changed";

        const Canvas surface(4, 4, kBlack);
        const auto brushFor = [&] {
            return reinterpret_cast<HBRUSH>(::SendMessageA(dialog.m_hWnd, WM_CTLCOLORDLG,
                                                           reinterpret_cast<WPARAM>(surface.Dc()),
                                                           reinterpret_cast<LPARAM>(dialog.m_hWnd)));
        };
        EXPECT_EQ(brushFor(), ::GetSysColorBrush(COLOR_3DFACE));
        EXPECT_EQ(::GetBkColor(surface.Dc()), ::GetSysColor(COLOR_3DFACE));
        g_highContrast = false;
        EXPECT_EQ(brushFor(), test.app.m_dialogs.colours.brush.get()) << "the program's own grey";
        EXPECT_EQ(::GetBkColor(surface.Dc()), kLightGrey);
    });
}

// The character view's cells under high contrast: paper, ink and lines of the system's
// scheme, the selected cell in its selection colours, the dialog's surface where no cell
// is; without it, as they always were.
TEST(CharacterGridPainting, CellsTakeTheSystemsColoursUnderHighContrastOnly)
{
    DialogContext context;
    const HighContrastScheme scheme(context);
    CharacterGrid::Register(::GetModuleHandleA(nullptr));
    const chart::Geometry& geometry = chart::kPrintedGeometry;
    CharacterGrid grid(geometry, context.highContrast);  // outlives its window
    const UniqueHandle<HWND, ::DestroyWindow> window(::CreateWindowA(CharacterGrid::kClassName, "",
                                                                     WS_POPUP | WS_VSCROLL, 0, 0, 100, 100, nullptr,
                                                                     nullptr, ::GetModuleHandleA(nullptr), nullptr));
    const GdiObject<HFONT> font(::CreateFontA(-geometry.glyph, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                              NONANTIALIASED_QUALITY, 0, kLinkedFont));
    const std::u32string characters = U"ABCDEFGHIJKLMNOPQRS";  // a row and 3 cells of the next
    grid.Attach(window.get(), characters, font.get(), 2);
    grid.Select(1);

    const auto print = [&] {
        const Canvas canvas(geometry.Width(), 2 * geometry.cell, kRed);
        ::SendMessageA(window.get(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
        return canvas.Pixels();
    };
    // The colours of the cell `index`, its grid lines included.
    const auto coloursOf = [&](const std::vector<COLORREF>& pixels, std::size_t index) {
        const RECT cell = geometry.CellRect(index, 0);
        std::set<COLORREF> colours;
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x)
                colours.insert(pixels[static_cast<std::size_t>(y * geometry.Width() + x)]);
        return colours;
    };
    const COLORREF paper = ::GetSysColor(COLOR_WINDOW);
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF highlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);

    std::vector<COLORREF> pixels = print();
    EXPECT_EQ(coloursOf(pixels, 0), (std::set{paper, text, grey}));
    EXPECT_EQ(coloursOf(pixels, 1), (std::set{highlight, highlightText, grey}));
    EXPECT_EQ(coloursOf(pixels, 31), (std::set{::GetSysColor(COLOR_3DFACE)})) << "past the last character";

    g_highContrast = false;
    pixels = print();
    EXPECT_EQ(coloursOf(pixels, 0), (std::set{chart::kPaper, chart::kInk, chart::kLine}));
    EXPECT_EQ(coloursOf(pixels, 1), (std::set{highlight, highlightText, chart::kLine}));
    EXPECT_EQ(coloursOf(pixels, 31), (std::set{chart::kEmpty}));
}
