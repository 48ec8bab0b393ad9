#include "adjustment/frmselectport.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "engine/currentport.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/mainface.h"

using namespace engine;
using namespace platform;

frmselectport::frmselectport() : Form("Select Port") {
    SetBorderStyle(BorderStyle::Fixed);
    QWidget* c = Client();
    portlist = new ListBox(c);
    Label1 = new Label(c, "Selected Port");
    selportno = new Label(c, " ");
    selportname = new Label(c);
    selportname->SetBoxed();
    selportok = new CommandButton(c, "O.K.");
    Selportcancel = new CommandButton(c, "Cancel");
    SetCancelButton(Selportcancel);

    // The name box takes a 35-character port name; the list is as wide.
    constexpr int m = 8, width = 320, listHeight = 200, button = 26;
    PlacePixels(portlist, m, m, width, listHeight);
    const int heading = m + listHeight + 10;
    PlacePixels(Label1, m, heading, 110, 18);
    PlacePixels(selportno, m + 110, heading, 60, 18);
    PlacePixels(selportname, m, heading + 22, width, 24);
    const int buttons = heading + 22 + 24 + 12;
    PlacePixels(selportok, m + width - 2 * 90 - 8, buttons, 90, button);
    PlacePixels(Selportcancel, m + width - 90, buttons, 90, button);
    SetWidth(ToTwips(width + 2 * m));
    SetHeight(ToTwips(buttons + button + m));

    connect(portlist, &ListBox::Click, this, Handler([this] { portlist_Click(); }));
    connect(selportok, &QPushButton::clicked, this, Handler([this] { selportok_Click(); }));
    connect(Selportcancel, &QPushButton::clicked, this, Handler([this] { Selportcancel_Click(); }));
}

void frmselectport::Form_Load() {
    if (MainWindowFace* face = MainWindow()) {
        const Form& main = face->Window();
        SetLeft((main.Width() - Width()) / 2 + main.Left());
        SetTop((main.Height() - Height()) / 2 + main.Top());
    }
    KeepOnScreen();
}

void frmselectport::portlist_Click() {
    const int line = portlist->ListIndex();
    if (line < 0) return;
    const long n = line + 1;
    PortRecord port;
    FileResult r = ReadPortRecord(State().AreaFilePath, n, port);
    // A damaged record still names its port; "O.K." refuses it.
    if (!r.recordRead()) {
        MsgBox("The port cannot be read: " + r.message, kOkOnly | kExclamation);
        return;
    }
    selportname->SetCaption(TrimAtNull(port.PortName));  // as stored, trailing blanks kept
    selportno->SetCaption(" " + std::to_string(n));
}

void frmselectport::selportok_Click() {
    SharedState& s = State();
    MainWindowFace* main = MainWindow();
    // The month view goes whatever follows: it may be of the port left.
    if (main) main->ForgetMonthView();
    else ClearMonthTable();

    const double n = Val(selportno->Caption());
    if (n <= 0) {  // nothing clicked
        if (main) main->EnableMainMenus();
        emptyAndUnload();
        return;
    }
    // The file may have changed since the list was filled: the record is read again, and the
    // port changes only when it is whole and sound.
    const std::string area = s.AreaFilePath;
    const long count = PortCount(area);
    // A number past the last record is taken as the one after it: the read then tells that the
    // port is not in the file.
    const long port = std::lround(std::min(n, static_cast<double>(count + 1)));
    PortRecord record;
    FileResult r = ReadPortRecord(area, port, record);
    if (!r.ok()) {
        MsgBox("The port cannot be read: " + r.message, kOkOnly | kExclamation);
        return;
    }
    s.CurrentPort = PortWithin(port, count);
    if (main) main->EnableMainMenus();
    emptyAndUnload();
    // Position, zone and the name as stored, 35 characters; the settings file keeps its port.
    if (main) main->ShowPort(record, false);
}

void frmselectport::Selportcancel_Click() {
    emptyAndUnload();
    if (MainWindowFace* main = MainWindow()) main->EnableMainMenus();
}

void frmselectport::emptyAndUnload() {
    portlist->Clear();
    Unload();
}
