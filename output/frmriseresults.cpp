#include "output/frmriseresults.h"

#include <QFontDatabase>
#include <QSignalBlocker>
#include <algorithm>

#include "engine/calendar.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/state.h"
#include "engine/suntable.h"
#include "engine/timetext.h"
#include "output/frmsunrise.h"
#include "output/suncsv.h"
#include "platform/app.h"
#include "platform/dialogs.h"
#include "platform/mainface.h"

using namespace engine;
using namespace platform;

namespace {
Label* boldLabel(QWidget* parent, const std::string& caption) {
    Label* l = new Label(parent, caption);
    l->SetFontBold(true);
    return l;
}

void showButtonsOfTheDay() {
    if (MainWindowFace* main = MainWindow()) main->ShowDayButtons();
}
}  // namespace

Frmriseresults::Frmriseresults() : Form("Sunrise and Sunset") {
    SetBorderStyle(BorderStyle::Fixed);
    SetWidth(7320);
    SetHeight(6240);
    QWidget* c = Client();
    Label5 = new Label(c, "Port");
    Place(Label5, 240, 180, 1020, 285);
    port = boldLabel(c, "");
    Place(port, 1320, 180, 5640, 285);
    latlabel = new Label(c, "Latitude");
    Place(latlabel, 240, 645, 1020, 285);
    latitude = new TextBox(c);
    Place(latitude, 1320, 600, 1560, 345);
    longlabel = new Label(c, "Longitude");
    Place(longlabel, 3120, 645, 1140, 285);
    longitude = new TextBox(c);
    Place(longitude, 4320, 600, 1560, 345);
    for (TextBox* box : {latitude, longitude}) box->SetLocked(true);
    Label3 = new Label(c, "Date");
    Place(Label3, 240, 1140, 1020, 285);
    risedate = boldLabel(c, "");
    Place(risedate, 1320, 1140, 2700, 285);

    struct Row {
        Label** heading;
        const char* caption;
        Label **first, **second;
    } rows[] = {{&Label8, "SUN RISE/SET", &risetime, &settime},
                {&Label9, "Civil Twilights", &civildawn, &civildusk},
                {&Label10, "Nautical Twilights", &nautdawn, &nautdusk}};
    int top = 1620;
    for (const Row& row : rows) {
        *row.heading = new Label(c, row.caption);
        Place(*row.heading, 240, top, 2280, 285);
        *row.first = new Label(c);
        Place(*row.first, 2640, top, 900, 285);
        *row.second = new Label(c);
        Place(*row.second, 3720, top, 900, 285);
        top += 360;
    }
    Label1 = new Label(c, "Daylight hours");
    Place(Label1, 240, 2820, 2280, 285);
    daylighthours = new Label(c);
    Place(daylighthours, 2640, 2820, 900, 285);
    twilighthours = new Label(c);
    Place(twilighthours, 3720, 2820, 780, 285);
    Label4 = new Label(c, "incl. civil twilight)");
    Place(Label4, 4560, 2820, 2040, 285);
    VScroll1 = new QScrollBar(Qt::Vertical, c);
    Place(VScroll1, 6720, 1140, 270, 1965);

    Label11 = boldLabel(c, "LUNAR PHASES");
    Place(Label11, 240, 3360, 2280, 285);
    Label2 = new Label(c);
    Place(Label2, 240, 3600, 6360, 1680);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));  // the phases' columns line up

    cmdsunprint = new CommandButton(c, "Print");
    Place(cmdsunprint, 240, 5400, 1560, 375);
    Command1 = new CommandButton(c, "Save to CSV");
    Place(Command1, 2580, 5400, 1920, 375);
    cancel = new CommandButton(c, "Exit");
    Place(cancel, 5280, 5400, 1560, 375);
    SetCancelButton(cancel);

    connect(VScroll1, &QScrollBar::valueChanged, this, Handler([this] { VScroll1_Change(); }));
    connect(cmdsunprint, &QPushButton::clicked, this, Handler([this] { cmdsunprint_Click(); }));
    connect(Command1, &QPushButton::clicked, this, Handler([this] { Command1_Click(); }));
    connect(cancel, &QPushButton::clicked, this, Handler([this] { cancel_Click(); }));
}

