// The main dialog against the prefix's real registry while another program, reg.exe in
// a process of its own, deletes the key or changes its values between two commands:
// nothing the other program wrote is lost or changed, the rows show the key as it is,
// and the only message is the one for a key that can no longer be reached.
#include <gtest/gtest.h>
#include <windows.h>

#include <dlgs.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "ModalScript.h"
#include "FileDoubles.h"
#include "TestApp.h"
#include "platform/win32/UniqueHandle.h"
#include "resource.h"

namespace {

constexpr char kKey[] = "EUDC\\950";
// "選擇外字集檔案", the open-file dialog's title, in code page 950.
constexpr char kFileDialogTitle[] = "\xBF\xEF\xBE\xDC\xA5\x7E\xA6\x72\xB6\xB0\xC0\xC9\xAE\xD7";
constexpr char kFolder[] = "C:\\eudc-hostile";
constexpr char kChosenFile[] = "C:\\eudc-hostile\\NEW.TTE";

struct Value {
    DWORD type;
    std::string data;
    bool operator==(const Value&) const = default;
};
void PrintTo(const Value& value, std::ostream* out)
{
    *out << "type " << value.type << " \"" << value.data << "\"";
}
using KeyContents = std::map<std::string, Value>;

// Runs another program to its end, its output thrown away; gives its exit code.
DWORD RunOtherProgram(std::string commandLine)
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    const HANDLE opened =
        ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr);
    const UniqueFile nul(opened == INVALID_HANDLE_VALUE ? nullptr : opened);  // how CreateFileA fails
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nul.get();
    PROCESS_INFORMATION process{};
    DWORD exitCode = ~0u;
    if (::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                         &process)) {
        const UniqueFile thread(process.hThread);
        const UniqueFile child(process.hProcess);
        ::WaitForSingleObject(child.get(), 30000);
        ::GetExitCodeProcess(child.get(), &exitCode);
    }
    return exitCode;
}

void Reg(const std::string& arguments)
{
    EXPECT_EQ(RunOtherProgram("reg.exe " + arguments), 0u) << arguments;
}

