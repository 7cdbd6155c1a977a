// Test entry point: every test runs headless under the offscreen platform
// (but the window pictures of tools/screenshots),
// with one QApplication for the whole run. Started with "--child=NAME" the
// program runs that child of a test instead (support/child_process.h).
#include <QApplication>
#include <gtest/gtest.h>

#include "support/child_process.h"

int main(int argc, char** argv) {
    // Pictures of the windows (tools/screenshots) need the X server given.
    if (!qEnvironmentVariableIsSet("OSTREL_SCREENSHOTS")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (const std::optional<int> code = testing_support::RunChildFromArguments(app.arguments())) {
        // A fixture's assertion that failed in the child fails the child.
        const bool failed = ::testing::UnitTest::GetInstance()->ad_hoc_test_result().Failed();
        return *code != 0 ? *code : failed ? 1 : 0;
    }
    return RUN_ALL_TESTS();
}
