#pragma once
// The program settings: output option, draught and under-keel clearance, summer time, and
// the check box that shows the maintenance menus for the rest of the run. "O.K." stores the
// settings and recomputes the main window's day; "Cancel" changes nothing.

#include <QGroupBox>

#include "platform/controls.h"
#include "platform/forms.h"

class frmoutoptions : public platform::Form {
    Q_OBJECT
public:
    frmoutoptions();

    void Check1_Click();
    void optionsok_Click();
    void Command1_Click();

    QGroupBox *Frame1, *Frame2, *Frame3;
    platform::OptionButton *Option1, *Option2, *Option3;
    platform::Label* Label2;
    platform::Label *Label3, *draftlabel;
    platform::TextBox *draughttext, *ukctext;
    platform::OptionButton *optDaylightSavings, *optNonDaylightsavings;
    platform::CheckBox* Check1;
    platform::CommandButton *optionsok, *Command1;

    // A metres value as the dialog shows it, in the "." form it is read back in: 0.5 as
    // "0.5", 0 as "0.0".
    static std::string MetresText(float value);

protected:
    void Form_Load() override;
};
