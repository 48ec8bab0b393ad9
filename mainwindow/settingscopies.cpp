#include "mainwindow/settingscopies.h"

#include <algorithm>
#include <stdexcept>

#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/settingsfile.h"
#include "engine/state.h"

using namespace engine;

bool ReloadSettingsCopies(SettingsRecord& record) {
    SharedState& s = State();
    if (!ReadSettingsFile(record).ok()) return false;
    s.Draught = record.Draught;
    s.KeelClearance = record.KeelClearance;
    s.OutputOption = record.OutputOption;
    s.AreaFilePath = Trim(record.AreaPath);
    int16_t port = 0;
    try {
        port = CInt(record.PortIndex);
    } catch (const std::range_error&) {
        port = 0;
    }
    long count = PortCount(s.AreaFilePath);
    if (count > 0) port = static_cast<int16_t>(std::clamp<long>(port, 1, std::min(count, 32767L)));
    s.CurrentPort = port;
    return true;
}
