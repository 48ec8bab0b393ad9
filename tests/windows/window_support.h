#pragma once
// Fixture of the window tests: a fresh state, an empty profile in a temporary folder, the
// program folder with the shipped area files, scripted dialogs and a fixed clock.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "engine/test_support.h"
#include "mainwindow/frmcopyright.h"
#include "mainwindow/frmtidewyn.h"
#include "platform/app.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/list_support.h"
#include "platform/picturebox.h"
#include "platform/printer.h"

namespace testing_support {

// Grey dashes of a sun mark at time t in a picture's drawing.
inline int DashesAt(const std::vector<platform::DrawCommand>& list, double t) {
    return static_cast<int>(std::count_if(list.begin(), list.end(), [&](const platform::DrawCommand& c) {
        return c.kind == platform::DrawKind::Line && c.color == platform::kGrey &&
               std::abs(c.x1 - t) < 1e-9 && c.x1 == c.x2;
    }));
}

// Two tables alike in every cell, values that are not numbers counting as alike.
template <typename Table>
bool SameTable(const Table& a, const Table& b) {
    for (int r = 0; r < Table::kRows; ++r)
        for (int c = 0; c < Table::kColumns; ++c)
            if (a(c, r) != b(c, r) && !(std::isnan(a(c, r)) && std::isnan(b(c, r)))) return false;
    return true;
}
inline bool SameCurve(const engine::CurveTable& a, const engine::CurveTable& b) { return SameTable(a, b); }

// Two drawings of the same commands: kind, places, colour and text.
inline bool SameDrawing(const std::vector<platform::DrawCommand>& a,
                        const std::vector<platform::DrawCommand>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const platform::DrawCommand& x, const platform::DrawCommand& y) {
                          return x.kind == y.kind && x.x1 == y.x1 && x.y1 == y.y1 && x.x2 == y.x2 &&
                                 x.y2 == y.y2 && x.color == y.color && x.text == y.text;
                      });
}

// Record n of a file's bytes, as they stand and decoded.
template <typename Record>
std::string RecordBytes(const std::string& file, long n) {
    return file.substr(engine::RecordStart(n, Record::kSize), Record::kSize);
}
template <typename Record>
Record RecordIn(const std::string& file, long n, Record (*decode)(std::span<const uint8_t>)) {
    const std::string bytes = RecordBytes<Record>(file, n);
    return decode(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine::ResetState();
        engine::ResetEnvironment();
        platform::ResetProgramEnding();
        platform::UseLocale("en_GB");
        auto& env = engine::Env();
        env.documentsFolder = home.file("Documents");
        env.localAppDataFolder = home.file(".local/share");
        env.programFolder = programFolder();
        // The clock in UTC on a computer kept in UTC, unless a test gives it a zone.
        env.utcNow = [this] { return now; };
        env.localOffsetHours = [](double) { return 0.0; };
        dialogs = std::make_unique<platform::ScriptedDialogs>();
    }
    void TearDown() override {
        platform::SetModalRunner({});
        engine::SetWriteFault({});
        engine::SetReadFault({});
        engine::SetFileStepFault({});
        platform::SetPrintBackend(nullptr);
        platform::SetChosenPrinter("");
        platform::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        dialogs.reset();
        platform::ResetProgramEnding();
        engine::ResetState();
        engine::ResetEnvironment();
    }
    static std::string programFolder() {
        const char* dir = std::getenv("TIDEWYN_PROGRAM_DIR");
        return dir ? dir : ".";
    }
    // Starts the program as the user does: "Accept" in the conditions window.
    frmtidewyn& open() {
        platform::Get<frmCopyright>().ConditionsOK->click();
        return platform::Get<frmtidewyn>();
    }
    // The main window, started first when it is not open.
    frmtidewyn& mainWindow() {
        return platform::IsLoaded<frmtidewyn>() ? platform::Get<frmtidewyn>() : open();
    }
    // Ends the run's windows and state, as closing the program does; open() starts it again.
    void restart() {
        platform::DestroyAllForms();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        engine::ResetState();
    }
    // A settings file of the test's own, the defaults changed by `change`, before the program
    // starts.
    void storeSettings(const std::function<void(engine::SettingsRecord&)>& change) {
        engine::State().AppDataFolder = home.file(".local/share");
        std::filesystem::create_directories(home.file(".local/share/TidewynTides"));
        engine::SettingsRecord r = engine::DefaultSettingsRecord();
        change(r);
        ASSERT_TRUE(engine::WriteSettingsFile(r).ok());
    }
    // Clicks a menu entry that shows dialog T modal; `user` acts on it and must close it.
    template <typename T>
    void withModal(platform::MenuItem& menu, const std::function<void(T&)>& user) {
        bool ran = false;
        platform::SetModalRunner([&](platform::Form& f) {
            ran = true;
            user(dynamic_cast<T&>(f));
        });
        menu.Click();
        platform::SetModalRunner({});
        EXPECT_TRUE(ran);
        EXPECT_FALSE(platform::IsLoaded<T>());
    }
    // Makes `folder`, holding copies of the shipped area files, the program folder: windows that
    // write area files write there, never into the build.
    static void useAreaCopies(const TempDir& folder) {
        for (const char* name : {"UK.hc", "France.hc"})
            std::filesystem::copy_file(programFolder() + "/" + name, folder.file(name));
        engine::Env().programFolder = folder.path();
    }
    std::string settingsPath() const { return home.file(".local/share/TidewynTides/TdwTidesv9.cfg"); }
    std::string depthPath(const std::string& name = "UK.DEP") const {
        return home.file("Documents/TidewynTides/UserDepths/" + name);
    }

    TempDir home;
    double now = engine::DateSerial(2024, 3, 5) + engine::TimeSerial(13, 47, 0);
    std::unique_ptr<platform::ScriptedDialogs> dialogs;
};

}  // namespace testing_support
