#pragma once
// The main window: the day's tide curve with the springs/neaps bar, the high and low waters,
// the read-outs under the mouse and in the title, the constituent panel and the menus.

#include <array>
#include <functional>
#include <optional>

#include "engine/curve.h"
#include "engine/dayview.h"
#include "mainwindow/notices.h"
#include "platform/controls.h"
#include "platform/forms.h"
#include "platform/mainface.h"
#include "platform/picturebox.h"

namespace platform {
class PrinterPage;
}

class frmtidewyn : public platform::Form, public engine::DayTideView, public platform::MainWindowFace {
    Q_OBJECT
public:
    frmtidewyn();
    ~frmtidewyn() override;

    // Public operations of the window.
    void HideLevelControls();
    void showlevelcontrols();

    // The recompute of the displayed day after a change of day, date, port or setting.
    void RecomputeDay();
    // A record of the area in use made the current port (CurrentPort already its number): its
    // name (trimmed or as stored), position and zone taken, the port caption, the day computed
    // for it, the month view emptied and the title. The settings are not touched.
    void ShowPort(const engine::PortRecord& port, bool trimName) override;
    void DrawTideCurve();
    void DrawSunTimes();
    void DrawConstituentLayers();
    void ShowHeightNow();
    // Takes the clock's instant for the read-out; each recompute reads it on the displayed
    // day's table, in the port's time (TimeNowHours).
    void TakeClockTime();
    void EnableMainMenus() override;
    // The second line of the note when the times are not adjusted: "Times from ..." or "Times
    // are from ...", as each place words it; the picker's OK words it by the setting.
    enum class NoteWording { Short, Long, BySetting };
    void WriteSummerTimeNote(NoteWording wording = NoteWording::Short);
    // The flag every recompute and note uses: IsSummerTime of the day when summer time applies.
    bool SummerFlag() const;
    // A UTC instant on the current port's tables (its zone, and summer time when it applies),
    // and whether the displayed day is that moment's day.
    engine::TableMoment MomentOf(double utcInstant) const;
    bool ShowsDayOf(const engine::TableMoment& moment) const;

    // Handlers.
    void Nextday_Click();
    void Previousday_Click();
    void mnuNextPort_Click();
    void mnuPrevPort_Click();
    void mnuLayersShow_Click();
    void mnutides_Click();
    void chkZ0_Click();
    void chkM2_Click();
    void chkS2_Click();
    void chkK1_Click();
    void chkO1_Click();
    void chkf4_Click();
    void chkf6_Click();
    void Label1_DblClick();
    void mnuAdjustLoad_Click();
    void Picture1_MouseMove(int button, int shift, double x, double y);
    void Picture1_MouseDown(int button, int shift, double x, double y);
    void Timer1_Timer();
    void Timer2_Timer();
    void hitelabel_Click();
    void hiteval_Click();
    void mnuExit_Click();
    void mnuHelp_Click();
    void mnusunrise_Click();
    void mnumaintainfile_Click();
    void mnucopyconstants_Click();
    void mnuCopyDiamonds_Click();
    // The month view and the dialogs of the Date, Select Port and Configure menus.
    void mnumonth_Click();
    void mnutidedate_Click();
    void mnuPortList_Click();
    void mnuArea_Click();
    void mnuchartdepth_Click();
    void mnuoutputoptions_Click();
    void Mnushowconfig_Click();
    // Printing the day.
    void mnudayprint_Click();
    void mnuhrprint_Click();
    // Printing the month: its tide table, and the sun table with its moon phases (also printed
    // from the sunrise tool's results).
    void mnumonthprint_Click();
    void mnusunprint_Click();
    // The Clipboard menu and File, Save: the day's and the month's tides and sun times.
    void mnuCopyDaysTides_Click();
    void mnuCopyMonth_Click();
    void mnuCopyMonthSunTimes_Click();
    void mnuCopySunTimes_Click();
    void mnusaveday_Click();
    void mnusavesun_Click();
    void mnusavmonth_Click();
    void mnuAnglesAndFactors_Click();
    void mnuYears_Click();
    void mnuCalcOrbitalConst_Click();

