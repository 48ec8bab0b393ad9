#pragma once
// The settings copies that the port and depth dialogs refresh from the settings file.

#include "engine/records.h"

// Reads the settings file into `record` and sets Draught, KeelClearance, OutputOption,
// AreaFilePath and CurrentPort from it; a stored port outside the area file is brought into
// its range, as the main window's load does. False when the file cannot be read: the copies
// then stay as they are.
bool ReloadSettingsCopies(engine::SettingsRecord& record);
