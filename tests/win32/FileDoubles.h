// Linked files as the window's tests need them, over the real files of the prefix: every
// one a font, or every one behind a share that does not answer until the test lets it.
// Like the program's own, a test's files last until the process ends (static, or never
// deleted): the window abandons a check or a read in progress when it closes.
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

// Every file a small EUDC font that answers at once, until the test holds its reads: a share
// that stopped answering since the window checked its file. Held reads go on when the test
// lets them, or after half a minute.
class HeldFont : public EveryFileAFont {
public:
    std::unique_ptr<ReadableFile> Open(const CString& path) override
    {
        return std::make_unique<HeldFile>(*this, EveryFileAFont::Open(path));
    }
    void Hold() { ::ResetEvent(m_answering.get()); }
    void Release() { ::SetEvent(m_answering.get()); }
    // How many reads have waited.
    int Held() const { return m_held; }

private:
    class HeldFile : public ReadableFile {
    public:
        HeldFile(HeldFont& share, std::unique_ptr<ReadableFile> file) : m_share(share), m_file(std::move(file)) {}
        std::uint64_t Size() const override { return m_file->Size(); }
        bool ReadAt(std::uint64_t offset, std::size_t size, std::string& part) override
        {
            if (::WaitForSingleObject(m_share.m_answering.get(), 0) == WAIT_TIMEOUT) {
                ++m_share.m_held;
                ::WaitForSingleObject(m_share.m_answering.get(), 30000);
            }
            return m_file->ReadAt(offset, size, part);
        }

    private:
        HeldFont& m_share;
        std::unique_ptr<ReadableFile> m_file;
    };

    UniqueFile m_answering{::CreateEventA(nullptr, TRUE, TRUE, nullptr)};
    std::atomic<int> m_held = 0;
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
