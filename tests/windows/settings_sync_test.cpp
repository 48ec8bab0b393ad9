// The settings saved with only the folder's sync failed: the new file is in place, so every
// window that saves the settings goes on as saved and tells the sync failure alone.
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "mainwindow/frmconfig.h"
#include "mainwindow/frmoutoptions.h"
#include "mainwindow/frmtidewyn.h"
#include "window_support.h"

using namespace engine;
using namespace platform;

class SettingsSync : public testing_support::WindowTest {};

TEST_F(SettingsSync, EverySaverKeepsWhatTheFileHolds) {
    struct Case {
        const char* saver;
        std::function<void(frmtidewyn&)> save;
        float SettingsRecord::*field;
        std::function<float()> used;  // the same value as the program uses it
        float saved;
    };
    const auto port = [] { return static_cast<float>(State().CurrentPort); };
    const Case cases[] = {
        {"Program Options",
         [this](frmtidewyn& w) {
             withModal<frmoutoptions>(w.mnuoutputoptions, [](frmoutoptions& d) {
                 d.draughttext->SetText("1.5");
                 d.optionsok->click();
             });
         },
         &SettingsRecord::Draught, [] { return State().Draught; }, 1.5f},
        {"the port dialog",
         [this](frmtidewyn& w) {
             withModal<frmconfig>(w.mnuPortList, [](frmconfig& d) {
                 for (int i = 0; i < d.portlist2->ListCount(); ++i)
                     if (d.portlist2->ItemData(i) == 12) d.portlist2->SetListIndex(i);
                 d.portconfigok->click();
             });
         },
         &SettingsRecord::PortIndex, port, 12.0f},
        {"Next Port", [](frmtidewyn& w) { w.mnuNextPort.Click(); }, &SettingsRecord::PortIndex, port, 78.0f},
        {"Previous Port", [](frmtidewyn& w) { w.mnuPrevPort.Click(); }, &SettingsRecord::PortIndex, port,
         76.0f},
    };
    const std::string folder = std::filesystem::path(settingsPath()).parent_path().string();
    const std::string warning =
        settingsPath() + " was written, but its folder could not be synced: " + std::strerror(EIO);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saver);
        storeSettings([](SettingsRecord&) {});
        frmtidewyn& w = open();
        dialogs->messages.clear();
        SetFileStepFault([&](FileStep step, const std::string& path) {
            return step == FileStep::FolderSync && path == folder ? EIO : 0;
        });
        c.save(w);
        SetFileStepFault({});
        ASSERT_EQ(dialogs->messages.size(), 1u);
        EXPECT_EQ(dialogs->messages[0].prompt, warning);
        SettingsRecord r;
        ASSERT_TRUE(ReadSettingsFile(r).ok());
        EXPECT_EQ(r.*c.field, c.saved);
        EXPECT_EQ(State().Settings.*c.field, c.saved);
        EXPECT_EQ(c.used(), c.saved);
        restart();
    }
}
