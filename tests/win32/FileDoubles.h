// Linked files as the window's tests need them, over the real files of the prefix: every
// one a font, or every one behind a share that does not answer until the test lets it.
#pragma once

#include <windows.h>

#include <atomic>

#include "../shared/EudcFontBytes.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Files.h"

// Any path names a small EUDC font, so that a test of the registry sees every link work.
class EveryFileAFont : public Win32Files {
public:
    bool IsFile(const CString&) override { return true; }
    std::unique_ptr<ReadableFile> Open(const CString&) override { return std::make_unique<Bytes>(EudcFont()); }

private:
    class Bytes : public ReadableFile {
    public:
        explicit Bytes(std::string bytes) : m_bytes(std::move(bytes)) {}
        std::uint64_t Size() const override { return m_bytes.size(); }
        bool ReadAt(std::uint64_t offset, std::size_t size, std::string& part) override
        {
            if (offset > m_bytes.size() || size > m_bytes.size() - offset)
                return false;
            part = m_bytes.substr(static_cast<std::size_t>(offset), size);
            return true;
        }

    private:
        std::string m_bytes;
    };
};

// The real files, each looked at only once the share answers: when the test opens it, or
// after half a minute, so that a window that waits for it fails its test instead of hanging.
class SlowShare : public Win32Files {
public:
    bool IsFile(const CString& path) override
    {
        ::WaitForSingleObject(m_answering.get(), 30000);
        ++m_checked;
        return Win32Files::IsFile(path);
    }
    void Answer() { ::SetEvent(m_answering.get()); }
    // How many looks at a file have returned.
    int Checked() const { return m_checked; }

private:
    UniqueFile m_answering{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> m_checked = 0;
};

// Whether the window has the result of every check: each row's item data is its link's
// state, 0 while its file is not yet checked.
inline bool AllLinksChecked(HWND list)
{
    const LRESULT rows = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < rows; ++row)
        if (::SendMessageA(list, LB_GETITEMDATA, row, 0) == 0)
            return false;
    return true;
}
