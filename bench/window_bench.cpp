// The main window as the user feels it, offscreen: "Next day" (the handler, the recompute and
// the picture's redraw, painted), a resize of the window (laid out and painted again) and the
// yearly high-water export from its menu, after the window has drawn itself.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/state.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"

namespace {

// The program started as the user starts it, in an empty profile, on Dover and a fixed day.
class OpenWindow {
public:
    OpenWindow() {
        auto& env = engine::Env();
        env.documentsFolder = (home_.path() + "/Documents").toStdString();
        env.localAppDataFolder = (home_.path() + "/.local/share").toStdString();
        env.programFolder = TIDEWYN_PROGRAM_DIR;
        const double now = engine::DateSerial(2024, 3, 5) + engine::TimeSerial(13, 47, 0);
        env.utcNow = [now] { return now; };
        env.localOffsetHours = [](double) { return 0.0; };
        platform::Get<frmCopyright>().ConditionsOK->click();
        window_ = &platform::Get<frmtidewyn>();
        QApplication::processEvents();
    }
    ~OpenWindow() { platform::DestroyAllForms(); }
    frmtidewyn& window() { return *window_; }
    // A message would mean the window did something else than what is measured.
    bool quiet() const { return dialogs_.messages.empty(); }
    size_t messages() const { return dialogs_.messages.size(); }

private:
    QTemporaryDir home_;
    platform::ScriptedDialogs dialogs_;
    frmtidewyn* window_ = nullptr;
};

void BM_NextDay(benchmark::State& state) {
    OpenWindow open;
    frmtidewyn& w = open.window();
    for (auto _ : state) {
        w.Nextday->click();
        QApplication::processEvents();
    }
    if (!open.quiet()) state.SkipWithError("the window showed a message");
}
BENCHMARK(BM_NextDay)->Unit(benchmark::kMillisecond);

void BM_Resize(benchmark::State& state) {
    OpenWindow open;
    frmtidewyn& w = open.window();
    const QSize design = w.size(), larger = design + QSize(300, 200);
    bool grow = true;
    for (auto _ : state) {
        w.resize(grow ? larger : design);
        QApplication::processEvents();
        grow = !grow;
    }
    if (!open.quiet()) state.SkipWithError("the window showed a message");
}
BENCHMARK(BM_Resize)->Unit(benchmark::kMillisecond);

void BM_YearlyHighWatersFromTheMenu(benchmark::State& state) {
    OpenWindow open;
    frmtidewyn& w = open.window();
    QTemporaryDir folder;
    engine::Env().programFolder = folder.path().toStdString();
    size_t runs = 0;
    for (auto _ : state) {
        w.mnuYears.Click();
        ++runs;
    }
    // One message a run: the file written.
    if (open.messages() != runs) state.SkipWithError("the export failed");
}
BENCHMARK(BM_YearlyHighWatersFromTheMenu)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    platform::Timer::SetTicking(false);
    platform::UseLocale("en_GB");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
