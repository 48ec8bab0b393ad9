#pragma once
// The harmonic adjustment window: one day at Port 1 (the main window's port), Port 2 (the
// record after it) and an intermediate location whose constants start as their mean, each with
// its constants, its picture of the curve and seven constituent layers, and a row of read-outs
// of what each constituent adds. The user edits the location's constants, recomputes and steps
// the day. The window computes inside a guard that gives the main window its port, day and
// tables back; it keeps its own date, clock time, point count and scale.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/curve.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/forms.h"
#include "platform/picturebox.h"

class frmHarmAdjust : public platform::Form, public engine::AdjustmentSites {
    Q_OBJECT
public:
    frmHarmAdjust();
    ~frmHarmAdjust() override;

    // The same recompute as "Calculate", for the window's dialogs.
    void updatecalc();
    // Port 1 (site 0) or Port 2 (site 2) from a record: its name in both captions, its
    // constants in the labels. Nothing is computed.
    void ShowPortSite(int site, const engine::PortRecord& port);
    // Runs `work` with the window's date, clock time, point count and scale in the shared state,
    // and gives the shared inputs back on every way out; messages told meanwhile are shown after.
    void WithSites(const std::function<void()>& work);

    // Handlers.
    void cmdCalc_Click();
    void Previousday_Click();
    void Nextday_Click();
    void MnuFileExit_Click();
    void mnuDataLoad_Click();
    void MnuFileSave_Click();
    void mnuObsEnterData_Click();
    void mnuDataHeightSelect_Click();
    // The read-out for the time under the pointer on every picture, and its freeze.
    void Picture1_MouseMove(int button, int shift, double x, double y);
    void Picture2_MouseMove(int button, int shift, double x, double y);
    void Picture3_MouseMove(int button, int shift, double x, double y);
    void Picture1_MouseDown(int button, int shift, double x, double y);
    void Picture2_MouseDown(int button, int shift, double x, double y);
    void Picture3_MouseDown(int button, int shift, double x, double y);
    // Each spinner writes its Value, in its constant's unit, into its box.
    void UpDnZ0_Change();
    void UpDnM2g_Change();
    void UpDnM2Hm_Change();
    void UpDnS2g_Change();
    void UpDnS2Hm_Change();
    void UpDnK1g_Change();
    void UpDnK1Hm_Change();
    void UpDnO1g_Change();
    void UpDnO1Hm_Change();
    void UpDnsf4_Change();
    void UpDnLF4_Change();
    void UpDnsf6_Change();
    void UpDnLF6_Change();
    void txtO1Hm_Change();

    // Drawing each site's picture from its tables, and the read-outs for the time in timeval.
    void DrawAdjustCurvePort1();
    void DrawAdjustCurveIntermediate();
    void DrawAdjustCurvePort2();
    void ShowAdjustContributions();
    // The 24 read-outs for row `row` of the sites' layers.
    void ShowContributionsAtRow(int row);

    // The window's own day: what its computations set in the shared state.
    int SiteYear() const { return year_; }
    int SiteDayOfYear() const { return dayOfYear_; }
    // The zone letters of the records Port 1 and Port 2 were opened on ("" for one not read):
    // the zone of the sites' times, which a port loaded later does not change.
    const std::array<std::string, 2>& SourceZoneLetters() const { return sourceZones_; }

    // AdjustmentSites
    engine::ConstantTexts Port1() const override;
    engine::ConstantTexts Intermediate() const override;
    engine::ConstantTexts Port2() const override;

