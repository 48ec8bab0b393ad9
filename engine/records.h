#pragma once
// The fixed-length records of the program's files and their byte layouts.
// All records are little-endian with no gaps; texts are Windows-1252 padded with blanks;
// true is -1. Records are encoded field by field, never by casting a struct.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/numtext.h"

namespace engine {

using Bytes = std::vector<uint8_t>;
// A record's bytes as a string of the same bytes, for building a file's contents.
inline std::string AsString(const Bytes& b) { return {b.begin(), b.end()}; }

// Field-by-field writer and reader over a record buffer.
class RecordWriter {
public:
    explicit RecordWriter(size_t size) : buf_(size, 0) {}
    RecordWriter& text(const std::string& utf8, size_t width);  // cut or blank-padded
    RecordWriter& single(float v);
    RecordWriter& int16(int16_t v);
    RecordWriter& int32(int32_t v);
    RecordWriter& float64(double v);
    size_t offset() const { return pos_; }
    Bytes take() { return std::move(buf_); }

private:
    Bytes buf_;
    size_t pos_ = 0;
};

class RecordReader {
public:
    explicit RecordReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    std::string text(size_t width);  // the whole field, padding kept
    float single();
    int16_t int16();
    int32_t int32();
    double float64();
    size_t offset() const { return pos_; }

private:
    const uint8_t* take(size_t n);
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
};

// One port of an area file, 197 bytes. Phases in degrees, heights in metres.
struct PortRecord {
    static constexpr size_t kSize = 197;
    std::string PortNo;                 // 5 characters: a free label
    std::string PortName;               // 35 characters
    float Latitude = 0, Longitude = 0;  // decimal degrees, north and east positive
    std::string ZoneLetter;             // 1 character
    float Z0 = 0, M2g = 0, M2Hm = 0, S2g = 0, S2Hm = 0, K1g = 0, K1Hm = 0, O1g = 0, O1Hm = 0;
    float sf4 = 0, LF4 = 0, sf6 = 0, LF6 = 0;
    std::array<float, 12> MonthDZ0{};   // added to Z0 in that month, January first
    std::array<float, 12> MonthM2Hm{};  // replaces M2Hm in that month, January first
};
Bytes EncodePortRecord(const PortRecord& r);
PortRecord DecodePortRecord(std::span<const uint8_t> bytes);

// One tidal diamond of a diamond file, 165 bytes: its position, its reference character and
// the stream at each hour from HW -6 to HW +6. Directions in degrees; rates as typed, no unit.
struct HourStream {
    float Direction = 0, SpringRate = 0, NeapRate = 0;
};
struct TidalDiamondRecord {
    static constexpr size_t kSize = 165;
    static constexpr size_t kHours = 13;
    float Latitude = 0, Longitude = 0;  // decimal degrees, north and east positive
    std::string DiamondRef;             // 1 character; a blank when none
    std::array<HourStream, kHours> HourStreams{};
};
Bytes EncodeDiamondRecord(const TidalDiamondRecord& r);
TidalDiamondRecord DecodeDiamondRecord(std::span<const uint8_t> bytes);

// One observed height of a height file, 55 bytes: the time of day and the height, then three
// spare fields written as zeros and a remark written as blanks.
struct ObsHeightRecord {
    static constexpr size_t kSize = 55;
    float ObsTime = 0;    // decimal hours from midnight: 09:05 is 9 + 5/60
    float ObsHeight = 0;  // metres
};
Bytes EncodeObsHeightRecord(const ObsHeightRecord& r);
ObsHeightRecord DecodeObsHeightRecord(std::span<const uint8_t> bytes);

// The values a record may hold; a value outside them (or not a number) marks the record as
// damaged: no tide is computed from it.
inline constexpr ValueRange kLatitudeRange{-90, 90};
inline constexpr ValueRange kLongitudeRange{-180, 180};
inline constexpr ValueRange kLevelRange{-100, 100};    // Z0, amplitudes, monthly values, metres
inline constexpr ValueRange kPhaseRange{-3600, 3600};  // phases, degrees
inline constexpr ValueRange kFactorRange{-100, 100};   // F4 and F6
inline constexpr ValueRange kDepthRange{-100, 1000};   // a charted depth, metres
inline constexpr ValueRange kVesselRange{0, 100};      // draught and under-keel clearance, metres
inline constexpr ValueRange kDayHoursRange{0, 24};     // a time of day, hours

// The 13 constants of a port record in record order, each with its field's name and the
// values it may hold.
struct PortConstant {
    const char* name;
    float PortRecord::*field;
    ValueRange range;
};
inline constexpr PortConstant kPortConstants[13] = {
    {"Z0", &PortRecord::Z0, kLevelRange},     {"M2g", &PortRecord::M2g, kPhaseRange},
    {"M2Hm", &PortRecord::M2Hm, kLevelRange}, {"S2g", &PortRecord::S2g, kPhaseRange},
    {"S2Hm", &PortRecord::S2Hm, kLevelRange}, {"K1g", &PortRecord::K1g, kPhaseRange},
    {"K1Hm", &PortRecord::K1Hm, kLevelRange}, {"O1g", &PortRecord::O1g, kPhaseRange},
    {"O1Hm", &PortRecord::O1Hm, kLevelRange}, {"sf4", &PortRecord::sf4, kPhaseRange},
    {"LF4", &PortRecord::LF4, kFactorRange},  {"sf6", &PortRecord::sf6, kPhaseRange},
    {"LF6", &PortRecord::LF6, kFactorRange},
};

// A range's end as a user reads it: "-100", "3600".
std::string RangeEndText(double end);
// What is wrong with a value: "Z0 is not a number", "Latitude is 91, outside -90 to 90"; nothing
// when it lies in its range.
std::optional<std::string> ValueFault(const std::string& field, double value, ValueRange range);
// A constant typed outside what an area file may hold: "M2Hm must lie between -100 and 100".
std::optional<std::string> ConstantFault(const PortConstant& c, double value);
// The most a height may be above or below the datum: no sea's tide comes near it, metres.
inline constexpr double kLargestTide = 25;
// The largest height, metres, that a record's constants can give in any computation, with
// Z0 and M2Hm, and with withMonths also with each month's Z0 correction and M2Hm: the mean
// level, each constituent with its largest nodal factor, and the shallow-water terms on the
// largest combined semi-diurnal wave. For constants within their ranges.
double LargestHeight(const PortRecord& r, bool withMonths);
// A record whose constants can give heights beyond kLargestTide: "the constants can give
// heights of 14,331 m, more than any sea's tide (25 m)", the height rounded up.
std::optional<std::string> HeightsFault(const PortRecord& r, bool withMonths);
// The first of the thirteen constants outside its range, worded as ValueFault words it, then
// HeightsFault of Z0 and M2Hm.
std::optional<std::string> PortConstantsFault(const PortRecord& r);
// The first damaged field of a record, worded as ValueFault words it, then HeightsFault with
// the month values; nothing when every field lies in its range and the heights are a sea's.
std::optional<std::string> PortRecordFault(const PortRecord& r);
// Only the position: what a user-depth file's notes are made from.
std::optional<std::string> PositionFault(const PortRecord& r);

// The time of day outside 0 to 24 hours, or the height outside kLevelRange.
std::optional<std::string> ObsHeightRecordFault(const ObsHeightRecord& r);

// The first damaged field of a diamond: its position outside its range, or a direction or a
// rate that is not a finite number ("Spring rate at HW -3 is not a number").
std::optional<std::string> DiamondRecordFault(const TidalDiamondRecord& r);

// The one record of the settings file, 1307 bytes.
struct SettingsRecord {
    static constexpr size_t kSize = 1307;
    std::string AreaPath, OwnerText, SpareText1, SpareText2, WaypointFile;  // 255 characters each
    float PortIndex = 0, OutputOption = 0, Draught = 0, KeelClearance = 0, SpareValue = 0;
    int16_t SummerTime = 0, SortByName = 0;  // -1 true
    int32_t Reserved1 = 0, Reserved2 = 0;
};
Bytes EncodeSettingsRecord(const SettingsRecord& r);
SettingsRecord DecodeSettingsRecord(std::span<const uint8_t> bytes);
// The output options the program draws: 1 chart datum only, 2 with the user's charted depth,
// 3 also the draught's curve; another value: "OutputOption is 2.5, not 1, 2 or 3".
std::optional<std::string> OutputOptionFault(float option);
// The first of the draught, the clearance (outside kVesselRange) and the output option that is
// damaged (the port has its own rule where it is read).
std::optional<std::string> SettingsRecordFault(const SettingsRecord& r);

// One port of a user-depth file, 305 bytes.
struct DepthRecord {
    static constexpr size_t kSize = 305;
    static constexpr size_t kPortIndexOffset = 35;
    std::string PortName;  // 35 characters
    int16_t PortIndex = 0;
    float ChartedDepth = 0;  // metres
    float SpareA = 0, SpareB = 0;
    std::string Notes;  // 256 characters
};
Bytes EncodeDepthRecord(const DepthRecord& r);
DepthRecord DecodeDepthRecord(std::span<const uint8_t> bytes);
// The charted depth outside kDepthRange.
std::optional<std::string> DepthRecordFault(const DepthRecord& r);

// One line of the developer tables of angles and factors.
struct FactorsRow {
    double Julian = 0;
    int16_t Day = 0, Year = 0;
    double ma = 0, mf = 0, sa = 0, sf = 0, ka = 0, kf = 0, oa = 0, of = 0;
    double dam = 0, das = 0, dak = 0, dao = 0;
    double dfm = 0, dfs = 0, dfk = 0, dfo = 0;
};

// Time-zone hours of a port's zone letter: code of "L" minus the letter's code ("L" 0,
// "M".."W" -1..-11, "K".."A" +1..+11). Lower case counts as upper case; an empty letter, a
// blank or any other byte gives 0.
int ZoneHours(const std::string& letter);
// The letter stored for a time zone typed as a number: a whole number of hours from -11 to +11
// gives the letter of code 76 - hours ("J" for +2, "S" for -7); anything else (a fraction, 12,
// not a number) gives "L".
std::string ZoneLetterForHours(double hours);

}  // namespace engine
