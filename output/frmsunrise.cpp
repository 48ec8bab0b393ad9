#include "output/frmsunrise.h"

#include <cmath>
#include <optional>

#include "engine/boxnumber.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/recordfile.h"
#include "engine/state.h"
#include "engine/suntable.h"
#include "engine/timetext.h"
#include "output/frmriseresults.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/mainface.h"

using namespace engine;
using namespace platform;

namespace {
// The position a box holds: wholly degrees, a point, minutes and the hemisphere letter last, in
// at most maxLength characters, and below `limit` degrees; nothing, once told, otherwise.
std::optional<double> readPosition(TextBox* box, const std::string& text, NumberForm form, size_t maxLength,
                                   double limit, const std::string& name) {
    const std::optional<double> v = text.size() <= maxLength ? ReadBoxNumber(text, form) : std::nullopt;
    if (v && std::abs(*v) < limit) return v;
    MsgBox(v ? name + " must lie below " + std::to_string(static_cast<int>(limit)) + " degrees."
             : NumberFormFault(name, form) + ".",
           kOkOnly | kExclamation);
    box->setFocus();
    return std::nullopt;
}

// Digits, "." (or a comma for it), the two hemisphere letters (small ones made capitals),
// Backspace and 127 pass.
void filterPosition(int& key, char positive, char negative) {
    if (key == positive + 32 || key == negative + 32) key -= 32;
    const bool passes = (key >= '0' && key <= '9') || key == '.' || key == ',' || key == positive ||
                        key == negative || key == 8 || key == 127;
    if (!passes) key = 0;
}
}  // namespace

Frmsunrise::Frmsunrise() : Form("Sunrise and Sunset") {
    SetBorderStyle(BorderStyle::Fixed);
    SetWidth(5400);
    SetHeight(2400);
    QWidget* c = Client();
    port = new Label(c);
    Place(port, 240, 180, 4920, 285);
    port->SetFontBold(true);
    latlabel = new Label(c, "Latitude");
    Place(latlabel, 240, 675, 1500, 285);
    latitude = new TextBox(c);
    Place(latitude, 1860, 630, 1800, 345);
    longlabel = new Label(c, "Longitude");
    Place(longlabel, 240, 1140, 1500, 285);
    longitude = new TextBox(c);
    Place(longitude, 1860, 1095, 1800, 345);
    ok = new CommandButton(c, "Calculate");
    Place(ok, 240, 1740, 1560, 375);
    cancel = new CommandButton(c, "Cancel");
    Place(cancel, 3600, 1740, 1560, 375);

    SetDefaultButton(ok);
    SetCancelButton(cancel);
    for (TextBox* box : {latitude, longitude}) box->SetBeepOnDrop(false);
    latitude->SetKeyPress([this](int& key) { latitude_KeyPress(key); });
    longitude->SetKeyPress([this](int& key) { longitude_KeyPress(key); });
    // Keys that edit without passing a filter (Delete, cut, undo) change the position too.
    for (TextBox* box : {latitude, longitude})
        connect(box, &QLineEdit::textEdited, this, [this] { port->SetCaption("User entry"); });
    connect(ok, &QPushButton::clicked, this, Handler([this] { ok_Click(); }));
    connect(cancel, &QPushButton::clicked, this, Handler([this] { cancel_Click(); }));
}

void Frmsunrise::Form_Load() {
    const SharedState& s = State();
    CentreOnMainWindow(*this);
    // The place of the tool's table, copy and CSV file.
    port->SetCaption(LineText(s.PortName));
    PortRecord record;
    if (FileResult r = ReadPortPosition(s.AreaFilePath, s.CurrentPort, record); !r.ok()) {
        // The boxes stay empty for the user to type a position.
        MsgBox("The port's position cannot be read.\r" + r.message, kOkOnly | kExclamation);
        return;
    }
    latitude->SetText(FormatLatitude(record.Latitude));
    longitude->SetText(FormatLongitude(record.Longitude));
}

void Frmsunrise::latitude_KeyPress(int& KeyAscii) {
    port->SetCaption("User entry");
    filterPosition(KeyAscii, 'N', 'S');
}

void Frmsunrise::longitude_KeyPress(int& KeyAscii) {
    port->SetCaption("User entry");
    filterPosition(KeyAscii, 'E', 'W');
}

void Frmsunrise::cancel_Click() { Unload(); }

void Frmsunrise::ok_Click() {
    SharedState& s = State();
    ClearSunTable();
    const std::string lat = Trim(latitude->Text()), lon = Trim(longitude->Text());
    const std::optional<double> longitudeValue =
        readPosition(longitude, lon, NumberForm::Longitude, 10, 180, "Longitude");
    if (!longitudeValue) return;
    const std::optional<double> latitudeValue =
        readPosition(latitude, lat, NumberForm::Latitude, 9, 90, "Latitude");
    if (!latitudeValue) return;
    s.SunPlace = port->Caption();
    s.SunLongText = lon;
    s.SunLatText = lat;
    ComputeSunTable(*latitudeValue, *longitudeValue, s.SelectedYear, s.SelectedMonth, s.ApplySummerTime);
    MainWindowFace* main = MainWindow();
    Get<Frmriseresults>().ShowModal(main ? &main->Window() : nullptr);
    Unload();
}