bool KeyExists()
{
    UniqueKey key;
    return ::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

// Every value of the key as the registry holds it, under the name it enumerates.
KeyContents ReadKey()
{
    KeyContents contents;
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return contents;
    for (DWORD i = 0;; ++i) {
        char name[1024];
        DWORD nameSize = sizeof name;
        BYTE data[4096];
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        if (::RegEnumValueA(key.get(), i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
            break;
        contents[name] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
    }
    return contents;
}

std::string KeyClass()
{
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return "no key";
    char keyClass[64] = {};
    DWORD size = sizeof keyClass;
    ::RegQueryInfoKeyA(key.get(), keyClass, &size, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
    return keyClass;
}

void WriteLink(const std::string& name, const std::string& path)
{
    UniqueKey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>(path.size() + 1));
}

void DeleteKey()
{
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
}

void CreateEmptyFile(const std::string& path)
{
    const std::ofstream file(path);
}

int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM texts)
{
    if (record->iType == EMR_EXTTEXTOUTW) {
        const auto& text = reinterpret_cast<const EMREXTTEXTOUTW*>(record)->emrtext;
        const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text.offString);
        if (text.nChars > 0)
            reinterpret_cast<std::vector<std::wstring>*>(texts)->emplace_back(chars, text.nChars);
    }
    return 1;
}

// The link text that the dialog draws for a row: the last text of the row's drawing,
// read back from a metafile.
std::string LinkTextOfRow(HWND dialog, int row)
{
    const HWND list = ::GetDlgItem(dialog, IDC_FONT_LIST);
    const HDC dc = ::CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    {
        const Selection font = Select(dc, reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        DRAWITEMSTRUCT item{ODT_LISTBOX, IDC_FONT_LIST, static_cast<UINT>(row), ODA_DRAWENTIRE, 0, list, dc,
                            {0, 0, 600, 16}, 0};
        ::SendMessageA(dialog, WM_DRAWITEM, IDC_FONT_LIST, reinterpret_cast<LPARAM>(&item));
    }
    // CloseEnhMetaFile ends the recording context and hands over the metafile.
    const UniqueHandle<HENHMETAFILE, ::DeleteEnhMetaFile> metafile(::CloseEnhMetaFile(dc));
    std::vector<std::wstring> texts;
    ::EnumEnhMetaFile(nullptr, metafile.get(), CollectText, &texts, nullptr);
    if (texts.empty())
        return "nothing drawn";
    char text[1024] = {};
    ::WideCharToMultiByte(CP_ACP, 0, texts.back().c_str(), -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// The row of the list that holds the font's name; row 0 holds SystemDefaultEUDCFont.
int RowOf(HWND dialog, const char* font)
{
    const LRESULT row = ::SendDlgItemMessageA(dialog, IDC_FONT_LIST, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(font));
    EXPECT_NE(row, LB_ERR) << font << " is not listed";
    return static_cast<int>(row);
}

// The real main dialog, started with the key as each test leaves it.
class HostileRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        ::GetCurrentDirectoryA(sizeof m_startFolder, m_startFolder);
        DeleteKey();
        ::CreateDirectoryA(kFolder, nullptr);
        CreateEmptyFile(kChosenFile);
    }
    void TearDown() override
    {
        // The open-file dialog makes the chosen file's folder current, which would keep
        // it from being removed.
        ::SetCurrentDirectoryA(m_startFolder);
        DeleteKey();
        ::DeleteFileA(kChosenFile);
        if (!longPath.empty()) {
            ::DeleteFileA(longPath.c_str());
            ::RemoveDirectoryA(longPath.substr(0, longPath.rfind('\\')).c_str());
        }
        ::RemoveDirectoryA(kFolder);
    }

    HWND Window() const { return dialog.m_hWnd; }
    std::string RowText(const char* font) const { return LinkTextOfRow(Window(), RowOf(Window(), font)); }

    void Click(int id, const char* font) const
    {
        ::SendDlgItemMessageA(Window(), IDC_FONT_LIST, LB_SETCURSEL, RowOf(Window(), font), 0);
        ::PostMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    }
    // The step after Modify's click: the path typed into the open-file dialog.
    static ScriptStep Choose(const std::string& path)
    {
        return [path] {
            const HWND fileDialog = ::FindWindowA("#32770", kFileDialogTitle);
            ASSERT_NE(fileDialog, nullptr);
            ::SetDlgItemTextA(fileDialog, edt1, path.c_str());
            ::PostMessageA(fileDialog, WM_COMMAND, IDOK, 0);
        };
    }
    // The text and caption of each message box over the dialog, which it then closes.
    void TakeMessages()
    {
        for (HWND box : OwnedDialogs(Window())) {
            messages.push_back(WindowTextA(box) + ": " + WindowTextA(::GetDlgItem(box, 0xFFFF)));
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
    }
    // Takes messages as they come until there have been `count`.
    ScriptStep TakeMessagesUntil(size_t count)
    {
        return RepeatUntil(std::to_string(count) + " message boxes", [this, count] {
            TakeMessages();
            return messages.size() >= count;
        });
    }
    ScriptStep Close()
    {
        return [this] { ::PostMessageA(Window(), WM_COMMAND, IDCANCEL, 0); };
    }

    // Links to files that are not there, the tests' usual case, are not what they test.
    static inline EveryFileAFont files;
    TestApp test{nullptr, &files};
    CFontLinkDlg dialog = test.app.MainDialog();
    std::vector<std::string> messages;
    std::string longPath;  // a file the test made, removed with its folder

private:
    char m_startFolder[MAX_PATH] = {};
};

}  // namespace

// Modify finds the key deleted by another program: it makes the key again, as start-up
// does, and writes the link. Remove, after a second deletion, has nothing to delete: it
// writes nothing and says nothing, and its reload makes the key again, empty.
TEST_F(HostileRegistryTest, KeyDeletedWhileTheDialogIsOpen)
{
    WriteLink("AR PL UMing TW", "C:\\eudc\\TW.TTE");
    RunModalScript(dialog, {
        [&] {
            EXPECT_EQ(RowText("AR PL UMing TW"), "TW.TTE");
            Reg("delete HKCU\\EUDC\\950 /f");
            ASSERT_FALSE(KeyExists());
            Click(IDC_MODIFY, "AR PL UMing TW");
        },
        Choose(kChosenFile),
        [&] {
            TakeMessages();
            EXPECT_EQ(KeyClass(), "REG_SZ");
            EXPECT_EQ(ReadKey(), (KeyContents{{"AR PL UMing TW", {REG_SZ, std::string(kChosenFile, sizeof kChosenFile)}}}));
            EXPECT_EQ(RowText("AR PL UMing TW"), "NEW.TTE");
            Reg("delete HKCU\\EUDC\\950 /f");
            Click(IDC_REMOVE, "AR PL UMing TW");
        },
        [&] {
            TakeMessages();
            EXPECT_EQ(KeyClass(), "REG_SZ");
            EXPECT_EQ(ReadKey(), KeyContents{});
            EXPECT_EQ(RowText("SystemDefaultEUDCFont"), "no assigned");
            EXPECT_EQ(RowText("AR PL UMing TW"), "no assigned");
        },
        Close(),
    });
    EXPECT_EQ(messages, std::vector<std::string>{});
}

// Between Modify and Remove another program replaces one link, deletes a value, and
// adds two; each command changes its own value only.
TEST_F(HostileRegistryTest, ValuesChangedBetweenTwoCommandsStayAsTheOtherProgramWroteThem)
{
    WriteLink("AR PL UMing TW", "C:\\eudc\\TW.TTE");
    WriteLink("AR PL UMing HK", "C:\\eudc\\HK.TTE");
    WriteLink("Foreign", "D:\\SOMEWHERE\\ELSE.TTE");
    KeyContents expected;
    RunModalScript(dialog, {
        [&] {
            expected = ReadKey();
            Click(IDC_MODIFY, "AR PL UMing TW");
        },
        Choose(kChosenFile),
        [&] {
            TakeMessages();
            expected["AR PL UMing TW"] = {REG_SZ, std::string(kChosenFile, sizeof kChosenFile)};
            EXPECT_EQ(ReadKey(), expected);
            EXPECT_EQ(RowText("AR PL UMing TW"), "NEW.TTE");

            Reg("add HKCU\\EUDC\\950 /v \"AR PL UMing HK\" /d C:\\other\\CHANGED.TTE /f");
            Reg("delete HKCU\\EUDC\\950 /v Foreign /f");
            Reg("add HKCU\\EUDC\\950 /v SystemDefaultEUDCFont /d C:\\other\\DEFAULT.TTE /f");
            Reg("add HKCU\\EUDC\\950 /v Added /t REG_DWORD /d 7 /f");
            expected = ReadKey();
            EXPECT_EQ(expected.count("Foreign"), 0u);
            Click(IDC_REMOVE, "AR PL UMing TW");
        },
        [&] {
            TakeMessages();
            expected.erase("AR PL UMing TW");
            EXPECT_EQ(ReadKey(), expected);
            EXPECT_EQ(expected["AR PL UMing HK"].data, std::string("C:\\other\\CHANGED.TTE\0", 21));
            EXPECT_EQ(RowText("AR PL UMing TW"), "no assigned");
            EXPECT_EQ(RowText("AR PL UMing HK"), "CHANGED.TTE");
            EXPECT_EQ(RowText("SystemDefaultEUDCFont"), "DEFAULT.TTE");
        },
        Close(),
    });
    EXPECT_EQ(messages, std::vector<std::string>{});
}

// The open-file dialog gives at most 259 bytes; such a path is written in full, and read
// back whole it neither hides its own link nor the links enumerated after it.
TEST_F(HostileRegistryTest, PathOfTheLongestLengthIsWrittenWholeAndShown)
{
    const std::string folder = std::string(kFolder) + "\\" + std::string(231, 'D');
    const std::string path = longPath = folder + "\\LONGEST.TTE";
    ASSERT_EQ(path.size(), 259u);
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    CreateEmptyFile(path);
    WriteLink("SystemDefaultEUDCFont", "C:\\eudc\\DEFAULT.TTE");  // enumerated after the fonts' values

    RunModalScript(dialog, {
        [&] { Click(IDC_MODIFY, "AR PL UMing TW"); },
        Choose(path),
        [&] {
            TakeMessages();
            EXPECT_EQ(ReadKey()["AR PL UMing TW"], (Value{REG_SZ, path + '\0'}));
            EXPECT_EQ(RowText("AR PL UMing TW"), "LONGEST.TTE");
            EXPECT_EQ(RowText("SystemDefaultEUDCFont"), "DEFAULT.TTE");
        },
        Close(),
    });
    EXPECT_EQ(messages, std::vector<std::string>{});
}

// A key that this user may no longer open or create, as an administrator may leave it
// (done here through the registry functions, which need no second process). Modify and
// Remove change nothing and say so, and so does each reload after them; the rows keep
// the links last read.
TEST_F(HostileRegistryTest, KeyThatCanNoLongerBeReachedIsReported)
{
    WriteLink("AR PL UMing TW", "C:\\eudc\\TW.TTE");
    UniqueKey key;
    SECURITY_DESCRIPTOR security{};
    RunModalScript(dialog, {
        [&] {
            ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, WRITE_DAC, key.put()), ERROR_SUCCESS);
            ::InitializeSecurityDescriptor(&security, SECURITY_DESCRIPTOR_REVISION);
            ACL noOne{};
            ::InitializeAcl(&noOne, sizeof noOne, ACL_REVISION);
            ::SetSecurityDescriptorDacl(&security, TRUE, &noOne, FALSE);
            ASSERT_EQ(::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &security), ERROR_SUCCESS);
            Click(IDC_MODIFY, "AR PL UMing TW");
        },
        Choose(kChosenFile),
        TakeMessagesUntil(2),
        [&] {
            EXPECT_EQ(RowText("AR PL UMing TW"), "TW.TTE");
            Click(IDC_REMOVE, "AR PL UMing TW");
        },
        TakeMessagesUntil(4),
        [&] { EXPECT_EQ(RowText("AR PL UMing TW"), "TW.TTE"); },
        Close(),
    });
    ::SetSecurityDescriptorDacl(&security, FALSE, nullptr, FALSE);  // everyone again
    ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &security);
    EXPECT_EQ(messages, std::vector<std::string>(4, "veltrane_win_tests: Access Registry Database failed!"));
    EXPECT_EQ(ReadKey()["AR PL UMing TW"].data, std::string("C:\\eudc\\TW.TTE\0", 15));
}
