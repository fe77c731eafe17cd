#include "platform/win32/EudcFileDialog.h"

namespace {

// "外字集檔案(*.tte;*.ttf)" (EUDC files) and its pattern, in code page 950; the list ends
// with a second NUL. .tte first: that is what EUDC editors write.
constexpr char kFilter[] = "\xA5\x7E\xA6\x72\xB6\xB0\xC0\xC9\xAE\xD7(*.tte;*.ttf)\0*.tte;*.ttf\0";
// "選擇外字集檔案" (select an EUDC file) in code page 950.
constexpr char kTitle[] = "\xBF\xEF\xBE\xDC\xA5\x7E\xA6\x72\xB6\xB0\xC0\xC9\xAE\xD7";

}  // namespace

UINT_PTR CALLBACK OpenFileHookProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// No OFN_EXPLORER: with a hook, that gives the older dialog. The size is that of the
// older structure for this build's pointer width; a 64-bit dialog refuses the 32-bit 76.
EudcFileDialog::EudcFileDialog()
{
    m_ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    m_ofn.lpstrFilter = kFilter;
    m_ofn.lpstrFile = m_file;
    m_ofn.nMaxFile = sizeof m_file;
    m_ofn.lpstrTitle = kTitle;
    m_ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST |
                  OFN_NONETWORKBUTTON;
    m_ofn.lpfnHook = OpenFileHookProc;
}

bool EudcFileDialog::DoModal()
{
    return ::GetOpenFileNameA(&m_ofn) != FALSE;
}

CString EudcFileDialog::GetPathName() const
{
    return CString(m_file, ::strnlen(m_file, sizeof m_file));
}