void Frmriseresults::Form_Load() {
    const SharedState& s = State();
    CentreOnMainWindow(*this);
    if (IsLoaded<Frmsunrise>()) {
        const Frmsunrise& tool = Get<Frmsunrise>();
        latitude->SetText(tool.latitude->Text());
        longitude->SetText(tool.longitude->Text());
        port->SetCaption(tool.port->Caption());
    } else {
        latitude->SetText(s.SunLatText);
        longitude->SetText(s.SunLongText);
        port->SetCaption(s.SunPlace);
    }
    // The bar's value is the day: the window opens on the selected day, or the table's last.
    days_ = SunTableDays();
    {
        const QSignalBlocker quiet(VScroll1);
        VScroll1->setRange(1, std::max(days_, 1));
        VScroll1->setSingleStep(1);
        VScroll1->setPageStep(7);
        VScroll1->setValue(std::clamp(s.SelectedDay, 1, std::max(days_, 1)));
    }
    VScroll1_Change();
    showButtonsOfTheDay();
}

void Frmriseresults::VScroll1_Change() {
    const SharedState& s = State();
    const int day = std::clamp(VScroll1->value(), 1, 31);
    const std::pair<Label*, int> cells[] = {{risedate, 1}, {nautdawn, 2},  {civildawn, 3}, {risetime, 4},
                                            {settime, 5},  {civildusk, 6}, {nautdusk, 7}};
    for (const auto& [label, col] : cells) label->SetCaption(s.SunTable(col, day));
    // A span is shown only when both of its ends happen that day.
    auto span = [&](int from, int to) -> std::optional<double> {
        if (days_ == 0 || !SunEventOccurs(from, day) || !SunEventOccurs(to, day)) return std::nullopt;
        const double hours = s.SunValues(to, day) - s.SunValues(from, day);
        if (hours <= 0) return std::nullopt;
        return hours;
    };
    const std::optional<double> sunUp = span(4, 5), twilight = span(3, 6);
    Label1->SetCaption(sunUp ? "Daylight hours" : "");
    daylighthours->SetCaption(sunUp ? HoursToHHMM(*sunUp) : "");
    twilighthours->SetCaption(twilight ? "(" + HoursToHHMM(*twilight) : "");
    Label4->SetCaption(twilight ? "incl. civil twilight)" : "");
    // The closing words follow the span at a blank's distance.
    const QString spanText = QString::fromStdString(twilighthours->Caption() + " ");
    SetLeftOf(Label4,
              LeftOf(twilighthours) + ToTwips(twilighthours->fontMetrics().horizontalAdvance(spanText)));
    Label2->SetCaption(s.MoonPhaseText);
}

void Frmriseresults::cmdsunprint_Click() {
    if (MainWindowFace* main = MainWindow()) main->PrintSunTable();
}

void Frmriseresults::Command1_Click() { ExportSunCsv(); }

void Frmriseresults::cancel_Click() {
    showButtonsOfTheDay();
    Unload();
}

void Frmriseresults::ExportSunCsv() {
    FileDialogRequest request;
    request.save = true;
    request.title = "Save As";
    request.initialFolder = State().TextOutputFolder;
    request.filter = "CSV file | *csv";
    const std::optional<std::string> chosen = FileDialog(request);
    if (!chosen) return;
    const std::string path = output::SunCsvPath(*chosen);
    if (path.empty()) return;
    if (FileExists(path) && MsgBox("File exist - Overwrite?", kYesNo | kQuestion, "Tidewyn") != kYes) return;
    output::TextFile text;
    BuildSunCsvText(text);
    VScroll1_Change();                       // the date as the file writes it
    (void)output::SaveTextFile(text, path);  // a failure has been told
}

void Frmriseresults::BuildSunCsvText(output::TextFile& text) {
    SharedState& s = State();
    text = output::SunCsvFile(s.ApplySummerTime);
    // From now on the table's dates read as in the file.
    for (int d = 1; d <= days_; ++d) s.SunTable(1, d) = NumericDate(s.SunTableYear, s.SunTableMonth, d);
}
