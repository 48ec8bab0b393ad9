// The main window's Clipboard menu and its File, Save entries: the day's and the month's tides
// and sun times copied as text or saved as text and CSV files.
#include <optional>

#include "engine/calendar.h"
#include "engine/dayview.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "engine/state.h"
#include "engine/suntable.h"
#include "engine/timetext.h"
#include "mainwindow/frmtidewyn.h"
#include "output/suncsv.h"
#include "output/textfile.h"
#include "output/tidetexts.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"

using namespace engine;
using namespace platform;

namespace {

// The Save As dialog of the three saves; nothing when cancelled.
std::optional<std::string> askTextFile(const std::string& title, const std::string& name = "") {
    FileDialogRequest request;
    request.save = true;
    request.title = title;
    request.initialFolder = State().TextOutputFolder;
    request.fileName = name;
    request.filter = "Tables (*.txt)|*.txt";
    request.promptOverwrite = true;
    return FileDialog(request);
}

// The current port's record for its position; a record that cannot be read, or a damaged
// position, is told after `what` and gives nothing.
std::optional<PortRecord> portPosition(const std::string& what) {
    const SharedState& s = State();
    PortRecord record;
    if (FileResult r = ReadPortPosition(s.AreaFilePath, s.CurrentPort, record); !r.ok()) {
        MsgBox(what + "\r" + r.message, kOkOnly | kExclamation);
        return std::nullopt;
    }
    return record;
}
}  // namespace

bool frmtidewyn::EnsureSunTable() {
    if (SunTableDays() > 0) return true;
    MsgBox("Calculate a months suntimes\rbefore choosing this option", kOkOnly);
    return false;
}

// A month view of another port, month, depth, option or time basis is computed again first.
bool frmtidewyn::EnsureMonthView() {
    if (monthspredictions->ListCount() < 10 || !MonthViewIsCurrent()) mnumonth_Click();
    return monthspredictions->ListCount() > 10;
}

void frmtidewyn::mnuCopyDaysTides_Click() {
    ClipboardClear();
    ClipboardSetText(output::DayTidesCopyText(SummerFlag()));
}

void frmtidewyn::mnuCopyMonth_Click() {
    if (!EnsureMonthView()) {
        MsgBox(kNoMonthTides, kOkOnly);
        return;
    }
    ClipboardClear();
    ClipboardSetText(output::MonthTidesCopyText());
}

// The month's sun table computed for the port, as the sunrise tool would, and copied.
void frmtidewyn::mnuCopyMonthSunTimes_Click() {
    SharedState& s = State();
    const std::optional<PortRecord> port = portPosition("The month's sun times cannot be computed.");
    if (!port) return;
    // The position as the sunrise tool shows it and reads it back, so that both give one table.
    const std::string latitude = FormatLatitude(port->Latitude), longitude = FormatLongitude(port->Longitude);
    ComputeSunTable(ParseLatitude(latitude), ParseLongitude(longitude), s.SelectedYear, s.SelectedMonth,
                    s.ApplySummerTime);
    s.SunPlace = LineText(s.PortName);
    s.SunLatText = Trim(latitude);
    s.SunLongText = Trim(longitude);
    for (int d = 1; d <= SunTableDays(); ++d)
        s.SunTable(1, d) = NumericDate(s.SunTableYear, s.SunTableMonth, d);

    // The copy's heading keeps the position texts whole, the place of a sign included.
    output::TextFile text;
    text.AddFields(output::SunHeadingFields(s.SunPlace, latitude, longitude, s.ApplySummerTime), '\t');
    text.AddFields(output::SunColumnNames(), '\t');
    for (int d = 1; d <= SunTableDays(); ++d) text.AddFields(output::SunDayFields(d), '\t');
    ClipboardClear();
    ClipboardSetText(text.Text());
    MsgBox("Months sunrise and sunset times have been copied to the clipboard", kOkOnly, "Tidewyn");
}

void frmtidewyn::mnuCopySunTimes_Click() {
    const SharedState& s = State();
    // A damaged position has no sun times: "None" would read as a polar night.
    if (!portPosition("The day's sun times cannot be copied.")) return;
    auto time = [](bool occurs, double hours) {
        return occurs ? HoursToHHMMSS(hours) : std::string(kNoSunEvent);
    };
    const std::string zone = SummerFlag() ? "Time Zone = Summer Time" : "Time Zone = Standard Time";
    // An empty line after the port line as after the date line.
    std::string text = "Port : " + LineText(s.PortName) + "\t" + zone + "\r\n\r\n";
    text += "Date : " + NumericDate(s.SelectedYear, s.SelectedMonth, s.SelectedDay) + "\r\n\r\n";
    text += "Sunrise : " + time(SunriseOccurs(), s.SunriseTime) + "\r\n";
    text += "Sunset  : " + time(SunsetOccurs(), s.SunsetTime) + "\r\n";
    ClipboardClear();
    ClipboardSetText(text);
    MsgBox("The day's sunrise and sunset times have been copied to the clipboard", kOkOnly, "Tidewyn");
}

void frmtidewyn::mnusaveday_Click() {
    SharedState& s = State();
    // The heights of the day shown, though a layers view leaves an older day's copy behind.
    SetPointer(Pointer::Hourglass);
    FillOutputCurve(s.DayCurve, s.OutputCurve);
    const output::TextFile file = output::DayTableFile(portbox->Caption(), tidedatebox->Caption());
    SetPointer(Pointer::Idle);
    if (std::optional<std::string> path = askTextFile("Save hourly details"))
        output::SaveTextFile(file, *path);
}

void frmtidewyn::mnusavesun_Click() {
    if (!EnsureSunTable()) return;
    if (std::optional<std::string> path = askTextFile("Save Sun's Data To Text File"))
        output::SaveTextFile(output::SunTextFile(), *path);
}

void frmtidewyn::mnusavmonth_Click() {
    if (!EnsureMonthView()) {
        MsgBox(kNoMonthTides, kOkOnly | kInformation, "Tidewyn");
        return;
    }
    if (std::optional<std::string> path =
            askTextFile("Save Months Vizoz To Text File", output::MonthTidesDefaultName()))
        output::SaveTextFile(output::MonthTidesFile(output::MonthTidesSeparator(*path)), *path);
}
