// Makes screenshots of the program's windows, drawn offscreen in an empty profile:
//   tidewyn-screenshot OUTPUT_FOLDER [YYYY-MM-DD HH:MM]
// writes conditions.png; main-window.png, the main window with a user depth and the read-out
// of a point on the curve; main-window-maximised.png, on a screen of 1400 x 1000;
// constituents.png, the constituent panel with the port's constants; harmonic-editor.png, the
// harmonic constants editor with Dover loaded; date-dialog.png, on the clock's date;
// main-window-month.png, with the month view; port-dialog.png, Dover selected; depth-dialog.png,
// Dover's depth and notes; settings-dialog.png, the default settings; configuration.png, the
// configuration and the ports' notes; manual-viewer.png, the manual on its first page;
// sunrise-tool.png, with Dover's position; sunrise-results.png, the month's sun times on the day
// shown; adjustment-window.png, the harmonic adjustment window on Saint Nazaire and Donges on the
// day of the sample height file, whose heights at Montoir are drawn between them, with the
// read-out at 14:30; adjustment-load.png and adjustment-save.png, its dialogs for loading the
// sites' constants and saving the intermediate location, France.hc listed; heights-entry.png,
// its observed-heights entry with Montoir.ht's heights listed and a time and height picked; and
// heights-select.png, its height-file dialog with Montoir.ht chosen; and under-keel.png, the
// main window on Dover for a bar drying 1.5 m, a draught of 1.8 m and a clearance of 0.5 m, the
// read-out where the dotted curve rises through 0, with numbered marks on what the manual explains.
//   tidewyn-screenshot --printed-curve OUTPUT.png YYYY-MM-DD
// prints Dover's curve page for that day, summer time switched on, through a PDF file and
// renders the page at 100 dpi.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPainter>
#include <QPdfDocument>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "adjustment/frmadjustfileselect.h"
#include "adjustment/frmadjustsave.h"
#include "adjustment/frmharmadjust.h"
#include "adjustment/frmheightenter.h"
#include "adjustment/frmselectheightfile.h"
#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "maintenance/frmharmedit.h"
#include "mainwindow/frmchartdepth.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmpdfreader.h"
#include "mainwindow/frmshowconf.h"
#include "mainwindow/frmtidewyn.h"
#include "mainwindow/frmtimdat.h"
#include "output/frmriseresults.h"
#include "output/frmsunrise.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/pdfview.h"
#include "platform/printer.h"

namespace {
// The day of the sample height file Montoir.ht.
constexpr int kSampleYear = 2026, kSampleMonth = 3, kSampleDay = 21;

bool save(const QPixmap& shot, const QString& path) {
    bool ok = shot.save(path);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.toUtf8().constData());
    return ok;
}

bool save(QWidget& w, const QString& path) {
    QApplication::processEvents();
    return save(w.grab(), path);
}
// The current port's charted depth, stored as the depth dialog stores it with the port's
// notes kept, and the day computed again.
bool setChartedDepth(frmtidewyn& main, float metres) {
    const auto& s = engine::State();
    engine::Bytes stored;
    if (!engine::ReadRecord(s.DepthFilePath, engine::DepthRecord::kSize, s.CurrentPort, stored).ok())
        return false;
    engine::DepthRecord depth = engine::DecodeDepthRecord(stored);
    depth.ChartedDepth = metres;
    if (!engine::WriteRecord(s.DepthFilePath, engine::DepthRecord::kSize, s.CurrentPort,
                             engine::EncodeDepthRecord(depth))
             .ok())
        return false;
    main.RecomputeDay();
    return true;
}

// Lets the manual viewer draw its first page, which it renders on other threads: true once the
// page shows dark text, false when it does not within five seconds.
bool awaitPage(frmPDFReader& viewer) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        QEventLoop loop;
        QTimer::singleShot(100, &loop, &QEventLoop::quit);
        loop.exec();
        const QImage shown = viewer.GdViewer1->viewport()->grab().toImage();
        for (int y = 0; y < shown.height(); y += 2)
            for (int x = 0; x < shown.width(); x += 2)
                if (qGray(shown.pixel(x, y)) < 100) return true;
    }
    std::fprintf(stderr, "tidewyn-screenshot: the manual viewer drew no page\n");
    return false;
}

// Selects the line `text` of a list, as a click on it does.
bool pick(platform::ListBox* list, const char* text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) {
        std::fprintf(stderr, "tidewyn-screenshot: %s is not listed\n", text);
        return false;
    }
    list->SetListIndex(list->row(found.front()));
    return true;
}

