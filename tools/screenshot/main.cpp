// Makes screenshots of the program's windows, drawn offscreen in an empty profile:
//   tidewyn-screenshot OUTPUT_FOLDER [YYYY-MM-DD HH:MM]
// writes conditions.png and main-window.png.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "engine/dates.h"
#include "engine/environment.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"

namespace {
bool save(QWidget& w, const QString& path) {
    QApplication::processEvents();
    bool ok = w.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.toUtf8().constData());
    return ok;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: tidewyn-screenshot OUTPUT_FOLDER [YYYY-MM-DD HH:MM]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::Timer::SetTicking(false);
    QTemporaryDir home;
    platform::InitEnvironment();
    auto& env = engine::Env();
    env.documentsFolder = (home.path() + "/Documents").toStdString();
    env.localAppDataFolder = (home.path() + "/.local/share").toStdString();
    // The program folder, with the shipped area files, is bin/ beside this tool's folder.
    env.programFolder = QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../bin").toStdString();
    if (argc == 4) {
        const auto date = engine::ReadIsoDate(argv[2]);
        const auto clock = engine::ReadClockTime(argv[3]);
        if (!date || !clock) {
            std::fprintf(stderr, "tidewyn-screenshot: the clock must be given as YYYY-MM-DD HH:MM\n");
            return 2;
        }
        const double now = engine::DateSerial(date->year, date->month, date->day) +
                           engine::TimeSerial(clock->hour, clock->minute, 0);
        env.now = [now] { return now; };
    }
    QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    // Nothing may wait on a dialog here: every message is answered and counts as a failure.
    platform::ScriptedDialogs dialogs;
    bool ok = false;
    platform::Run([&] {
        frmCopyright& start = platform::Get<frmCopyright>();
        ok = save(start, out + "/conditions.png");
        start.ConditionsOK_Click();
        frmtidewyn& main = platform::Get<frmtidewyn>();
        main.Picture1_MouseMove(0, 0, 14.5, 0);
        ok = save(main, out + "/main-window.png") && ok;
    });
    for (const auto& m : dialogs.messages) {
        std::fprintf(stderr, "tidewyn-screenshot: %s\n", m.prompt.c_str());
        ok = false;
    }
    platform::DestroyAllForms();
    return ok ? 0 : 1;
}
