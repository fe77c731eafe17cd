#include "platform/win32/Win32Libraries.h"

#include <windows.h>

namespace {

class Win32Library : public Library {
public:
    explicit Win32Library(HMODULE module) : m_module(module) {}
    ~Win32Library() override { ::FreeLibrary(m_module); }
    Win32Library(const Win32Library&) = delete;
    Win32Library& operator=(const Win32Library&) = delete;

    BoolEntryPoint FindBoolEntryPoint(const char* name) override
    {
        using BoolFunction = BOOL(WINAPI*)(BOOL);
        const FARPROC found = ::GetProcAddress(m_module, name);
        if (!found)
            return {};
        const auto function = reinterpret_cast<BoolFunction>(reinterpret_cast<void*>(found));
        return [function](int value) { return function(value); };
    }

private:
    HMODULE m_module;
};

}  // namespace

std::unique_ptr<Library> Win32Libraries::Load(const char* fileName)
{
    const HMODULE module = ::LoadLibraryA(fileName);
    if (!module)
        return nullptr;
    return std::make_unique<Win32Library>(module);
}
