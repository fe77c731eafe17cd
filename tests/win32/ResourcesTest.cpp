// The executable's resources, read back as the program loads them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "ItemPicture.h"
#include "platform/Strings.h"
#include "platform/win32/UniqueHandle.h"

#include "platform/win32/FrameworkResources.h"
#include "resource.h"

namespace {

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages)
{
    reinterpret_cast<std::vector<LANGID>*>(languages)->push_back(language);
    return TRUE;
}

const LANGID kTraditionalChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL);

std::pair<const BYTE*, DWORD> Resource(LPCSTR type, LPCSTR name)
{
    const HMODULE module = ::GetModuleHandleA(nullptr);
    const HRSRC found = ::FindResourceExA(module, type, name, kTraditionalChinese);
    if (found == nullptr)
        return {nullptr, 0};
    return {static_cast<const BYTE*>(::LockResource(::LoadResource(module, found))),
            ::SizeofResource(module, found)};
}

CString ResourceString(UINT id)
{
    char text[256] = {};
    const int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return CString(text, length);
}

// Reads a dialog template (DLGTEMPLATE and its items) as the dialog manager does.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* data) : m_data(data) {}
    DWORD Dword() { DWORD v; std::memcpy(&v, Advance(4), 4); return v; }
    WORD Word() { WORD v; std::memcpy(&v, Advance(2), 2); return v; }
    short Short() { return static_cast<short>(Word()); }
    // A string, or an ordinal written as "#n".
    std::wstring StringOrOrdinal()
    {
        const WORD first = Word();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Word());
        std::wstring text;
        for (WORD c = first; c != 0; c = Word())
            text += static_cast<wchar_t>(c);
        return text;
    }
    void AlignToDword() { m_offset = (m_offset + 3) & ~size_t(3); }

private:
    const BYTE* Advance(size_t n) { const BYTE* p = m_data + m_offset; m_offset += n; return p; }
    const BYTE* m_data;
    size_t m_offset = 0;
};

struct ItemTemplate {
    DWORD style;
    short x, y, cx, cy;
    short id;
    std::wstring className;
    std::wstring text;
    bool operator==(const ItemTemplate&) const = default;
};

struct DialogHeader {
    DWORD style, exStyle;
    short x, y, cx, cy;
    std::wstring menu, className, caption;
    WORD pointSize;
    std::wstring face;
    bool operator==(const DialogHeader&) const = default;
};

struct DialogTemplate {
    DialogHeader header;
    std::vector<ItemTemplate> items;
};

std::wstring ClassNameOf(std::wstring classOrAtom)
{
    if (classOrAtom == L"#128") return L"BUTTON";
    if (classOrAtom == L"#130") return L"STATIC";
    if (classOrAtom == L"#131") return L"LISTBOX";
    for (wchar_t& c : classOrAtom)
        c = std::towupper(c);
    return classOrAtom;
}

DialogTemplate ReadDialog(UINT id)
{
    const auto [data, size] = Resource(RT_DIALOG, MAKEINTRESOURCEA(id));
    if (data == nullptr || size == 0) {
        ADD_FAILURE() << "no dialog " << id << " in Chinese (Traditional)";
        return {};
    }
    TemplateReader in(data);
    DialogTemplate d{};
    DialogHeader& h = d.header;
    h.style = in.Dword();
    h.exStyle = in.Dword();
    const WORD count = in.Word();
    h.x = in.Short(); h.y = in.Short(); h.cx = in.Short(); h.cy = in.Short();
    h.menu = in.StringOrOrdinal();
    h.className = in.StringOrOrdinal();
    h.caption = in.StringOrOrdinal();
    h.pointSize = in.Word();
    h.face = in.StringOrOrdinal();
    for (WORD i = 0; i < count; ++i) {
        in.AlignToDword();
        ItemTemplate item{};
        item.style = in.Dword();
        EXPECT_EQ(in.Dword(), 0u) << "extended style of control " << i;
        item.x = in.Short(); item.y = in.Short(); item.cx = in.Short(); item.cy = in.Short();
        item.id = in.Short();
        item.className = ClassNameOf(in.StringOrOrdinal());
        item.text = in.StringOrOrdinal();
        const WORD extra = in.Word();
        for (WORD b = 0; b < extra; b += 2)
            in.Word();
        d.items.push_back(item);
    }
    return d;
}

}  // namespace

