// Files through the Win32 file functions, with paths in the code page the program works
// in (the system's, unless eudclink's --codepage chose another).
#pragma once

#include "platform/Files.h"
#include "platform/win32/Win32CodePages.h"

class Win32Files : public Files {
public:
    // Paths in the code page that `codePages` uses; the system's without it.
    explicit Win32Files(const Win32CodePages* codePages = nullptr) : m_codePages(codePages) {}

    bool FullPath(const CString& path, CString& full) override;
    bool IsFile(const CString& path) override;
    bool Read(const CString& path, std::size_t limit, std::string& bytes) override;
    std::unique_ptr<ReadableFile> Open(const CString& path) override;
    bool Replace(const CString& path, std::string_view bytes) override;
    CString FontsFolder() override;
    Kind KindOf(const CString& path) override;
    bool MakeFolders(const CString& folder, std::vector<CString>& made) override;
    bool Copy(const CString& from, const CString& to) override;
    bool Rename(const CString& from, const CString& to) override;
    bool Delete(const CString& file) override;
    bool RemoveFolder(const CString& folder) override;

private:
    std::wstring Wide(const CString& path) const;
    CString Narrow(std::wstring_view path) const;

    const Win32CodePages* m_codePages;
};
