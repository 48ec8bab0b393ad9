// Test entry point: points HOME, the XDG folders and the locale at the test's own values
// before anything runs, so no test touches a real profile, however it is started.
#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef TIDEWYN_WITH_QT
#include <QApplication>

#include "platform/app.h"
#include "platform/controls.h"
#endif

#ifdef TIDEWYN_WITH_QT
// The offscreen platform warns about window operations it cannot do; those say nothing about
// the program.
static void quietOffscreen(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (message.contains("This plugin does not support")) return;
    if (type != QtDebugMsg) std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}
#endif

int main(int argc, char** argv) {
    const std::string home = TIDEWYN_TEST_HOME;
    std::filesystem::create_directories(home + "/runtime");
    std::filesystem::permissions(home + "/runtime", std::filesystem::perms::owner_all);
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_DOCUMENTS_DIR", (home + "/Documents").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
    setenv("LC_ALL", "C.UTF-8", 1);
#ifdef TIDEWYN_WITH_QT
    // A screen wider than it is high, as desktops are, so that no window test can mistake the
    // screen's width for its height. One file for each process: test processes run side by
    // side, and none may find another's file half written or replaced.
    const std::string screen = home + "/offscreen-screen-" + std::to_string(getpid()) + ".json";
    std::ofstream(screen) << R"({"screens": [{"name": "Test", "width": 1024, "height": 768}]})";
    // A test entry that needs a real display (the X11 selection) names its platform.
    const char* platformName = std::getenv("TIDEWYN_TEST_QPA");
    setenv("QT_QPA_PLATFORM", platformName ? platformName : ("offscreen:configfile=" + screen).c_str(), 1);
    struct RemovedAtExit {
        std::string path;
        ~RemovedAtExit() {
            std::error_code ec;
            std::filesystem::remove(path, ec);
        }
    } screenFile{screen};
#else
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
#endif
    setenv("TIDEWYN_SOURCE_DIR", TIDEWYN_SOURCE_DIR, 0);
    setenv("TIDEWYN_PROGRAM_DIR", TIDEWYN_PROGRAM_DIR, 0);
    ::testing::InitGoogleTest(&argc, argv);
#ifdef TIDEWYN_WITH_QT
    qInstallMessageHandler(quietOffscreen);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::Timer::SetTicking(false);  // timers fire only when a test fires them
#endif
    // The C library's locale of a desktop in another country, set after start-up as the Qt
    // application sets it; the tests' own locale facts stay as they are.
    if (const char* cLocale = std::getenv("TIDEWYN_TEST_C_LOCALE")) {
        if (!std::setlocale(LC_ALL, cLocale)) {
            std::fprintf(stderr, "The locale %s is not installed (scripts/install-deps.sh makes it).\n",
                         cLocale);
            return 1;
        }
    }
    return RUN_ALL_TESTS();
}
