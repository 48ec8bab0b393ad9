#pragma once
// The harmonic constants editor: the ports of an area file of the program folder, one box per
// field of the chosen port's record, written back in place, appended, inserted or deleted.
// A box whose text is still what loading put there writes back the stored value unchanged, so
// that only what the user changed is read from the text.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/boxnumber.h"
#include "engine/recordfile.h"
#include "engine/records.h"
#include "platform/controls.h"
#include "platform/forms.h"

class frmharmedit : public platform::Form {
    Q_OBJECT
public:
    frmharmedit();

    void fileList_Click();
    void portlist_Click();
    void chartok_Click();
    void cmdAdd_Click();
    void cmdInsert_Click();
    void cmdDelete_Click();
    void cmdClear_Click();
    void txtM2Hm_LostFocus();
    void txtjanm2_LostFocus();
    void Command2_Click();
    void mnuharmFileExit_Click();

    // The key filters: what each kind of box takes; any other key is dropped, and the box beeps.
    static void NumericKeyFilter(int& KeyAscii);    // digits, ".", "-", "+", Backspace
    static void LatitudeKeyFilter(int& KeyAscii);   // digits, ".", "N", "S" ("n", "s" made capitals)
    static void LongitudeKeyFilter(int& KeyAscii);  // digits, ".", "E", "W" ("e", "w" made capitals)

    void txtportlat_KeyPress(int& KeyAscii) { LatitudeKeyFilter(KeyAscii); }
    void txtportlong_KeyPress(int& KeyAscii) { LongitudeKeyFilter(KeyAscii); }
    void txtTimeZone_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtZ0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtM2g_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtM2Hm_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtS2g_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtS2Hm_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtK1g_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtK1Hm_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtO1g_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtO1Hm_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtsf4_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtLF4_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtsf6_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtLF6_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtjandz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtfebdz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtmardz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtaprdz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtmaydz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtjundz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtjuldz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtaugdz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtsepdz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtoctdz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtnovdz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtdecdz0_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtjanm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtfebm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtmarm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtaprm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtmaym2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtjunm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtjulm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtaugm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtsepm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtoctm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtnovm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }
    void txtdecm2_KeyPress(int& KeyAscii) { NumericKeyFilter(KeyAscii); }

    // The text a stored number is shown in: "." and at most seven significant digits, never an
    // exponent ("2.95", "3", "0.00001").
    static std::string NumberText(float value);
    // The number a box holds, its whole text in the decimal form of ReadBoxNumber ("," taken as
    // the point); 0 for an empty box; nothing for any other text. Beyond a single it is infinite.
    static std::optional<float> BoxNumber(const std::string& text);

    platform::FileListBox* fileList;
    platform::ListBox* portlist;
    platform::TextBox *txtportno, *txtportname, *txtportlat, *txtportlong, *txtTimeZone;
    platform::TextBox *txtZ0, *txtM2g, *txtM2Hm, *txtS2g, *txtS2Hm, *txtK1g, *txtK1Hm, *txtO1g, *txtO1Hm;
    platform::TextBox *txtsf4, *txtLF4, *txtsf6, *txtLF6;
    platform::TextBox *txtjandz0, *txtfebdz0, *txtmardz0, *txtaprdz0, *txtmaydz0, *txtjundz0;
    platform::TextBox *txtjuldz0, *txtaugdz0, *txtsepdz0, *txtoctdz0, *txtnovdz0, *txtdecdz0;
    platform::TextBox *txtjanm2, *txtfebm2, *txtmarm2, *txtaprm2, *txtmaym2, *txtjunm2;
    platform::TextBox *txtjulm2, *txtaugm2, *txtsepm2, *txtoctm2, *txtnovm2, *txtdecm2;
    platform::Label *lblfileList, *lblportno, *lblportname, *lblportlat, *lblportlong, *lblTimeZone;
    platform::Label *lblZoneSign, *lblCoordinates, *lblDeltaZ0, *lblMonthlyM2;
    std::array<platform::Label*, 13> lblConstants{};
    std::array<platform::Label*, 12> lblMonths{};
    platform::CommandButton *chartok, *cmdAdd, *cmdInsert, *cmdDelete, *cmdClear, *Command2;
    platform::MenuItem mnuharmFile, mnuharmFileExit;

    // The constant boxes in record order, and the month boxes January to December.
    std::array<platform::TextBox*, 13> ConstantBoxes() const;
    std::array<platform::TextBox*, 12> MonthDZ0Boxes() const;
    std::array<platform::TextBox*, 12> MonthM2Boxes() const;

protected:
    void Form_Load() override;
    void Form_Resize() override;

private:
    struct Loaded {
        engine::PortRecord record;
        std::vector<std::pair<const platform::TextBox*, std::string>> texts;  // each box as filled
    };
    // Whether the box still holds what loading put there.
    bool untouched(const platform::TextBox* box) const;
    // The stored value for a box left as loaded, else the box's number; a text that is not one is
    // refused with a message naming the box's label.
    std::optional<float> numberOf(platform::TextBox* box, const std::string& label, float stored);
    // A position box likewise, in its form; an empty box is 0.
    std::optional<double> positionOf(platform::TextBox* box, engine::NumberForm form, double stored);
    // The record the boxes hold, after the window's checks; nothing when a check refused it.
    std::optional<engine::PortRecord> checkedRecord(bool needsSelection);
    bool editingActiveArea() const;
    // The position of record k as written becomes the current port's when k is the current
    // port of the area in use.
    void takePosition(const engine::PortRecord& written, long k);
    void listPorts(bool numbered);
    // After an insert or delete at k: k becomes the current port of the area in use, a notice or
    // failure is told, and the ports are listed with their numbers. True when it went through.
    bool rebuilt(const engine::FileResult& w, long k, const std::string& failure);
    // Whether an area file is chosen; when none is, says so.
    bool areaChosen() const;
    void refuse(const std::string& prompt);
    void arrangeControls();

    std::optional<Loaded> loaded_;
};
