#pragma once
// Picks a port of the active area file by its place in a list and makes it the main window's
// current port. Whoever opens the dialog fills portlist with the area's ports in record order:
// line i is record i + 1.

#include "platform/controls.h"
#include "platform/forms.h"

class frmselectport : public platform::Form {
    Q_OBJECT
public:
    frmselectport();

    // Shows the clicked record's name and number; the current port changes only on "O.K.".
    void portlist_Click();
    void selportok_Click();
    void Selportcancel_Click();

    platform::ListBox* portlist;
    platform::Label *Label1, *selportname, *selportno;
    platform::CommandButton *selportok, *Selportcancel;

protected:
    void Form_Load() override;

private:
    void emptyAndUnload();
};