TEST(Resources, ItemBitmapIsTheTwoLettersOnRed)
{
    const GdiObject<HBITMAP> bitmap(::LoadBitmapA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_FONT_ITEM)));
    ASSERT_NE(bitmap.get(), nullptr);
    BITMAP info{};
    ::GetObjectA(bitmap.get(), sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 19);
    EXPECT_EQ(info.bmHeight, 12);

    const MemoryDC dc(::CreateCompatibleDC(nullptr));
    const Selection selected = Select(dc.get(), bitmap.get());
    for (int y = 0; y < kItemHeight; ++y)
        for (int x = 0; x < kItemWidth; ++x)
            EXPECT_EQ(::GetPixel(dc.get(), x, y), ItemColour(kItemRows[y][x])) << "pixel (" << x << ", " << y << ")";

    // Stored as 4 bits per pixel with the standard 16-colour palette.
    const auto [data, size] = Resource(RT_BITMAP, MAKEINTRESOURCEA(IDB_FONT_ITEM));
    ASSERT_GE(size, sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    EXPECT_EQ(header->biBitCount, 4);
    const auto* palette = reinterpret_cast<const RGBQUAD*>(data + header->biSize);
    const auto rgb = [&](int i) { return RGB(palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue); };
    EXPECT_EQ(rgb(8), RGB(128, 128, 128));
    EXPECT_EQ(rgb(9), RGB(255, 0, 0));
    EXPECT_EQ(rgb(12), RGB(0, 0, 255));
}

// 32 and 16 pixels at 96 DPI; 48, 64 and 24 for 150 and 200 percent.
TEST(Resources, IconHasAnImageForEachScaleIn16Colours)
{
    const auto [data, size] = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_GE(size, 6u);
    const WORD count = reinterpret_cast<const WORD*>(data)[2];
    std::vector<std::pair<int, int>> images;  // size, colours
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = data + 6 + 14 * i;  // GRPICONDIRENTRY
        images.emplace_back(entry[0], entry[2]);
    }
    EXPECT_EQ(images, (std::vector<std::pair<int, int>>{{32, 16}, {16, 16}, {48, 16}, {64, 16}, {24, 16}}));
}

TEST(Resources, StringTable)
{
    EXPECT_EQ(ResourceString(IDS_ABOUTBOX), "&About veltrane...");
    EXPECT_EQ(ResourceString(IDS_NO_ASSIGNED), "no assigned");
    EXPECT_EQ(ResourceString(IDS_FAILED_TO_LAUNCH_HELP), "Failed to launch help.");
    EXPECT_EQ(ResourceString(0xE000), "");  // no application title: the file name serves
}

TEST(Resources, MainDialogTemplate)
{
    const DialogTemplate d = ReadDialog(IDD_MAIN);
    EXPECT_EQ(d.header, (DialogHeader{0x10CA00C0, 0, 0, 0, 243, 122, L"", L"",
                                      L"Corvale Windows 95 外字集關聯程式 Version 1.0", 12, L"System"}));
    const std::vector<ItemTemplate> expected{
        {0x50010001, 185, 89, 42, 16, IDOK, L"BUTTON", L"關閉(&C)"},
        {0x50310053, 12, 15, 218, 66, IDC_FONT_LIST, L"LISTBOX", L""},
        {0x50000007, 4, 4, 230, 110, IDC_STATIC, L"BUTTON", L"指定對應外字集"},
        {0x50010000, 15, 89, 40, 16, IDC_MODIFY, L"BUTTON", L"修正...(&M)"},
        {0x50010000, 60, 89, 40, 16, IDC_REMOVE, L"BUTTON", L"移除(&R)"},
        {0x50010000, 140, 89, 40, 16, IDC_ABOUT, L"BUTTON", L"關於...(&A)"},
    };
    EXPECT_EQ(d.items, expected);
}

