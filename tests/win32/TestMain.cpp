// The Windows tests start the application object as the entry point would, without
// running it, so that dialogs find their instance, names and colours.
#include <gtest/gtest.h>

#include "app/FontLinkApp.h"

int main(int argc, char** argv)
{
    theApp.Initialize(::GetModuleHandleA(nullptr));
    theApp.SetDialogBkColor(RGB(192, 192, 192), RGB(0, 0, 0));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
