// The links against the real registry of the test prefix, the real graphics library and
// the real open-file dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "model/FontLinks.h"
#include "model/LinkKey.h"
#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/EudcFileDialog.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32FontSource.h"
#include "platform/win32/Win32Libraries.h"
#include "platform/win32/Win32Registry.h"

namespace {

constexpr char kKey[] = "EUDC\\950";

void DeleteLinkKey()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
}

void WriteValue(const std::string& name, DWORD type, const std::string& data)
{
    UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExA(key.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                               static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
}

struct ValueRead {
    bool exists = false;
    std::string name;  // as the registry enumerates it
    DWORD type = 0;
    std::string data;
};

ValueRead ReadValue(const std::string& name)
{
    ValueRead value;
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return value;
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &value.type, reinterpret_cast<BYTE*>(buffer), &size) ==
        ERROR_SUCCESS) {
        value.exists = true;
        value.data.assign(buffer, size);
        for (DWORD i = 0;; ++i) {
            char found[400];
            DWORD length = sizeof found;
            if (::RegEnumValueA(key.get(), i, found, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (::lstrcmpiA(found, name.c_str()) == 0)
                value.name = found;
        }
    }
    return value;
}

// The main dialog as the commands see it, recording its messages.
class RecordingWindow : public LinkWindow {
public:
    int selectedRow = 0;
    std::string chosenPath;
    std::vector<std::string> messages;

    int GetSelectedRow() const override { return selectedRow; }
    bool ChooseEudcFile(CString& path) override
    {
        path = chosenPath;
        return true;
    }
    void ShowMessage(const char* text) override { messages.push_back(text); }
    void RepaintAll() override {}
    void KeyWritten() override {}
};

// The window's model on the real ports, with the fonts that the prefix has.
class RealRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteLinkKey();
        links.BuildFontList();
    }
    void TearDown() override { DeleteLinkKey(); }

    int RowOf(const CString& font) const
    {
        for (std::size_t row = 0; row < links.Rows().size(); ++row)
            if (links.Rows()[row].name == font)
                return static_cast<int>(row);
        ADD_FAILURE() << font << " is not listed";
        return 0;
    }
    // The text of the link of the font's row, or "(no link)".
    CString LinkOf(const CString& font) const
    {
        const LinkRow& row = links.Rows()[RowOf(font)];
        return row.hasLink ? row.text : "(no link)";
    }

    Win32Registry registry;
    Win32Libraries libraries;
    Win32FontSource fonts;
    Win32Files files;
    RecordingWindow window;
    const LinkPorts ports{registry, libraries, fonts, files, kAnsiCodePage};
    FontLinks links{ports, window};
};

}  // namespace

TEST_F(RealRegistryTest, MissingKeyIsCreatedWithTheClassRegSz)
{
    links.LoadLinks();

    UniqueKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.put()), ERROR_SUCCESS);
    char keyClass[32] = {};
    DWORD classSize = sizeof keyClass;
    DWORD values = 99;
    ::RegQueryInfoKeyA(key.get(), keyClass, &classSize, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr);
    EXPECT_STREQ(keyClass, "REG_SZ");
    EXPECT_EQ(values, 0u);
    EXPECT_TRUE(window.messages.empty());
}

// The registry says "more data", and how much, for what the first buffers cannot hold,
// whether it enumerates the value or finds it by name.
TEST_F(RealRegistryTest, OversizedValuesAreReportedWithTheirSize)
{
    char16_t name[256];
    unsigned char data[256];
    std::uint32_t nameLength = 256, dataSize = sizeof data, type = 0;

    WriteValue("Z", REG_SZ, std::string(259, 'P') + '\0');
    long opened = 0;
    const auto first = registry.OpenKey(kKey, registry::kRead, opened);
    EXPECT_EQ(first->EnumValue(0, name, nameLength, type, data, dataSize), registry::kMoreData);
    EXPECT_EQ(dataSize, 520u);  // as UTF-16
    dataSize = sizeof data;
    EXPECT_EQ(first->QueryValue(u"z", type, data, dataSize), registry::kMoreData);
    EXPECT_EQ(dataSize, 520u);

    DeleteLinkKey();
    WriteValue(std::string(300, 'N'), REG_SZ, "C:\\A.TTE");
    nameLength = 256;
    dataSize = sizeof data;
    const auto key = registry.OpenKey(kKey, registry::kRead, opened);
    EXPECT_EQ(key->EnumValue(0, name, nameLength, type, data, dataSize), registry::kMoreData);
    EXPECT_EQ(key->EnumValue(1, name, nameLength, type, data, dataSize), registry::kNoMoreItems);
}

