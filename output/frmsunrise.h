#pragma once
// The sunrise tool: a position typed as degrees, minutes and hemisphere letter (the current
// port's to start with) gives the month's sunrise, sunset and twilights, shown in the results
// window.

#include "platform/controls.h"
#include "platform/forms.h"

class Frmsunrise : public platform::Form {
    Q_OBJECT
public:
    Frmsunrise();

    void latitude_KeyPress(int& KeyAscii);
    void longitude_KeyPress(int& KeyAscii);
    void cancel_Click();
    void ok_Click();

    platform::TextBox *latitude, *longitude;
    platform::Label *latlabel, *longlabel, *port;
    platform::CommandButton *ok, *cancel;

protected:
    void Form_Load() override;
};
