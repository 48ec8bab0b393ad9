#pragma once
// The port dialog: lists the ports of the area file in ChosenAreaFile in file order or by
// name, finds them by part of their name, and on OK makes the chosen port current (settings
// file, port state, user-depth file) and recomputes the main window's day.

#include <QGroupBox>
#include <cstdint>
#include <vector>

#include "engine/records.h"
#include "platform/controls.h"
#include "platform/forms.h"

class frmconfig : public platform::Form {
    Q_OBJECT
public:
    frmconfig();

    void LoadPortList();
    void SortPortsByName();
    void txtSearch_Change();
    void cmdSearch_Click();
    void cmdSort_Click();
    void portlist2_Click();
    void portlist2_DblClick();
    void portconfigok_Click();
    void portconfigcancel_Click();
    // The sort order takes effect through "Sort" and is stored by OK: a click does nothing.
    void optSortbyName_Click() {}
    void optSortGeog_Click() {}

    platform::Label *Label1, *lblhint, *confselectedport, *portconfigbox;
    platform::TextBox* txtSearch;
    platform::CommandButton *cmdSearch, *cmdSort, *portconfigok, *portconfigcancel;
    QGroupBox* Frame1;
    platform::OptionButton *optSortGeog, *optSortbyName;
    platform::ListBox* portlist2;

    // A port of the list with its record number in the area file (from 1).
    struct ListedPort {
        long record = 0;
        engine::PortRecord port;
    };
    std::vector<ListedPort> ListPorts;  // in the order portlist2 shows them
    int16_t SelectedPortNo = 0;         // record number of the entry last clicked
    int LastFoundIndex = 0;             // list index of the last hit; -1 after a miss
    long FilePortCount = 0;             // ports in the area file; the list holds 32,767 at most

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    void ArrangeControls();
    void FillList();
    int FindFrom(int start) const;
};