// What other programs may leave in the key: none of it may hide another value's link.
TEST_F(RealRegistryTest, HostileContentsLoadAndHideNothing)
{
    const std::string path259 = "C:\\" + std::string(247, 'D') + "\\LAST.TTE";
    WriteValue("Number", REG_DWORD, std::string("\x41\0\0\0", 4));
    WriteValue("NoNul", REG_BINARY, "C:\\NONUL.TTE");
    WriteValue("Empty", REG_SZ, "");
    WriteValue("Folder", REG_SZ, std::string("C:\\FONTS\\\0", 10));
    WriteValue("ar pl uming tw", REG_SZ, std::string("C:\\LOWER.TTE\0", 13));
    WriteValue(std::string(300, 'N'), REG_SZ, std::string("C:\\LONGNAME.TTE\0", 16));
    WriteValue("AR PL UMing HK", REG_SZ, path259 + '\0');
    for (int i = 0; i < 10000; ++i)
        WriteValue("Font " + std::to_string(i), REG_SZ, "C:\\F" + std::to_string(i) + ".TTE");
    WriteValue("SystemDefaultEUDCFont", REG_SZ, std::string("C:\\WINDOWS\\FONTS\\EUDC.TTE\0", 26));

    const auto start = std::chrono::steady_clock::now();
    links.LoadLinks();
    const auto took = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(LinkOf("SystemDefaultEUDCFont"), "C:\\WINDOWS\\FONTS\\EUDC.TTE");
    EXPECT_EQ(LinkOf("AR PL UMing TW"), "C:\\LOWER.TTE");  // the value's name differs in case only
    EXPECT_EQ(LinkOf("AR PL UMing HK"), path259);
    std::vector<StoredValue> values;
    ASSERT_EQ(ReadLinkKey(registry, values), registry::kSuccess);
    std::map<CString, CString> others;
    for (const LinkRow& row : MakeRows({}, values, "C:\\F", kAnsiCodePage))
        others[row.name] = row.text;
    ASSERT_EQ(others.size(), 10008u);
    EXPECT_EQ(others["Number"], "A");
    EXPECT_EQ(others["NoNul"], "C:\\NONUL.TTE");
    EXPECT_EQ(others["Empty"], "");
    EXPECT_EQ(others[std::string(300, 'N')], "C:\\LONGNAME.TTE");
    EXPECT_EQ(others["Folder"], "C:\\FONTS\\");
    std::printf("10,008 values loaded in %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

// Modify writes a REG_SZ of the path and one NUL; the registry's own matching lets
// Modify and Remove reach a value named in another letter case.
TEST_F(RealRegistryTest, ModifyAndRemoveChangeOneValue)
{
    WriteValue("ar pl uming tw", REG_SZ, std::string("C:\\LOWER.TTE\0", 13));
    WriteValue("Unrelated", REG_SZ, std::string("C:\\KEEP.TTE\0", 12));
    window.selectedRow = RowOf("AR PL UMing TW");
    window.chosenPath = "C:\\EUDC\\NEW.TTE";

    links.LinkSelected();
    ValueRead written = ReadValue("AR PL UMing TW");
    EXPECT_TRUE(written.exists);
    EXPECT_EQ(written.name, "ar pl uming tw");  // the registry keeps the name it had
    EXPECT_EQ(written.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(written.data, std::string("C:\\EUDC\\NEW.TTE\0", 16));

    window.selectedRow = 0;
    links.LinkSelected();
    EXPECT_EQ(ReadValue("SystemDefaultEUDCFont").data, std::string("C:\\EUDC\\NEW.TTE\0", 16));

    window.selectedRow = RowOf("AR PL UMing TW");
    links.UnlinkSelected();
    EXPECT_FALSE(ReadValue("ar pl uming tw").exists);
    EXPECT_TRUE(ReadValue("Unrelated").exists);
    EXPECT_TRUE(window.messages.empty());  // Wine's EnableEUDC is found, though it does nothing
}

// The registry's own matching of value names, through the ANSI code page: letters of
// either case alike, full-width ones too; a second byte that looks like a letter is none.
TEST(ValueNames, MatchAsTheRegistryMatchesThem)
{
    EXPECT_TRUE(kAnsiCodePage.IsSameName("ar pl uming tw", "AR PL UMing TW"));
    EXPECT_TRUE(kAnsiCodePage.IsSameName("\xA2\xCF", "\xA2\xE9"));  // Ａ and ａ
    EXPECT_FALSE(kAnsiCodePage.IsSameName("\xA4\x61", "\xA4\x41"));  // 兀 and 乙
    EXPECT_FALSE(kAnsiCodePage.IsSameName("AR PL UMing TW", "AR PL UMing TW "));
    EXPECT_TRUE(kAnsiCodePage.IsSameName("", ""));
    // Upper-cased by the same table as the registry's; the sorting key keeps its length.
    EXPECT_EQ(RegistryNameKey(u"ar pl uming tw \uFF41"), u"AR PL UMING TW \uFF21");

    // The registry agrees: what one name wrote, the other reads, and 乙 is not 兀.
    WriteValue("\xA2\xCF\xA4\x61", REG_SZ, std::string("C:\\A.TTE\0", 9));
    EXPECT_TRUE(ReadValue("\xA2\xE9\xA4\x61").exists);
    EXPECT_FALSE(ReadValue("\xA2\xCF\xA4\x41").exists);
    DeleteLinkKey();
}

TEST(EudcSwitch, FindsEnableEudcAndReleasesWhatItLoads)
{
    Win32Libraries libraries;
    {
        const auto gdi = libraries.Load("GDI32.DLL");
        ASSERT_NE(gdi, nullptr);
        const BoolEntryPoint enableEudc = gdi->FindBoolEntryPoint("EnableEUDC");
        ASSERT_TRUE(enableEudc);
        enableEudc(TRUE);
        EXPECT_FALSE(gdi->FindBoolEntryPoint("NoSuchEntryPoint"));
    }
    EXPECT_EQ(libraries.Load("NOSUCHLIBRARY.DLL"), nullptr);

    // A library that nothing else here loads: the open-file dialog, which other tests
    // open first, leaves MSIMG32 behind.
    ASSERT_EQ(::GetModuleHandleA("MSACM32.DLL"), nullptr);
    {
        const auto library = libraries.Load("MSACM32.DLL");
        EXPECT_NE(::GetModuleHandleA("MSACM32.DLL"), nullptr);
    }
    EXPECT_EQ(::GetModuleHandleA("MSACM32.DLL"), nullptr);
}

namespace {

constexpr char kTestFolder[] = "C:\\eudc-test";
std::string typedPath;
std::vector<std::string> listedFiles;
std::string fileType;

std::string ItemText(HWND control, UINT getText, UINT getLength, int item)
{
    std::string text(::SendMessageA(control, getLength, item, 0), '\0');
    ::SendMessageA(control, getText, item, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

BOOL CALLBACK CancelWindow(HWND window, LPARAM)
{
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// Reads what the dialog lists, then types the path; gives up after five seconds.
void CALLBACK TypeIntoFileDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    static int ticks = 0;
    const HWND dialog = ::FindWindowA("#32770", "\xBF\xEF\xBE\xDC\xA5\x7E\xA6\x72\xB6\xB0\xC0\xC9\xAE\xD7");
    if (dialog == nullptr && ++ticks == 125) {
        ADD_FAILURE() << "waited 5 s for the open-file dialog";
        ::EnumThreadWindows(::GetCurrentThreadId(), CancelWindow, 0);
    }
    if (dialog == nullptr)
        return;
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr);
    const HWND files = ::GetDlgItem(dialog, lst1);
    EXPECT_NE(files, nullptr) << "the older dialog's file list";
    for (int i = 0; i < ::SendMessageA(files, LB_GETCOUNT, 0, 0); ++i) {
        std::string file = ItemText(files, LB_GETTEXT, LB_GETTEXTLEN, i);
        ::CharUpperA(file.data());  // Windows lists the names in lower case, Wine as they are
        listedFiles.push_back(file);
    }
    const HWND types = ::GetDlgItem(dialog, cmb1);
    fileType = ItemText(types, CB_GETLBTEXT, CB_GETLBTEXTLEN, static_cast<int>(::SendMessageA(types, CB_GETCURSEL, 0, 0)));
    ::SetDlgItemTextA(dialog, edt1, typedPath.c_str());
    ::PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

}  // namespace

// A folder of files for the open-file dialog, removed again however the test ends, with
// the current folder that the dialog changes.
class FolderOfFiles {
public:
    FolderOfFiles(const char* folder, std::vector<std::string> names) : m_folder(folder)
    {
        ::GetCurrentDirectoryA(sizeof m_startFolder, m_startFolder);
        ::CreateDirectoryA(folder, nullptr);
        for (const std::string& name : names) {
            m_files.push_back(m_folder + "\\" + name);
            const std::ofstream empty(m_files.back());
        }
    }
    ~FolderOfFiles()
    {
        ::SetCurrentDirectoryA(m_startFolder);
        for (const std::string& file : m_files)
            ::DeleteFileA(file.c_str());
        ::RemoveDirectoryA(m_folder.c_str());
    }

private:
    std::string m_folder;
    std::vector<std::string> m_files;
    char m_startFolder[MAX_PATH] = {};
};

// The older dialog, with no owner, opens in the current folder, lists its EUDC files of
// both kinds without anything typed, and gives back the path typed into it; the 64-bit
// dialog accepts the structure's size.
TEST(EudcFileDialog, ListsEudcFilesAndGivesTheTypedPath)
{
    const FolderOfFiles folder(kTestFolder, {"LINK.TTE", "FONT.TTF", "NOTE.TXT"});
    typedPath = std::string(kTestFolder) + "\\LINK.TTE";
    ::SetCurrentDirectoryA(kTestFolder);

    EudcFileDialog dialog;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 40, TypeIntoFileDialog);
    const bool chosen = dialog.DoModal();
    ::KillTimer(nullptr, timer);

    ASSERT_TRUE(chosen) << "CommDlgExtendedError " << ::CommDlgExtendedError();
    EXPECT_STREQ(dialog.GetPathName().c_str(), typedPath.c_str());
    std::sort(listedFiles.begin(), listedFiles.end());
    EXPECT_EQ(listedFiles, (std::vector<std::string>{"FONT.TTF", "LINK.TTE"}));
    EXPECT_EQ(fileType, "\xA5\x7E\xA6\x72\xB6\xB0\xC0\xC9\xAE\xD7(*.tte;*.ttf)");
}

// A key that this user may not open, as an administrator may leave it: the table keeps
// the last links read, and the dialog says why.
TEST_F(RealRegistryTest, KeyThatCannotBeOpenedIsReportedAndTheTableKept)
{
    WriteValue("AR PL UMing TW", REG_SZ, std::string("C:\\A.TTE\0", 9));
    links.LoadLinks();

    // This handle keeps the right to give access back, whatever the list of rights says.
    UniqueKey key;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, WRITE_DAC, key.put()), ERROR_SUCCESS);
    SECURITY_DESCRIPTOR security{};
    ::InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
    ACL noOne{};
    ::InitializeAcl(&noOne, sizeof noOne, ACL_REVISION);
    ::SetSecurityDescriptorDacl(&security, TRUE, &noOne, FALSE);
    ASSERT_EQ(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &security), ERROR_SUCCESS);

    links.LoadLinks();

    ::SetSecurityDescriptorDacl(&security, FALSE, nullptr, FALSE);  // everyone again
    ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &security);
    EXPECT_EQ(window.messages, std::vector<std::string>{"Access Registry Database failed!"});
    EXPECT_EQ(LinkOf("AR PL UMing TW"), "C:\\A.TTE");
}