// Runs `open`, which shows dialog T modal, and hands the dialog to `user`, which closes it;
// false when no dialog opened.
template <typename T>
bool withModal(const std::function<void()>& open, const std::function<void(T&)>& user) {
    bool shown = false;
    platform::SetModalRunner([&](platform::Form& f) {
        if (auto* dialog = dynamic_cast<T*>(&f)) {
            shown = true;
            user(*dialog);
        } else {
            f.Unload();  // another window than the one expected
        }
    });
    open();
    platform::SetModalRunner({});
    if (!shown) std::fprintf(stderr, "tidewyn-screenshot: a dialog did not open\n");
    return shown;
}

// The main window's dialogs and tools on Dover and its month view. The date dialog is answered
// with the date shown, so that the month view follows a fresh day without the read-out line,
// which the month list would cover; the other windows are closed without a change (Cancel,
// Exit or the close box).
bool saveMainWindowDialogs(frmtidewyn& main, const QString& out) {
    bool ok = true;
    const auto shot = [&](QWidget& w, const char* name) { ok = save(w, out + "/" + name) && ok; };
    ok = withModal<Frmtimdat>([&] { main.mnutidedate.Click(); },
                              [&](Frmtimdat& d) {
                                  shot(d, "date-dialog.png");
                                  d.date1ok->click();
                              }) &&
         ok;
    main.mnumonth.Click();
    shot(main, "main-window-month.png");

    // The current port's line clicked, as the user finds it.
    ok = withModal<frmconfig>([&] { main.mnuPortList.Click(); },
                              [&](frmconfig& d) {
                                  const long current = engine::State().CurrentPort;
                                  for (int i = 0; i < d.portlist2->ListCount(); ++i)
                                      if (d.portlist2->ItemData(i) == current) d.portlist2->SetListIndex(i);
                                  shot(d, "port-dialog.png");
                                  d.portconfigcancel->click();
                              }) &&
         ok;
    ok = withModal<frmChartdepth>([&] { main.mnuchartdepth.Click(); },
                                  [&](frmChartdepth& d) {
                                      shot(d, "depth-dialog.png");
                                      d.close();  // Exit would compute the day again
                                  }) &&
         ok;
    ok = withModal<frmoutoptions>([&] { main.mnuoutputoptions.Click(); },
                                  [&](frmoutoptions& d) {
                                      shot(d, "settings-dialog.png");
                                      d.Command1->click();
                                  }) &&
         ok;
    ok = withModal<frmshowconf>([&] { main.Mnushowconfig.Click(); },
                                [&](frmshowconf& d) {
                                    shot(d, "configuration.png");
                                    d.Confexit->click();
                                }) &&
         ok;

    main.mnuHelp.Click();
    auto& viewer = platform::Get<frmPDFReader>();
    ok = awaitPage(viewer) && ok;
    shot(viewer, "manual-viewer.png");
    viewer.mnuExit_Click();

    // The sunrise tool on Dover's position, and its results on the day shown.
    main.mnusunrise.Click();
    auto& sunrise = platform::Get<Frmsunrise>();
    shot(sunrise, "sunrise-tool.png");
    ok = withModal<Frmriseresults>([&] { sunrise.ok->click(); },
                                   [&](Frmriseresults& results) {
                                       shot(results, "sunrise-results.png");
                                       results.cancel->click();
                                   }) &&
         ok;
    return ok;
}

