// Makes screenshots of the program's windows, drawn offscreen in an empty profile:
//   tidewyn-screenshot OUTPUT_FOLDER [YYYY-MM-DD HH:MM]
// writes conditions.png; main-window.png, the main window with a user depth and the read-out
// of a point on the curve; constituents.png, the constituent panel with the port's constants;
// harmonic-editor.png, the harmonic constants editor with Dover loaded;
// adjustment-window.png, the harmonic adjustment window on Saint Nazaire and Donges on the day of
// the sample height file, whose heights at Montoir are drawn between them, with the read-out at
// 14:30; adjustment-load.png and adjustment-save.png, its dialogs for loading the sites' constants
// and saving the intermediate location, France.hc listed; and
// main-window-maximised.png, on a screen of 1400 x 1000.
//   tidewyn-screenshot --printed-curve OUTPUT.png YYYY-MM-DD
// prints Dover's curve page for that day, summer time switched on, through a PDF file and
// renders the page at 100 dpi.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPdfDocument>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "adjustment/frmadjustfileselect.h"
#include "adjustment/frmadjustsave.h"
#include "adjustment/frmharmadjust.h"
#include "adjustment/frmselectheightfile.h"
#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "maintenance/frmharmedit.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/printer.h"

namespace {
// The day of the sample height file Montoir.ht.
constexpr int kSampleYear = 2026, kSampleMonth = 3, kSampleDay = 21;

bool save(QWidget& w, const QString& path) {
    QApplication::processEvents();
    bool ok = w.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.toUtf8().constData());
    return ok;
}
// The current port's charted depth, stored as the depth dialog stores it, and the day computed
// again.
bool setChartedDepth(frmtidewyn& main, float metres) {
    const auto& s = engine::State();
    engine::DepthRecord depth;
    depth.PortName = s.PortName;
    depth.PortIndex = s.CurrentPort;
    depth.ChartedDepth = metres;
    if (!engine::WriteRecord(s.DepthFilePath, engine::DepthRecord::kSize, s.CurrentPort,
                             engine::EncodeDepthRecord(depth))
             .ok())
        return false;
    main.RecomputeDay();
    return true;
}

// Dover's curve page for `day` at noon, summer time on, option 3 with the default draught and
// clearance and a charted depth of 2.5 m.
int printCurvePage(const QString& output, const char* day) {
    const auto date = engine::ReadIsoDate(day);
    if (!date) {
        std::fprintf(stderr, "tidewyn-screenshot: the day must be given as YYYY-MM-DD\n");
        return 2;
    }
    const double now = engine::DateSerial(date->year, date->month, date->day) + engine::TimeSerial(12, 0, 0);
    engine::Env().utcNow = [now] { return now; };
    engine::Env().localOffsetHours = [](double) { return 0.0; };
    auto& s = engine::State();
    s.AppDataFolder = engine::Env().localAppDataFolder;
    QDir().mkpath(QString::fromStdString(s.AppDataFolder + "/TidewynTides"));
    engine::SettingsRecord settings = engine::DefaultSettingsRecord();
    settings.SummerTime = -1;
    if (!engine::WriteSettingsFile(settings).ok()) {
        std::fprintf(stderr, "tidewyn-screenshot: cannot write the settings\n");
        return 1;
    }
    QTemporaryDir pdfDir;
    platform::PdfFileBackend pdf(pdfDir.filePath("curve.pdf").toStdString());
    platform::SetPrintBackend(&pdf);
    platform::ScriptedDialogs dialogs;  // "Print curve?" answered Yes
    bool ok = false;
    platform::Run([&] {
        platform::Get<frmCopyright>().ConditionsOK_Click();
        frmtidewyn& main = platform::Get<frmtidewyn>();
        if (!setChartedDepth(main, 2.5f)) return;
        main.mnudayprint_Click();
        ok = true;
    });
    platform::SetPrintBackend(nullptr);
    for (const auto& m : dialogs.messages) {
        if (m.prompt.find("Print curve?") != std::string::npos) continue;
        std::fprintf(stderr, "tidewyn-screenshot: %s\n", m.prompt.c_str());
        ok = false;
    }
    platform::DestroyAllForms();
    QPdfDocument document;
    if (!ok || document.load(QString::fromStdString(pdf.Path())) != QPdfDocument::Error::None ||
        document.pageCount() != 1) {
        std::fprintf(stderr, "tidewyn-screenshot: the page was not printed\n");
        return 1;
    }
    const QSizeF points = document.pagePointSize(0);
    QImage page(QSize(qRound(points.width() * 100 / 72), qRound(points.height() * 100 / 72)),
                QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter p(&page);
        p.drawImage(0, 0, document.render(0, page.size()));
    }
    ok = page.save(output);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", output.toUtf8().constData());
    return ok ? 0 : 1;
}
}  // namespace

