// GoogleTest entry for the window tests: the same guarded application as the
// program, on Qt's offscreen platform unless a display is asked for.
#include "app/guarded_application_qt.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    velbrin::GuardedApplication application;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
