#include "adjustment/frmadjustsave.h"

#include <array>
#include <cstdlib>

#include "adjustment/arealists.h"
#include "adjustment/frmharmadjust.h"
#include "engine/adjustment.h"
#include "engine/areafile.h"
#include "engine/cp1252.h"
#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "platform/app.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

namespace {
// A zone in hours as the harmonic constants editor shows and takes them, with its UTC offset:
// "Timezone -1 (UTC+1)".
std::string zoneText(int hours) {
    std::string utc = "UTC";
    if (hours != 0) utc += (hours < 0 ? "+" : "-") + std::to_string(std::abs(hours));
    return "Timezone " + std::to_string(hours) + " (" + utc + ")";
}
}  // namespace

frmAdjustSave::frmAdjustSave() : Form("Save Intermediate Ports Constants") {
    SetBorderStyle(BorderStyle::Fixed);
    QWidget* c = Client();
    File1 = new FileListBox(c);
    List1 = new ListBox(c);
    Label1 = new Label(c, "Save in area:");
    txtAreaName = new TextBox(c);
    Label3 = new Label(c, "As location :");
    Text1 = new TextBox(c);
    Option2 = new OptionButton(c, "Add location to end of file");
    Option1 = new OptionButton(c, "Replace highlighted location");
    Label2 = new Label(c,
                       "Note: Monthly variations in Z0 will be set to zero; Monthly values of  M2Hm "
                       "will be uniform.");
    Label2->setWordWrap(true);
    cmdSave = new CommandButton(c, "Save");
    cmdExit = new CommandButton(c, "Exit");
    SetCancelButton(cmdExit);

    // The files and the locations side by side; under them the names, the choice, the note and
    // the buttons.
    constexpr int m = 8, files = 170, ports = 270, lists = 200, caption = 110, row = 30, button = 26;
    const int portsLeft = m + files + m, width = portsLeft + ports;
    PlacePixels(File1, m, m, files, lists);
    PlacePixels(List1, portsLeft, m, ports, lists);
    int top = m + lists + 12;
    PlacePixels(Label1, m, top + 3, caption, 18);
    PlacePixels(txtAreaName, m + caption, top, width - m - caption, 24);
    top += row;
    PlacePixels(Label3, m, top + 3, caption, 18);
    PlacePixels(Text1, m + caption, top, width - m - caption, 24);
    top += row + 4;
    PlacePixels(Option2, m, top, width - m, 22);
    PlacePixels(Option1, m, top + 24, width - m, 22);
    top += 54;
    PlacePixels(Label2, m, top, width - m, 36);
    top += 44;
    PlacePixels(cmdSave, width - 2 * 90 - m, top, 90, button);
    PlacePixels(cmdExit, width - 90, top, 90, button);
    SetWidth(ToTwips(width + m));
    SetHeight(ToTwips(top + button + m));

    connect(File1, &ListBox::Click, this, Handler([this] { File1_Click(); }));
    connect(List1, &ListBox::Click, this, Handler([this] { List1_Click(); }));
    connect(cmdSave, &QPushButton::clicked, this, Handler([this] { cmdSave_Click(); }));
    connect(cmdExit, &QPushButton::clicked, this, Handler([this] { cmdExit_Click(); }));
}

void frmAdjustSave::Form_Load() {
    ListAreaFiles(*File1);
    Option1->SetValue(false);
    Option2->SetValue(true);
    PlaceOverAdjustment(*this);
}

void frmAdjustSave::File1_Click() {
    if (File1->FileName().empty()) return;
    const std::string path = File1->FilePath();
    if (!ListLocations(path, *List1)) {
        ReselectFile(*File1, listedArea_);
        return;
    }
    const std::string name = Trim(File1->FileName());
    listedBase_ = name.substr(0, name.find('.'));
    txtAreaName->SetText(listedBase_);
    listedArea_ = path;
}

void frmAdjustSave::List1_Click() {
    const int k = List1->ListIndex();
    if (listedArea_.empty() || k < 0) return;
    if (const auto name = LocationName(listedArea_, k + 1)) Text1->SetText(*name);
}

void frmAdjustSave::cmdSave_Click() {
    // The file clicked while its name stands in the box as the click put it ("Loire" for
    // Loire.2024.hc); otherwise the file the typed name gives.
    const NamedFile area = !listedArea_.empty() && Trim(txtAreaName->Text()) == listedBase_
                               ? NamedFile{listedArea_, ""}
                               : AreaFileFor(txtAreaName->Text());
    if (!area.fault.empty()) {
        MsgBox(area.fault);
        return;
    }
    if (!IsLoaded<frmHarmAdjust>()) return;
    // The constants as the boxes show them; only what an area file may hold.
    const std::optional<std::array<float, 13>> constants =
        Get<frmHarmAdjust>().IntermediateConstants("; the location is not saved");
    if (!constants) return;
    if (!FitsCp1252(Text1->Text())) {
        MsgBox(
            "The location's name holds characters that cannot be stored in the area file. Please remove "
            "them.",
            kExclamation);
        return;
    }
    // The zone the sites' times are in, so that the port's clock keeps to its tide times.
    const auto& zones = Get<frmHarmAdjust>().SourceZoneLetters();
    const LocationZone zone = LocationZoneOf(zones[0], zones[1]);
    const PortRecord record = LocationRecord(Text1->Text(), *constants, zone.Letter);
    // Constants in range that together give heights no sea has would be read back as damaged.
    if (const std::optional<std::string> fault = HeightsFault(record, true)) {
        MsgBox("T" + fault->substr(1) + "; the location is not saved", kExclamation);
        return;
    }

    FileResult w;
    if (Option1->Value()) {
        // Only a location of the listed file, as it is now.
        const long k = List1->ListIndex() + 1;
        if (listedArea_.empty() || k < 1 || !SameFile(area.path, listedArea_)) {
            MsgBox("Highlight the location to replace in the list of that area");
            return;
        }
        // The list must still be the file's: another window may have changed it since.
        PortRecord shown;
        if (PortCount(area.path) != List1->ListCount() || !ReadPortRecord(area.path, k, shown).recordRead() ||
            ShownText(shown.PortName) != List1->List(static_cast<int>(k - 1))) {
            MsgBox(area.path + " has changed since it was listed: click it in the list again", kExclamation);
            return;
        }
        w = WritePortRecord(area.path, k, record);
    } else {
        w = AppendPortRecord(area.path, record);
    }
    // Saved also when only the folder's sync failed, which the message says.
    if (!TellSave(w, "The location cannot be saved: ", kExclamation)) return;
    if (!zone.Shared)
        MsgBox("Port 1 and Port 2 lie in different time zones: the location was saved with Port 1's, " +
                   zoneText(ZoneHours(zones[0])) + "; Port 2's is " + zoneText(ZoneHours(zones[1])) +
                   ". The harmonic constants editor can change it.",
               kInformation);
    Unload();
}

void frmAdjustSave::cmdExit_Click() { Unload(); }
