#pragma once
// Message boxes and file dialogs. Every one can be answered by a test: install a
// ScriptedDialogs and it records what was asked and gives the queued answers.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "engine/recordfile.h"

namespace platform {

// Buttons and icons, combined with "|".
enum MsgBoxStyle : int {
    kOkOnly = 0,
    kOkCancel = 1,
    kYesNo = 4,
    kCritical = 16,
    kQuestion = 32,
    kExclamation = 48,
    kInformation = 64,
};
enum MsgBoxResult : int { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

// A title of its own that is empty. The window system shows the program's name in place of an
// empty title, so the box shows one blank.
inline constexpr const char* kNoTitle = " ";

// Shows a message box; an empty title means the program's caption. The box is at least as
// wide as its title needs (TitleBarWidth).
int MsgBox(const std::string& prompt, int style = kOkOnly, const std::string& title = "");

// Tells how a save went. False, with `refused` followed by the reason, when the new contents are
// not in place; true when they are, with the warning of a folder whose sync failed, if it did.
bool TellSave(const engine::FileResult& r, const std::string& refused, int style = kOkOnly | kExclamation,
              const std::string& title = "");

// The width in pixels that a window needs to show `title` whole on its title bar: the title in
// the title font, and room for the window's icon and three buttons.
int TitleBarWidth(const std::string& title);

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string initialFolder;
    std::string fileName;  // initial file name
    std::string filter;    // "Description|*.ext|Other|*.x"
    bool promptOverwrite = false;
};
// The chosen path, or nothing when the user cancelled.
std::optional<std::string> FileDialog(const FileDialogRequest& request);
// The filter in Qt's form ("Harmonics (*.HC)|*.hc" gives "Harmonics (*.hc *.HC)").
std::string QtFileFilter(const std::string& filter);

// The printer choice: the printer's name, or nothing when cancelled.
std::optional<std::string> ChoosePrinter(const std::string& current);

struct AskedMessage {
    std::string prompt;
    int style = 0;
    std::string title;  // as shown (the caption when none was given)
};

// Test double for everything modal: records each question and answers from its queues.
class ScriptedDialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs();
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    std::deque<int> messageAnswers;                      // when empty: OK, or Yes for a Yes/No box
    std::deque<std::optional<std::string>> fileAnswers;  // when empty: cancelled
    std::deque<std::optional<std::string>> printerAnswers;
    std::vector<AskedMessage> messages;
    std::vector<FileDialogRequest> fileRequests;
    int printerRequests = 0;
};

}  // namespace platform
