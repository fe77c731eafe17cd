// What the console program's tests run with: its doubles, a small EUDC font, and
// eudclink run as the system would start it.
#pragma once

#include <gtest/gtest.h>

#include "LinkDoubles.h"
#include "console/RunEudclink.h"

inline const std::string kFont = EudcFont();

class FakeConsole : public Console {
public:
    std::string out, err;
    void Out(std::string_view text) override { out += text; }
    void Err(std::string_view text) override { err += text; }
};

inline StoredValue Text(std::u16string name, std::u16string text)
{
    StoredValue value{std::move(name), registry::kString, {}};
    for (char16_t c : text + u'\0') {
        value.data.push_back(static_cast<unsigned char>(c & 0xFF));
        value.data.push_back(static_cast<unsigned char>(c >> 8));
    }
    return value;
}


// Any of the code pages with EUDC characters, converted as Big5 is; the system's is 950.
class FakeCodePages : public CodePages {
public:
    unsigned systemCodePage = 950;
    unsigned used = 0;
    unsigned SystemCodePage() override { return systemCodePage; }
    bool Use(unsigned codePage, CodePageRules& rules) override
    {
        used = codePage;
        rules = kBig5;
        return true;
    }
};

class EudclinkTest : public ::testing::Test {
protected:
    // The arguments as the system gives them, from Big5.
    int Run(CStringArray arguments) { return RunWith(with, std::move(arguments)); }
    int RunWith(const Eudclink& ports, CStringArray arguments)
    {
        console = {};
        events.clear();
        std::vector<std::u16string> wide;
        for (const CString& argument : arguments)
            wide.push_back(Big5ToWide(argument));
        return RunEudclink(ports, wide);
    }

    Events events;
    FakeRegistry registry{events};
    FakeLibraries libraries{events};
    FakeFontSource fonts{{{"Xyz", fonts::kBig5CharSet, fonts::kTrueType},
                          {"Latin", 0, fonts::kTrueType},
                          {"AR PL UMing TW", fonts::kBig5CharSet, fonts::kTrueType}}};
    FakeFiles files;
    FakeConsole console;
    FakeCodePages codePages;
    FakeHashing hashing;
    const Eudclink with{{registry, libraries, fonts, files, kBig5}, console, "9.9", codePages, hashing};
};

