#pragma once
// The sunrise tool's results: one day of the month sun table at a time, chosen with the scroll
// bar, with the length of daylight and the month's moon phases; the table printed or saved as
// a CSV file.

#include <QScrollBar>
#include <string>

#include "output/textfile.h"
#include "platform/controls.h"
#include "platform/forms.h"

class Frmriseresults : public platform::Form {
    Q_OBJECT
public:
    Frmriseresults();

    void VScroll1_Change();
    void cmdsunprint_Click();
    void Command1_Click();
    void cancel_Click();

    platform::TextBox *latitude, *longitude;
    platform::Label *port, *latlabel, *longlabel, *Label5, *Label3;
    platform::Label *Label8, *Label9, *Label10, *Label11;
    platform::Label *risedate, *risetime, *settime, *civildawn, *civildusk, *nautdawn, *nautdusk;
    platform::Label *Label1, *daylighthours, *twilighthours, *Label4, *Label2;
    QScrollBar* VScroll1;
    platform::CommandButton *cmdsunprint, *Command1, *cancel;

protected:
    void Form_Load() override;

private:
    void ExportSunCsv();
    void BuildSunCsvText(output::TextFile& text);
    int days_ = 0;  // the days of the table's month
};
