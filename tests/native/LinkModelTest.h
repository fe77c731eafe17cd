// The link model's tests: the model with its doubles.
#pragma once

#include <gtest/gtest.h>

#include "LinkDoubles.h"

// The model with its doubles, and a font list with the reserved row 0 and two fonts.
class LinkModelTest : public ::testing::Test {
protected:
    void SetUp() override { FontList = {"SystemDefaultEUDCFont", "Xyz", "AR PL UMing TW"}; }

    Events events;
    FakeRegistry registry{events};
    FakeLibraries libraries{events};
    FakeWindow window{events};
    FontLinks links{registry, libraries, window, kBig5};
};
