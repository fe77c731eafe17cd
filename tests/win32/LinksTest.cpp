// The links against the real registry of the test prefix, the real graphics library and
// the real open-file dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>

#include "model/FontList.h"
#include "model/FontLinks.h"
#include "platform/win32/AnsiCodePage.h"
#include "platform/win32/EudcFileDialog.h"
#include "platform/win32/UniqueHandle.h"
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
    CString NoAssignedText() const override { return "no assigned"; }
};

class RealRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteLinkKey();
        FontList = {"SystemDefaultEUDCFont", "AR PL UMing TW", "AR PL UMing HK"};
    }
    void TearDown() override { DeleteLinkKey(); }

    Win32Registry registry;
    Win32Libraries libraries;
    RecordingWindow window;
    FontLinks links{registry, libraries, window, kAnsiCodePage};
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

// The registry says "more data", and how much, for what the first buffers cannot hold.
TEST_F(RealRegistryTest, OversizedValuesAreReportedWithTheirSize)
{
    char name[256];
    unsigned char data[256];
    std::uint32_t nameSize = sizeof name, dataSize = sizeof data, type = 0;

    WriteValue("Z", REG_SZ, std::string(259, 'P') + '\0');
    long opened = 0;
    EXPECT_EQ(registry.OpenKey(kKey, registry::kRead, opened)->EnumValue(0, name, nameSize, type, data, dataSize),
              registry::kMoreData);
    EXPECT_EQ(dataSize, 260u);

    DeleteLinkKey();
    WriteValue(std::string(300, 'N'), REG_SZ, "C:\\A.TTE");
    nameSize = sizeof name;
    dataSize = sizeof data;
    const auto key = registry.OpenKey(kKey, registry::kRead, opened);
    EXPECT_EQ(key->EnumValue(0, name, nameSize, type, data, dataSize), registry::kMoreData);
    EXPECT_EQ(key->EnumValue(1, name, nameSize, type, data, dataSize), registry::kNoMoreItems);
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

    ASSERT_EQ(links.m_linkFonts.size(), 10008u);
    EXPECT_EQ(links.m_linkFiles[links.FindLink("Number")], "A");
    EXPECT_EQ(links.m_linkFiles[links.FindLink("NoNul")], "C:\\NONUL.TTE");
    EXPECT_EQ(links.m_linkFiles[links.FindLink("Empty")], "");
    EXPECT_EQ(links.m_linkFiles[links.FindLink(std::string(300, 'N'))], "C:\\LONGNAME.TTE");
    EXPECT_EQ(links.GetLinkText(0), "EUDC.TTE");
    EXPECT_EQ(links.GetLinkText(1), "LOWER.TTE");  // the value's name differs in case only
    EXPECT_EQ(links.GetLinkText(2), "LAST.TTE");
    EXPECT_EQ(links.m_linkFiles[links.FindLink("Folder")], "C:\\FONTS\\");
    std::printf("10,008 values loaded in %lld ms\n",
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

// Modify writes a REG_SZ of the path and one NUL; the registry's own matching lets
// Modify and Remove reach a value named in another letter case.
TEST_F(RealRegistryTest, ModifyAndRemoveChangeOneValue)
{
    WriteValue("ar pl uming tw", REG_SZ, std::string("C:\\LOWER.TTE\0", 13));
    WriteValue("Unrelated", REG_SZ, std::string("C:\\KEEP.TTE\0", 12));
    window.selectedRow = 1;
    window.chosenPath = "C:\\EUDC\\NEW.TTE";

    links.OnModify();
    ValueRead written = ReadValue("AR PL UMing TW");
    EXPECT_TRUE(written.exists);
    EXPECT_EQ(written.name, "ar pl uming tw");  // the registry keeps the name it had
    EXPECT_EQ(written.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(written.data, std::string("C:\\EUDC\\NEW.TTE\0", 16));

    window.selectedRow = 0;
    links.OnModify();
    EXPECT_EQ(ReadValue("SystemDefaultEUDCFont").data, std::string("C:\\EUDC\\NEW.TTE\0", 16));

    window.selectedRow = 1;
    links.OnRemove();
    EXPECT_FALSE(ReadValue("ar pl uming tw").exists);
    EXPECT_TRUE(ReadValue("Unrelated").exists);
    EXPECT_TRUE(window.messages.empty());  // Wine's EnableEUDC is found, though it does nothing
}

// The registry's own matching of value names, through the ANSI code page: letters of
// either case alike, full-width ones too; a second byte that looks like a letter is none.
TEST(ValueNames, MatchAsTheRegistryMatchesThem)
{
    EXPECT_TRUE(IsSameValueName("ar pl uming tw", "AR PL UMing TW"));
    EXPECT_TRUE(IsSameValueName("\xA2\xCF", "\xA2\xE9"));  // Ａ and ａ
    EXPECT_FALSE(IsSameValueName("\xA4\x61", "\xA4\x41"));  // 兀 and 乙
    EXPECT_FALSE(IsSameValueName("AR PL UMing TW", "AR PL UMing TW "));
    EXPECT_TRUE(IsSameValueName("", ""));

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

TEST(EudcFileDialog, AsksWithTheOlderDialogForEudcFiles)
{
    const EudcFileDialog dialog;
    const OPENFILENAMEA& ofn = dialog.m_ofn;
    EXPECT_EQ(ofn.lStructSize, static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A));
    EXPECT_EQ(ofn.hwndOwner, nullptr);
    EXPECT_EQ(ofn.hInstance, nullptr);
    const char filter[] = "\xA5\x7E\xA6\x72\xB6\xB0\xC0\xC9\xAE\xD7(*.tte;*.ttf)\0*.tte;*.ttf\0";
    EXPECT_EQ(std::string(ofn.lpstrFilter, sizeof filter), std::string(filter, sizeof filter));
    EXPECT_EQ(ofn.lpstrCustomFilter, nullptr);
    EXPECT_EQ(ofn.nFilterIndex, 0u);
    EXPECT_EQ(ofn.nMaxFile, 260u);
    EXPECT_EQ(std::string(ofn.lpstrFile, 260), std::string(260, '\0'));
    EXPECT_EQ(ofn.lpstrFileTitle, nullptr);
    EXPECT_EQ(ofn.lpstrInitialDir, nullptr);
    EXPECT_STREQ(ofn.lpstrTitle, "\xBF\xEF\xBE\xDC\xA5\x7E\xA6\x72\xB6\xB0\xC0\xC9\xAE\xD7");
    EXPECT_EQ(ofn.Flags, 0x21824u);
    EXPECT_EQ(ofn.lpstrDefExt, nullptr);
    EXPECT_EQ(ofn.lpfnHook, &OpenFileHookProc);
    EXPECT_EQ(ofn.lpTemplateName, nullptr);

    for (UINT message = 0; message < 0x400; ++message)
        EXPECT_EQ(OpenFileHookProc(nullptr, message, 0, 0), message == WM_INITDIALOG ? 1u : 0u) << message;
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

// Reads what the dialog lists, then types the path.
void CALLBACK TypeIntoFileDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    const HWND dialog = ::FindWindowA("#32770", "\xBF\xEF\xBE\xDC\xA5\x7E\xA6\x72\xB6\xB0\xC0\xC9\xAE\xD7");
    if (dialog == nullptr)
        return;
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr);
    const HWND files = ::GetDlgItem(dialog, lst1);  // the older dialog's file list
    EXPECT_NE(files, nullptr);
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

// The dialog opens in the current folder, lists its EUDC files of both kinds without
// anything typed, and gives back the path typed into it; the 64-bit dialog accepts the
// structure's size.
TEST(EudcFileDialog, ListsEudcFilesAndGivesTheTypedPath)
{
    ::CreateDirectoryA(kTestFolder, nullptr);
    typedPath = std::string(kTestFolder) + "\\LINK.TTE";
    const std::string files[] = {typedPath, std::string(kTestFolder) + "\\FONT.TTF",
                                 std::string(kTestFolder) + "\\NOTE.TXT"};
    for (const std::string& file : files) {
        const std::ofstream empty(file);
    }
    char startFolder[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof startFolder, startFolder);
    ::SetCurrentDirectoryA(kTestFolder);

    EudcFileDialog dialog;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 40, TypeIntoFileDialog);
    const bool chosen = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    ::SetCurrentDirectoryA(startFolder);

    ASSERT_TRUE(chosen) << "CommDlgExtendedError " << ::CommDlgExtendedError();
    EXPECT_STREQ(dialog.GetPathName().c_str(), typedPath.c_str());
    std::sort(listedFiles.begin(), listedFiles.end());
    EXPECT_EQ(listedFiles, (std::vector<std::string>{"FONT.TTF", "LINK.TTE"}));
    EXPECT_EQ(fileType, "\xA5\x7E\xA6\x72\xB6\xB0\xC0\xC9\xAE\xD7(*.tte;*.ttf)");
    for (const std::string& file : files)
        ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(kTestFolder);
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
    EXPECT_EQ(links.GetLinkText(1), "A.TTE");
}
