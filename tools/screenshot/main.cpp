// Makes screenshots of the program's windows, drawn offscreen in an empty profile:
//   tidewyn-screenshot OUTPUT_FOLDER [YYYY-MM-DD HH:MM]
// writes conditions.png; main-window.png, the main window with a user depth and the read-out
// of a point on the curve; constituents.png, the constituent panel with the port's constants;
// and main-window-maximised.png, on a screen of 1400 x 1000.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/state.h"
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
    // A desktop screen of its own, so that the maximised window has a known size.
    QTemporaryDir screenDir;
    const QString screen = screenDir.filePath("screen.json");
    {
        QFile f(screen);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(R"({"screens": [{"name": "Shot", "width": 1400, "height": 1000}]})") < 0) {
            std::fprintf(stderr, "tidewyn-screenshot: cannot write %s\n", screen.toLocal8Bit().constData());
            return 1;
        }
    }
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screen).toLocal8Bit().constData(), 0);
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
        env.utcNow = [now] { return now; };  // a computer kept in UTC, as Dover's table
        env.localOffsetHours = [](double) { return 0.0; };
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
        // Dover with a charted depth of 2.5 m, so that the read-out line is at its longest.
        auto& s = engine::State();
        engine::DepthRecord depth;
        depth.PortName = s.PortName;
        depth.PortIndex = s.CurrentPort;
        depth.ChartedDepth = 2.5f;
        if (!engine::WriteRecord(s.DepthFilePath, engine::DepthRecord::kSize, s.CurrentPort,
                                 engine::EncodeDepthRecord(depth))
                 .ok())
            return;
        main.RecomputeDay();
        main.Picture1_MouseMove(0, 0, 14.5, 0);
        ok = save(main, out + "/main-window.png") && ok;

        main.showMaximized();
        QApplication::processEvents();
        main.Picture1_MouseMove(0, 0, 14.5, 0);
        ok = save(main, out + "/main-window-maximised.png") && ok;
        main.showNormal();
        QApplication::processEvents();

        // The constituent panel with every term ticked and the port's constants.
        main.mnuLayersShow_Click();
        main.Label1_DblClick();
        for (platform::CheckBox* box :
             {main.chkZ0, main.chkM2, main.chkS2, main.chkK1, main.chkO1, main.chkf4, main.chkf6})
            box->SetValue(1);
        main.RecomputeDay();
        main.Picture1_MouseMove(0, 0, 14.5, 0);
        ok = save(main, out + "/constituents.png") && ok;
    });
    for (const auto& m : dialogs.messages) {
        std::fprintf(stderr, "tidewyn-screenshot: %s\n", m.prompt.c_str());
        ok = false;
    }
    platform::DestroyAllForms();
    return ok ? 0 : 1;
}