// Dover for a bar that dries 1.5 m, with a draught of 1.8 m and a clearance of 0.5 m under
// option 3, set as the user sets them; the read-out at 15:50, where the dotted curve (the
// water over the bar less draught and clearance) rises through 0 on 5 March 2024. Numbered
// marks stand beside the day list, the read-out line, the red line, that crossing, the
// springs/neaps bar and the time-basis note.
bool saveUnderKeel(frmtidewyn& main, const QString& path) {
    bool ok = withModal<frmoutoptions>([&] { main.mnuoutputoptions.Click(); },
                                       [&](frmoutoptions& d) {
                                           d.Option3->SetValue(true);
                                           d.draughttext->SetText("1.8");
                                           d.ukctext->SetText("0.5");
                                           d.optionsok->click();
                                       });
    ok = setChartedDepth(main, -1.5f) && ok;
    const double hour = 15.0 + 50.0 / 60.0;
    main.Picture1_MouseMove(0, 0, hour, 0);
    QApplication::processEvents();
    QPixmap shot = main.grab();
    QPainter p(&shot);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(13);
    p.setFont(font);
    const auto at = [&](QWidget* w, QPointF local) { return QPointF(w->mapTo(&main, local.toPoint())); };
    const auto mark = [&](int n, QPointF centre) {
        const double r = 10;
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(QColor(0xc0, 0x39, 0x2b));
        p.drawEllipse(centre, r, r);
        p.drawText(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), Qt::AlignCenter, QString::number(n));
    };
    // Beside a label's text, to its right.
    const auto after = [&](platform::Label* l, double y) {
        const QRect text =
            l->fontMetrics().boundingRect(QRect(0, 0, l->width(), 1000), Qt::TextWordWrap, l->text());
        return at(l, QPointF(text.width() + 18, y));
    };
    const QPointF crossing = main.Picture1->ToPixel(QPointF(hour, 0));
    mark(1, at(main.daystide1, QPointF(main.daystide1->width() * 0.35, main.daystide1->height() * 0.55)));
    mark(2, after(main.lblrate, main.lblrate->height() * 0.5));
    mark(3, at(main.Picture1, QPointF(crossing.x() + 16, main.Picture1->height() * 0.62)));
    mark(4, at(main.Picture1, crossing + QPointF(-16, -16)));
    mark(5, at(main.pctSpringsStatus, QPointF(main.pctSpringsStatus->width() + 14, 4)));
    mark(6, after(main.disclaimer, main.disclaimer->height() * 0.5));
    p.end();
    return save(shot, path) && ok;
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
        ok = withModal<frmharmedit>([&] { main.mnumaintainfile_Click(); },
                                    [&](frmharmedit& editor) {
                                        ok = pick(editor.fileList, "UK.hc") && ok;
                                        editor.portlist->SetListIndex(engine::State().CurrentPort - 1);
                                        ok = save(editor, out + "/harmonic-editor.png") && ok;
                                        editor.Unload();
                                    }) &&
             ok;

        ok = saveMainWindowDialogs(main, out) && ok;
        ok = saveUnderKeel(main, out + "/under-keel.png") && ok;

        // The adjustment window on Saint Nazaire (France.hc, chosen as the user chooses it) and
        // Donges on the sample's day, opened from the Advanced menu once the double-click has
        // shown its entry; last, as closing it ends the program. Montoir's heights chosen in
        // the height-file dialog, and the read-out at 14:30, as under the pointer.
        const double sampleDay = engine::DateSerial(kSampleYear, kSampleMonth, kSampleDay);
        env.utcNow = [sampleDay] { return sampleDay + engine::TimeSerial(10, 0, 0); };
        dialogs.fileAnswers.push_back(env.programFolder + "/France.hc");
        ok = withModal<frmconfig>([&] { main.mnuArea_Click(); },
                                  [](frmconfig& ports) {
                                      ports.txtSearch->TypeText("Saint Nazaire");
                                      ports.portconfigok->click();
                                  }) &&
             ok;
        main.mnuAdjustLoad_Click();
        auto& adjust = platform::Get<frmHarmAdjust>();
        adjust.mnuDataHeightSelect_Click();
        auto& heights = platform::Get<frmSelectHeightFile>();
        if (!pick(heights.File1, "Montoir.ht")) {
            ok = false;
            return;
        }
        heights.cmdOK_Click();
        adjust.Picture2_MouseMove(0, 0, 14.5, 0);
        ok = save(adjust, out + "/adjustment-window.png") && ok;

        // Its load and save dialogs, France.hc listed: Donges chosen to load, and Montoir named
        // to be added to the area; neither loads nor saves.
        adjust.mnuDataLoad_Click();
        auto& load = platform::Get<FrmAdjustfileselect>();
        ok = pick(load.File1, "France.hc") && pick(load.List1, "Donges") && ok;
        ok = save(load, out + "/adjustment-load.png") && ok;
        load.close();
        adjust.MnuFileSave_Click();
        auto& store = platform::Get<frmAdjustSave>();
        ok = pick(store.File1, "France.hc") && ok;
        store.Text1->SetText("Montoir");
        ok = save(store, out + "/adjustment-save.png") && ok;
        store.close();

        // Its height dialogs: Montoir.ht's heights listed with a time and a height picked, and
        // Montoir.ht chosen to be drawn; the close boxes keep the heights drawn as they are.
        adjust.mnuObsEnterData_Click();
        auto& entry = platform::Get<frmHeightEnter>();
        ok = pick(entry.File1, "Montoir.ht") && ok;
        entry.cmdOpen->click();
        for (const auto& [list, line] :
             {std::pair{entry.lstHours, 14}, std::pair{entry.lstMins, 6}, std::pair{entry.lstMetres, 4},
              std::pair{entry.lstCms, 3}, std::pair{entry.lstMMs, 5}})
            list->SetListIndex(line);
        ok = save(entry, out + "/heights-entry.png") && ok;
        entry.close();
        adjust.mnuDataHeightSelect_Click();
        auto& chosen = platform::Get<frmSelectHeightFile>();
        ok = pick(chosen.File1, "Montoir.ht") && ok;
        ok = save(chosen, out + "/heights-select.png") && ok;
        chosen.close();
    });
    for (const auto& m : dialogs.messages) {
        std::fprintf(stderr, "tidewyn-screenshot: %s\n", m.prompt.c_str());
        ok = false;
    }
    platform::DestroyAllForms();
    return ok ? 0 : 1;
}
