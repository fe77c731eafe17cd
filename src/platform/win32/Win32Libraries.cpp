#include "platform/win32/Win32Libraries.h"

#include <windows.h>

#include <utility>

#include "platform/win32/UniqueHandle.h"

namespace {

class Win32Library : public Library {
public:
    explicit Win32Library(UniqueModule module) : m_module(std::move(module)) {}

    BoolEntryPoint FindBoolEntryPoint(const char* name) override
    {
        using BoolFunction = BOOL(WINAPI*)(BOOL);
        const FARPROC found = ::GetProcAddress(m_module.get(), name);
        if (!found)
            return {};
        const auto function = reinterpret_cast<BoolFunction>(reinterpret_cast<void*>(found));
        return [function](int value) { return function(value); };
    }

private:
    UniqueModule m_module;
};

}  // namespace

std::unique_ptr<Library> Win32Libraries::Load(const char* fileName)
{
    UniqueModule module(::LoadLibraryA(fileName));
    if (!module)
        return nullptr;
    return std::make_unique<Win32Library>(std::move(module));
}
