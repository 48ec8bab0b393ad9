#pragma once
// Fixture of the window tests: a fresh state, an empty profile in a temporary folder, the
// program folder with the shipped area files, scripted dialogs and a fixed clock.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "engine/dates.h"
#include "engine/environment.h"
#include "engine/state.h"
#include "engine/test_support.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/printer.h"

namespace testing_support {

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
        env.now = [this] { return now; };
        dialogs = std::make_unique<platform::ScriptedDialogs>();
    }
    void TearDown() override {
        platform::SetModalRunner({});
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
    std::string settingsPath() const { return home.file(".local/share/TidewynTides/TdwTidesv9.cfg"); }
    std::string depthPath(const std::string& name = "UK.DEP") const {
        return home.file("Documents/TidewynTides/UserDepths/" + name);
    }

    TempDir home;
    double now = engine::DateSerial(2024, 3, 5) + engine::TimeSerial(13, 47, 0);
    std::unique_ptr<platform::ScriptedDialogs> dialogs;
};

}  // namespace testing_support
