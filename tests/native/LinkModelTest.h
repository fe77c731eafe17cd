// The window's model with its doubles: a font list of the reserved row 0 and two fonts.
#pragma once

#include <gtest/gtest.h>

#include "LinkDoubles.h"

class LinkModelTest : public ::testing::Test {
protected:
    void SetUp() override { links.BuildFontList(); }

    const LinkRow& Row(std::size_t row) const { return links.Rows()[row]; }
    // The value's text that row `row` shows as its link, or "(no link)".
    std::string LinkOf(std::size_t row) const { return Row(row).hasLink ? Row(row).text : "(no link)"; }

    Events events;
    FakeRegistry registry{events};
    FakeLibraries libraries{events};
    FakeFontSource fonts{{{"Xyz", fonts::kBig5CharSet, fonts::kTrueType},
                          {"AR PL UMing TW", fonts::kBig5CharSet, fonts::kTrueType}}};
    FakeFiles files;
    FakeWindow window{events};
    const LinkPorts ports{registry, libraries, fonts, files, kBig5};
    FontLinks links{ports, window};
};
