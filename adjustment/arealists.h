#pragma once
// What the adjustment window's dialogs share: their place on the screen, and the area files of
// the program folder with the names of their locations.

#include <optional>
#include <string>

#include "platform/controls.h"
#include "platform/forms.h"

// At half the difference of the dialog's and the adjustment window's sizes from the screen's
// corner, kept on the screen.
void PlaceOverAdjustment(platform::Form& dialog);

// The area files of the program folder, the editors' work file left out.
void ListAreaFiles(platform::FileListBox& files);

// Highlights the file of that path in the list without its Click, or nothing when it is not
// listed: the list then shows the file the dialog holds.
void ReselectFile(platform::FileListBox& files, const std::string& path);

// The locations of an area file in record order, their names without the blanks around them, in
// place of the list's lines; false, told with the path and the reason, and the list as it was,
// when the file cannot be read.
bool ListLocations(const std::string& areaPath, platform::ListBox& list);

// The name of location k (from 1), also of a damaged record; told when it cannot be read.
std::optional<std::string> LocationName(const std::string& areaPath, long k);
