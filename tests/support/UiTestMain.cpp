// Test programs that drive windows run with one application object for the
// whole process, on the offscreen platform unless the caller chose another.

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/UiApplication.h"

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    vellumry::ui::UiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