    // Controls.
    platform::Label *portbox, *lblportname1, *Portbox3, *lblPortName3;
    platform::Label *P1Z0, *P1M2g, *P1M2Hm, *P1S2g, *P1S2Hm, *P1K1g, *P1K1Hm, *P1O1g, *P1O1hm, *P1sf4, *P1LF4,
        *P1sf6, *P1LF6;
    platform::Label *P2Z0, *P2M2g, *P2M2Hm, *P2S2g, *P2S2Hm, *P2K1g, *P2K1Hm, *P2O1g, *P2O1hm, *P2sf4, *P2LF4,
        *P2sf6, *P2LF6;
    platform::TextBox *txtZ0, *txtM2g, *txtM2Hm, *txtS2g, *txtS2Hm, *txtK1g, *txtK1Hm, *txtO1g, *txtO1Hm,
        *txtsf4, *txtLF4, *txtsf6, *txtLF6;
    platform::UpDown *UpDnZ0, *UpDnM2g, *UpDnM2Hm, *UpDnS2g, *UpDnS2Hm, *UpDnK1g, *UpDnK1Hm, *UpDnO1g,
        *UpDnO1Hm, *UpDnsf4, *UpDnLF4, *UpDnsf6, *UpDnLF6;
    platform::Label *Label1, *Label2, *Label4, *Label6, *Label8, *Label10, *Label12;  // rows of constants
    platform::Label *Label7, *Label20;                                                // intermediate column
    platform::Label *tidedatebox, *timeval;
    platform::CommandButton *cmdCalc, *Nextday, *Previousday;
    platform::PictureBox *Picture1, *Picture2, *Picture3;
    platform::Label *Label3, *Label11, *Label9, *Label5;
    platform::Label *Label13, *Label14, *Label15, *Label16, *Label17, *Label18, *Label19;  // legend
    platform::Label *lblP1Z0, *lblP1M2, *lblP1S2, *lblP1K1, *lblP1O1, *lblP1f4, *lblP1f6, *lblheight1;
    platform::Label *lblP2Z0, *lblP2M2, *lblP2S2, *lblP2K1, *lblP2O1, *lblP2f4, *lblP2f6, *lblheight2;
    platform::Label *lblp3Z0, *lblP3M2, *lblP3S2, *lblP3K1, *lblP3O1, *lblP3f4, *lblP3f6, *lblheight3;

    // Menus.
    platform::MenuItem mnuFile, mnuDataLoad, MnuFileSave, MnuFileExit;
    platform::MenuItem mnuData, mnuObsEnterData, mnuDataHeightSelect;

    // The constants of each site in record order (Z0, M2g, M2Hm, ... LF6).
    std::array<platform::Label*, 13> Port1Labels() const;
    std::array<platform::TextBox*, 13> IntermediateBoxes() const;
    std::array<platform::Label*, 13> Port2Labels() const;
    std::array<platform::UpDown*, 13> Spinners() const;
    // The intermediate location's constants as its boxes show them, each wholly a number ("," taken
    // as the decimal point) within the values an area file may hold; nothing once the first box
    // that is not has been told (its message followed by `refused`) and given the focus.
    std::optional<std::array<float, 13>> IntermediateConstants(const std::string& refused = "");
    // The read-outs of a site (0 Port 1, 1 the intermediate location, 2 Port 2): Z0, M2, S2,
    // K1, O1, f4, f6 and the total.
    std::array<platform::Label*, 8> ReadoutLabels(int site) const;

protected:
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    void Form_Resize() override;

private:
    void arrangeControls();
    // Settings read again: Port 1's record number, the area file, the vessel and the option.
    void reloadSettings();
    // Record n of the area file for a site; a record past the end is a blank name and zeros, any
    // other failure is told and shown the same way.
    engine::PortRecord siteRecord(long n);
    // The date line and the window's date parts from its year and day of the year.
    void showDate();
    // The three sites computed from the constants shown and drawn, then the read-outs.
    void computeSites();
    void stepDay(int step);
    // The read-out at x hours, the rows' times taken from the curve of the picture pointed at.
    void readOut(const engine::CurveTable& curve, double x);
    void toggleFreeze();
    void spinnerChanged(size_t i);
    // The observations of the file HeightFilePath names, as a green line on the intermediate
    // picture, drawn before its grid; fewer than ten are not drawn.
    void DrawHeightFileCurve();
    void drawSite(platform::PictureBox& pic, const engine::CurveTable& curve, const engine::LayerSet& layers,
                  const std::function<void(platform::Canvas&)>& beforeGrid = {});
    // A message for the user, shown once the shared inputs are given back; none while the
    // pictures are only drawn again.
    void tell(const std::string& message, int style = platform::kExclamation);

    int year_ = 0, month_ = 0, day_ = 0, dayOfYear_ = 0;
    double timeNowHours_ = 0;
    int curvePoints_ = 0;
    double scaleTop_ = 0, scaleBottom_ = 0;
    std::array<std::string, 2> sourceZones_;
    std::vector<std::pair<std::string, int>> told_;
    bool redrawOnly_ = false;
};