    // Controls.
    platform::PictureBox* Picture1;
    platform::PictureBox* pctSpringsStatus;
    platform::Label *lblSprings, *lblNeap;
    QFrame* Line1;
    platform::CommandButton *Nextday, *Previousday;
    platform::Label* daystide1;
    platform::ListBox* monthspredictions;
    platform::Label *portbox, *tidedatebox, *timelabel, *timeval, *hitelabel, *hiteval, *lblrate;
    platform::Label *lblmousestatus, *disclaimer, *Label1, *Label3;
    platform::CheckBox *chkZ0, *chkM2, *chkS2, *chkK1, *chkO1, *chkf4, *chkf6;
    platform::Label *lblHtZ0, *lblHtM2, *lblHtS2, *lblHtK1, *lblHtO1, *lblHtf4, *lblHtf6, *lblSum, *lblSumHt;
    platform::Label *lblZ0harm, *lblm2Harm, *lblS2Harm, *lblK1Harm, *lblO1Harm, *lblf4Harm, *lblf6Harm;
    platform::Timer *Timer1, *Timer2;

    // Menus.
    platform::MenuItem mnufile, mnuS, mnusavmonth, mnusaveday, mnusavesun, mnuprint, mnumonthprint,
        mnuhrprint, mnudayprint, mnusunprint, mnuexit;
    platform::MenuItem mnuDatemenu, mnutidedate;
    platform::MenuItem mnutides, mnuPortList, mnusep1, mnuNextPort, mnuPrevPort, mnusep0, mnuArea;
    platform::MenuItem mnuCalc, mnumonth, mnusunrise;
    platform::MenuItem mnuCopy, mnuCopyDaysTides, mnuCopyMonth, mnuCopySunTimes, mnuCopyMonthSunTimes;
    platform::MenuItem mnuconfig, mnuoutputoptions, mnusep2, mnuchartdepth, mnusep3, Mnushowconfig;
    platform::MenuItem mnumaintenance, mnumaintainfile, mnucopyconstants, mnuCopyDiamonds;
    platform::MenuItem mnuAdvanced, mnuLayersShow, mnuAdjustLoad;
    platform::MenuItem mnuHelpTop, mnuHelp;
    platform::MenuItem mnuSpecial, mnuAnglesAndFactors, mnuYears, mnuCalcOrbitalConst;

    // The 26 controls of the constituent panel.
    std::vector<QWidget*> LevelControls() const;
    // Whether the last sun computation found a sunrise and a sunset.
    bool SunriseOccurs() const { return sunriseOccurs_; }
    bool SunsetOccurs() const { return sunsetOccurs_; }

    // DayTideView
    void SetPointer(Pointer p) override;
    void ShowConstants(const ConstantCaptions& captions) override;

    // MainWindowFace
    Form& Window() override { return *this; }
    void PauseClock() override;
    void ForgetMonthView() override;
    void ShowDayButtons() override;
    void PrintSunTable() override { mnusunprint_Click(); }

protected:
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;
    void Form_Activate() override;
    void Form_Resize() override;

private:
    // The picture's design place.
    static constexpr int kPictureTop = 1300, kPictureHeight = 3415, kMonthListWidth = 1350;
    void BuildControls();
    void BuildMenus();
    void ArrangeControls();
    void CalcSunTimesForDay(bool summer);
    void StepDay(int days);
    void StepPort(int step);
    void ShowDateCaption();
    void DrawSpringsNeaps();
    void DrawHourLabels();
    void FitMonthList();
    void ReloadCurrentPort();
    // Tells a failure; during the load each reason once.
    void FollowMovedAreaFile();
    // The day pages' handlers: a question, then the document.
    void PrintDayPage(const std::string& question, const std::string& title,
                      const std::function<void(platform::PrinterPage&)>& page);
    // The month view for the month outputs, computed again when it is short or not the current
    // one; false when there is no month to output.
    bool EnsureMonthView();
    static constexpr const char* kNoMonthTides = "Calculate a months tides\rbefore choosing this option";
    // Whether the sunrise tool has filled a month's sun table; if not, says so.
    bool EnsureSunTable();
    // The hourglass, the pages, the curve drawn again; a missing or failing printer told.
    void PrintDocument(const std::string& title, const std::function<void(platform::PrinterPage&)>& page);
    // The three tables of angles and factors, each written once computed; the first that
    // cannot be written is told and ends the export.
    void WriteFactorsTables(bool indexed);
    void TellFailure(const std::string& what, const engine::FileResult& r, const std::string& advice = "");
    template <typename F>
    void LoadStep(const char* what, F f);
    std::optional<FailureNotices> loadNotices_;
    int TimerTicks = 0;
    struct PlacedControl {
        QWidget* control;
        int designTop;
    };
    std::vector<PlacedControl> belowPicture_;
    bool sunriseOccurs_ = false, sunsetOccurs_ = false;
};
