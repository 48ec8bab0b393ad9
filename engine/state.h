#pragma once
// The program's shared state: one instance, reached through State(). Every computation fills
// it and every window reads and writes it directly. Tests reset it with ResetState().

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/records.h"
#include "engine/tables.h"

namespace engine {

// A time in decimal hours and a height in metres: one element of a one-minute day series.
struct TimeHeightPair {
    double Time = 0;
    double Height = 0;
};
using TimeHeightSeries = std::vector<TimeHeightPair>;

// What a month view was computed for: the month outputs compute the month again when this no
// longer matches the current state (another port, month, depth, option or summer setting).
struct MonthViewKey {
    std::string AreaFilePath;
    int16_t CurrentPort = 0;
    int Year = 0;  // 0: no month computed
    int Month = 0;
    float UserDepth = 0;
    float OutputOption = 0;
    bool UseSummerTime = false;
    bool ApplySummerTime = false;
    bool operator==(const MonthViewKey&) const = default;
};

struct SharedState {
    // A. Current port and area
    int16_t CurrentPort = 0;     // record number in the area file and the user-depth file
    std::string AreaFilePath;    // the settings' AreaPath, trimmed
    std::string ChosenAreaFile;  // picked with the area menu, for the port dialog
    std::string PortName;
    double PortLatitude = 0;  // signed decimal degrees (the record's single)
    double PortLongitude = 0;
    int PortZoneHours = 0;
    int AdjZoneHours = 0;
    std::string DepthFileName;  // area file name up to its first "." & ".DEP"
    std::string DepthFilePath;
    // The last notice of EnsureUserDepthFile's check of the file, told once a run.
    std::string DepthFileNotice;
    float UserDepth = 0;  // metres, the current port's charted depth

    // B. Settings copies
    SettingsRecord Settings;
    std::string SettingsFilePath;
    float OutputOption = 0;  // 1 chart datum only, 2 with the user depth, 3 also draught curve
    float Draught = 0;
    float KeelClearance = 0;
    bool UseSummerTime = false;    // wording of notes, footers and exports
    bool ApplySummerTime = false;  // each recompute applies IsSummerTime
    int16_t SpareSetting = 0;

    // C. Selected date and time
    double SelectedDate = 0;  // date value; carries the clock time from the start
    int SelectedYear = 0;
    int SelectedMonth = 0;
    int SelectedDay = 0;
    int SelectedDayOfYear = 0;
    // The clock time of the read-out on the displayed day's table, in decimal hours, and the
    // UTC instant it was taken at (the load, the port dialog's OK, the month view).
    double TimeNowHours = 0;
    double TimeNowInstant = 0;
    std::string ShortDateFormat;  // one of the twelve patterns, "" when not recognised
    std::string DateSeparator;

    // D. Tide curves and events
    CurveTable DayCurve;
    CurveTable OutputCurve;
    CurveTable AdjCurvePort1, AdjCurveMid, AdjCurvePort2;
    LayerTable LayerM2, LayerS2, LayerK1, LayerO1, LayerF4, LayerF6, LayerZ0;
    LayerSet AdjLayersPort1, AdjLayersMid, AdjLayersPort2;
    EventTable DayEvents;
    EventTextTable DayEventText;
    DayTextBuffer DayText;
    int CurvePoints = 0;
    double DayMeanLevel = 0;
    double AdjMeanPort1 = 0, AdjMeanMid = 0, AdjMeanPort2 = 0;
    int EventCount = 0;
    double DayRange = 0;
    int DayTextCount = 0;
    double SpringNeapLag = 0;  // hours between the S2 and M2 contribution peaks; NaN: none found

    // E. Drawing and read-out state
    double ScaleTop = 0, ScaleBottom = 0;
    double ReadoutTime = 0, ReadoutHeight = 0;
    int ReadoutFrozen = 0;
    int AdjReadoutFrozen = 0;
    int LayersMode = 0;  // 0 tide curve, 1 constituent layers
    std::string DepthNote;
    bool ShowConstants = false;
    double SunriseTime = 0, SunsetTime = 0;

    // F. Month tables and sun tables
    std::vector<std::string> MonthRowsA, MonthRowsB;
    MonthViewKey MonthView;  // what MonthRowsA/B and MonthTextTable were computed for
    std::vector<std::string> MonthTextTable = std::vector<std::string>(33 * 4 * 16);  // (0..32, 0..3, 0..15)
    Table<std::string, 9, 32> SunTable;  // (column, day of month)
    Table<double, 9, 32> SunValues;
    int SunTableYear = 0, SunTableMonth = 0;  // the month SunTable holds; 0: none
    std::string SunPlace, SunLatText, SunLongText;
    std::string MoonPhaseText;
    Slots<std::string, 11> MoonPhaseList;
    int MoonPhaseCount = 0;
    std::vector<FactorsRow> FactorsTable;

    // G. Folders and files
    std::string AppDataFolder;
    std::string DocumentsFolder;
    std::string TextOutputFolder;
    std::string PdfFileName;
    std::string HeightFilePath;
    std::string EditAreaFileName, EditAreaFilePath, CopySourcePath, CopyDestPath;

    // The seven day layers in the order M2, S2, K1, O1, F4, F6, Z0.
    std::array<LayerTable*, 7> DayLayers() {
        return {&LayerM2, &LayerS2, &LayerK1, &LayerO1, &LayerF4, &LayerF6, &LayerZ0};
    }
    std::string& MonthText(int a, int b, int c);
};

SharedState& State();
void ResetState();

// Blanks the month tide table's text cells (day 1 to 32, field 1 to 3, event 1 to 15); cells
// with an index 0 are left as they are. The month view's key is reset, so the table no longer
// counts as computed.
void ClearMonthTable();

// The key of a month view computed now: the month of SelectedDate for the current port, area
// file, user depth, output option and summer settings.
MonthViewKey CurrentMonthViewKey();
// Whether the month tables hold a month computed for the current state.
bool MonthViewIsCurrent();

}  // namespace engine
