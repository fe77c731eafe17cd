// The floor of the benchmark: a bare dialog that makes the platform calls VELTRANE.EXE
// cannot do without, and nothing else. At start: the font families of the dialog's
// client context, the values of HKCU\EUDC\950, one list row per accepted family. On
// Modify (after the same open-file dialog) and Remove: one write or deletion, the key
// read again and the dialog invalidated, as the program does after every change.
#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "resource.h"

namespace {

constexpr char kLinkKey[] = "EUDC\\950";

std::vector<std::string> fonts;
std::vector<std::string> linkNames;
std::vector<std::string> linkFiles;

int CALLBACK Collect(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM)
{
    const bool eastAsian = font->lfCharSet == SHIFTJIS_CHARSET || font->lfCharSet == CHINESEBIG5_CHARSET;
    // Wine reports a family once per character set, one after the other.
    if (eastAsian && (fontType & 0xFFFF) == TRUETYPE_FONTTYPE && font->lfFaceName[0] != '@' &&
        fonts.back() != font->lfFaceName)
        fonts.emplace_back(font->lfFaceName);
    return 1;
}

void ReadLinks()
{
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kLinkKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS &&
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kLinkKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
            ERROR_SUCCESS)
        return;
    linkNames.clear();
    linkFiles.clear();
    for (DWORD index = 0;; ++index) {
        char name[256];
        BYTE data[256];
        DWORD nameSize = sizeof name;
        DWORD dataSize = sizeof data;
        if (::RegEnumValueA(key.get(), index, name, &nameSize, nullptr, nullptr, data, &dataSize) != ERROR_SUCCESS)
            break;
        linkNames.emplace_back(name, nameSize);
        linkFiles.emplace_back(reinterpret_cast<char*>(data), dataSize);
    }
}

UINT_PTR CALLBACK Hook(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

bool ChooseFile(std::string& path)
{
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.lpstrFilter = "EUDC (*.ttf)\0*.ttf\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NONETWORKBUTTON;
    ofn.lpfnHook = Hook;
    if (!::GetOpenFileNameA(&ofn))
        return false;
    path = file;
    return true;
}

// Writes the font's link to `path`, or deletes it when there is no path.
void ChangeValue(const char* name, const std::string* path)
{
    UniqueKey key;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kLinkKey, 0, KEY_WRITE, key.put()) != ERROR_SUCCESS)
        return;
    if (path != nullptr)
        ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(path->c_str()),
                         static_cast<DWORD>(path->size() + 1));
    else
        ::RegDeleteValueA(key.get(), name);
}

void Change(HWND dialog, const std::string* path)
{
    const auto row = ::SendDlgItemMessageA(dialog, IDC_FONT_LIST, LB_GETCURSEL, 0, 0);
    if (row < 0)
        return;
    ChangeValue(fonts[row].c_str(), path);
    ReadLinks();
    ::InvalidateRect(dialog, nullptr, TRUE);
}

void Start(HWND dialog)
{
    fonts.assign(1, "SystemDefaultEUDCFont");
    {
        const ClientDC dc = GetClientDC(dialog);
        ::EnumFontFamiliesA(dc.get().dc, nullptr, Collect, 0);
    }
    ReadLinks();
    const HWND list = ::GetDlgItem(dialog, IDC_FONT_LIST);
    for (const std::string& font : fonts)
        ::SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(font.c_str()));
    ::SendMessageA(list, LB_SETCURSEL, 0, 0);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        Start(dialog);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
    case IDCANCEL:
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case IDC_MODIFY: {
        std::string path;
        if (ChooseFile(path))
            Change(dialog, &path);
        return TRUE;
    }
    case IDC_REMOVE:
        Change(dialog, nullptr);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    return static_cast<int>(::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, DialogProc, 0));
}
