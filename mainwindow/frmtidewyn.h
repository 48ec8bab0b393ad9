#pragma once
// The main window: the day's tide curve, high and low waters, springs/neaps bar and read-outs.

#include "platform/controls.h"
#include "platform/forms.h"

class frmtidewyn : public platform::Form {
    Q_OBJECT
public:
    frmtidewyn();

    platform::MenuItem mnufile, mnuexit, mnumaintenance;

protected:
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
};