int main(int argc, char** argv) {
    const bool printedCurve = argc == 4 && std::string(argv[1]) == "--printed-curve";
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr,
                     "usage: tidewyn-screenshot OUTPUT_FOLDER [YYYY-MM-DD HH:MM]\n"
                     "       tidewyn-screenshot --printed-curve OUTPUT.png YYYY-MM-DD\n");
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
    if (printedCurve) return printCurvePage(argv[2], argv[3]);
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
        if (!setChartedDepth(main, 2.5f)) return;
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

        // The harmonic constants editor over the main window, Dover loaded from UK.hc.
        main.HideLevelControls();
        platform::SetModalRunner([&](platform::Form& f) {
            auto& editor = dynamic_cast<frmharmedit&>(f);
            const auto names = editor.fileList->findItems("UK.hc", Qt::MatchExactly);
            if (!names.isEmpty()) editor.fileList->SetListIndex(editor.fileList->row(names.front()));
            editor.portlist->SetListIndex(engine::State().CurrentPort - 1);
            ok = save(editor, out + "/harmonic-editor.png") && ok;
            editor.Unload();
        });
        main.mnumaintainfile_Click();
        platform::SetModalRunner({});

        // The adjustment window on Saint Nazaire (France.hc, chosen as the user chooses it) and
        // Donges on the sample's day, opened from the Advanced menu once the double-click has
        // shown its entry; last, as closing it ends the program. Montoir's heights chosen in
        // the height-file dialog, and the read-out at 14:30, as under the pointer.
        const double sampleDay = engine::DateSerial(kSampleYear, kSampleMonth, kSampleDay);
        env.utcNow = [sampleDay] { return sampleDay + engine::TimeSerial(10, 0, 0); };
        dialogs.fileAnswers.push_back(env.programFolder + "/France.hc");
        platform::SetModalRunner([](platform::Form& f) {
            auto& ports = dynamic_cast<frmconfig&>(f);
            ports.txtSearch->TypeText("Saint Nazaire");
            ports.portconfigok->click();
        });
        main.mnuArea_Click();
        platform::SetModalRunner({});
        main.mnuAdjustLoad_Click();
        auto& adjust = platform::Get<frmHarmAdjust>();
        adjust.mnuDataHeightSelect_Click();
        auto& heights = platform::Get<frmSelectHeightFile>();
        const auto sample = heights.File1->findItems("Montoir.ht", Qt::MatchExactly);
        if (sample.isEmpty()) {
            std::fprintf(stderr, "tidewyn-screenshot: Montoir.ht is not in the program folder\n");
            ok = false;
            return;
        }
        heights.File1->SetListIndex(heights.File1->row(sample.front()));
        heights.cmdOK_Click();
        adjust.Picture2_MouseMove(0, 0, 14.5, 0);
        ok = save(adjust, out + "/adjustment-window.png") && ok;

        // Its load and save dialogs, France.hc listed: Donges chosen to load, and Montoir named
        // to be added to the area; neither loads nor saves.
        const auto pick = [&ok](platform::ListBox* list, const char* line) {
            const auto found = list->findItems(line, Qt::MatchExactly);
            if (found.isEmpty()) {
                std::fprintf(stderr, "tidewyn-screenshot: %s is not listed\n", line);
                ok = false;
                return;
            }
            list->SetListIndex(list->row(found.front()));
        };
        adjust.mnuDataLoad_Click();
        auto& load = platform::Get<FrmAdjustfileselect>();
        pick(load.File1, "France.hc");
        pick(load.List1, "Donges");
        ok = save(load, out + "/adjustment-load.png") && ok;
        load.close();
        adjust.MnuFileSave_Click();
        auto& store = platform::Get<frmAdjustSave>();
        pick(store.File1, "France.hc");
        store.Text1->SetText("Montoir");
        ok = save(store, out + "/adjustment-save.png") && ok;
        store.close();
    });
    for (const auto& m : dialogs.messages) {
        std::fprintf(stderr, "tidewyn-screenshot: %s\n", m.prompt.c_str());
        ok = false;
    }
    platform::DestroyAllForms();
    return ok ? 0 : 1;
}
