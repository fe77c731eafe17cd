// Files through the Win32 file functions, with paths in the ANSI code page.
#pragma once

#include "platform/Files.h"

class Win32Files : public Files {
public:
    bool FullPath(const CString& path, CString& full) override;
    bool IsFile(const CString& path) override;
    bool Read(const CString& path, std::size_t limit, std::string& bytes) override;
    std::unique_ptr<ReadableFile> Open(const CString& path) override;
    bool Replace(const CString& path, std::string_view bytes) override;
    CString FontsFolder() override;
};
