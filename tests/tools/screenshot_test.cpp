// tidewyn-screenshot as the README runs it: every window drawn, and no message raised on the way
// (a message would fail the run).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tidedump_run.h"

namespace tool_tests {
namespace {

TEST(ScreenshotTool, DrawsEveryWindowAUserCanOpenWithoutAMessage) {
    testing_support::TempDir out;
    const ToolRun run =
        RunTool(SCREENSHOT_PATH, {out.path(), "2024-03-05", "13:47"}, std::chrono::seconds(120));
    ASSERT_EQ(run.exitCode, 0) << run.describe();
    for (const char* name :
         {"conditions.png",      "main-window.png",     "main-window-maximised.png", "constituents.png",
          "harmonic-editor.png", "date-dialog.png",     "main-window-month.png",     "port-dialog.png",
          "depth-dialog.png",    "settings-dialog.png", "configuration.png",         "manual-viewer.png",
          "sunrise-tool.png",    "sunrise-results.png", "adjustment-window.png",     "adjustment-load.png",
          "adjustment-save.png", "heights-entry.png",   "heights-select.png",        "under-keel.png"}) {
        const std::filesystem::path png = std::filesystem::path(out.path()) / name;
        EXPECT_TRUE(std::filesystem::exists(png) && std::filesystem::file_size(png) > 1000) << name;
    }
}

}  // namespace
}  // namespace tool_tests