TEST(Resources, AboutBoxTemplate)
{
    const DialogTemplate d = ReadDialog(IDD_ABOUTBOX);
    EXPECT_EQ(d.header, (DialogHeader{0x80C800C0, 0, 200, 200, 217, 55, L"", L"", L"About veltrane",
                                      12, L"System"}));
    const std::vector<ItemTemplate> expected{
        {0x50000003, 8, 9, 18, 20, IDC_STATIC, L"STATIC", L"#128"},  // the icon IDR_MAINFRAME
        {0x50020000, 37, 12, 169, 15, IDC_STATIC, L"STATIC", L"Corvale Windows 95 外字集關聯程式 Version 1.0"},
        {0x50020000, 39, 26, 137, 9, IDC_STATIC, L"STATIC", L"(C) 2026 the veltrane developers"},
        {0x50030001, 178, 34, 32, 14, IDOK, L"BUTTON", L"關閉"},
        {0x50020000, 39, 38, 119, 9, IDC_DATE, L"STATIC", L"current month,year"},
    };
    EXPECT_EQ(d.items, expected);
}

TEST(Resources, VersionRecord)
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::vector<BYTE> block(::GetFileVersionInfoSizeA(path, nullptr));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(::GetFileVersionInfoA(path, 0, block.size(), block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwFileFlagsMask, 0x3Fu);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, 4u);
    EXPECT_EQ(fixed->dwFileType, 1u);
    EXPECT_EQ(fixed->dwFileSubtype, 0u);

    WORD* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    const auto value = [&](const char* key) {
        char* text = nullptr;
        UINT size = 0;
        const CString query = CString("\\StringFileInfo\\040904B0\\") + key;
        if (!::VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&text), &size))
            return CString("(missing)");
        return CString(text);
    };
    EXPECT_EQ(value("CompanyName"), "");
    EXPECT_EQ(value("FileDescription"), "VELTRANE MFC Application");
    EXPECT_EQ(value("FileVersion"), "1, 0, 0, 1");
    EXPECT_EQ(value("InternalName"), "VELTRANE");
    EXPECT_EQ(value("LegalTrademarks"), "");
    EXPECT_EQ(value("OriginalFilename"), "VELTRANE.EXE");
    EXPECT_EQ(value("ProductName"), "VELTRANE Application");
    EXPECT_EQ(value("ProductVersion"), "1, 0, 0, 1");
    EXPECT_NE(value("LegalCopyright"), "(missing)");
}

TEST(Resources, EveryResourceIsInChineseTraditional)
{
    const struct {
        LPCSTR type;
        UINT id;
    } resources[] = {
        {RT_DIALOG, IDD_ABOUTBOX}, {RT_DIALOG, IDD_MAIN},     {RT_DIALOG, IDD_CHARACTERS}, {RT_GROUP_ICON, IDR_MAINFRAME},
        {RT_BITMAP, IDB_FONT_ITEM}, {RT_VERSION, 1}, {RT_MANIFEST, 1},
        {RT_STRING, IDS_ABOUTBOX / 16 + 1}, {RT_STRING, IDS_NO_ASSIGNED / 16 + 1},
        {RT_STRING, IDS_FAILED_TO_LAUNCH_HELP / 16 + 1}, {RT_STRING, IDS_CHARACTERS / 16 + 1},
    };
    for (const auto& r : resources) {
        std::vector<LANGID> languages;
        ::EnumResourceLanguagesA(::GetModuleHandleA(nullptr), r.type, MAKEINTRESOURCEA(r.id), CollectLanguage,
                                 reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<LANGID>{kTraditionalChinese}) << "resource " << r.id;
    }
}
