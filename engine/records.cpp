#include "engine/records.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "engine/cp1252.h"
#include "engine/numtext.h"

namespace engine {

static_assert(std::endian::native == std::endian::little, "record codecs assume a little-endian host");

RecordWriter& RecordWriter::text(const std::string& utf8, size_t width) {
    std::string bytes = Utf8ToCp1252(utf8);
    if (bytes.size() > width) bytes.resize(width);
    bytes.resize(width, ' ');
    if (pos_ + width > buf_.size()) throw std::out_of_range("record field beyond the record");
    std::memcpy(buf_.data() + pos_, bytes.data(), width);
    pos_ += width;
    return *this;
}

namespace {
template <typename T>
void put(Bytes& buf, size_t& pos, T v) {
    if (pos + sizeof(T) > buf.size()) throw std::out_of_range("record field beyond the record");
    std::memcpy(buf.data() + pos, &v, sizeof(T));
    pos += sizeof(T);
}
}  // namespace

RecordWriter& RecordWriter::single(float v) {
    put(buf_, pos_, v);
    return *this;
}
RecordWriter& RecordWriter::int16(int16_t v) {
    put(buf_, pos_, v);
    return *this;
}
RecordWriter& RecordWriter::int32(int32_t v) {
    put(buf_, pos_, v);
    return *this;
}
RecordWriter& RecordWriter::float64(double v) {
    put(buf_, pos_, v);
    return *this;
}

const uint8_t* RecordReader::take(size_t n) {
    if (pos_ + n > bytes_.size()) throw std::out_of_range("record field beyond the record");
    const uint8_t* p = bytes_.data() + pos_;
    pos_ += n;
    return p;
}

std::string RecordReader::text(size_t width) {
    const uint8_t* p = take(width);
    return Cp1252ToUtf8(std::string_view(reinterpret_cast<const char*>(p), width));
}

namespace {
template <typename T>
T get(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof(T));
    return v;
}
}  // namespace

float RecordReader::single() { return get<float>(take(4)); }
int16_t RecordReader::int16() { return get<int16_t>(take(2)); }
int32_t RecordReader::int32() { return get<int32_t>(take(4)); }
double RecordReader::float64() { return get<double>(take(8)); }

Bytes EncodePortRecord(const PortRecord& r) {
    RecordWriter w(PortRecord::kSize);
    w.text(r.PortNo, 5).text(r.PortName, 35).single(r.Latitude).single(r.Longitude).text(r.ZoneLetter, 1);
    for (float v :
         {r.Z0, r.M2g, r.M2Hm, r.S2g, r.S2Hm, r.K1g, r.K1Hm, r.O1g, r.O1Hm, r.sf4, r.LF4, r.sf6, r.LF6})
        w.single(v);
    for (float v : r.MonthDZ0) w.single(v);
    for (float v : r.MonthM2Hm) w.single(v);
    return w.take();
}

PortRecord DecodePortRecord(std::span<const uint8_t> bytes) {
    RecordReader rd(bytes);
    PortRecord r;
    r.PortNo = rd.text(5);
    r.PortName = rd.text(35);
    r.Latitude = rd.single();
    r.Longitude = rd.single();
    r.ZoneLetter = rd.text(1);
    for (float* f : {&r.Z0, &r.M2g, &r.M2Hm, &r.S2g, &r.S2Hm, &r.K1g, &r.K1Hm, &r.O1g, &r.O1Hm, &r.sf4,
                     &r.LF4, &r.sf6, &r.LF6})
        *f = rd.single();
    for (float& v : r.MonthDZ0) v = rd.single();
    for (float& v : r.MonthM2Hm) v = rd.single();
    return r;
}

Bytes EncodeDiamondRecord(const TidalDiamondRecord& r) {
    RecordWriter w(TidalDiamondRecord::kSize);
    w.single(r.Latitude).single(r.Longitude).text(r.DiamondRef, 1);
    for (const HourStream& h : r.HourStreams) w.single(h.Direction).single(h.SpringRate).single(h.NeapRate);
    return w.take();
}

TidalDiamondRecord DecodeDiamondRecord(std::span<const uint8_t> bytes) {
    RecordReader rd(bytes);
    TidalDiamondRecord r;
    r.Latitude = rd.single();
    r.Longitude = rd.single();
    r.DiamondRef = rd.text(1);
    for (HourStream& h : r.HourStreams) {
        h.Direction = rd.single();
        h.SpringRate = rd.single();
        h.NeapRate = rd.single();
    }
    return r;
}

Bytes EncodeObsHeightRecord(const ObsHeightRecord& r) {
    RecordWriter w(ObsHeightRecord::kSize);
    w.single(r.ObsTime).single(r.ObsHeight).int32(0).int32(0).int32(0).text("", 35);
    return w.take();
}

ObsHeightRecord DecodeObsHeightRecord(std::span<const uint8_t> bytes) {
    RecordReader rd(bytes);
    ObsHeightRecord r;
    r.ObsTime = rd.single();
    r.ObsHeight = rd.single();
    return r;
}

Bytes EncodeSettingsRecord(const SettingsRecord& r) {
    RecordWriter w(SettingsRecord::kSize);
    w.text(r.AreaPath, 255).text(r.OwnerText, 255).text(r.SpareText1, 255).text(r.SpareText2, 255);
    w.text(r.WaypointFile, 255);
    w.single(r.PortIndex)
        .single(r.OutputOption)
        .single(r.Draught)
        .single(r.KeelClearance)
        .single(r.SpareValue);
    w.int16(r.SummerTime).int16(r.SortByName).int32(r.Reserved1).int32(r.Reserved2);
    return w.take();
}

SettingsRecord DecodeSettingsRecord(std::span<const uint8_t> bytes) {
    RecordReader rd(bytes);
    SettingsRecord r;
    r.AreaPath = rd.text(255);
    r.OwnerText = rd.text(255);
    r.SpareText1 = rd.text(255);
    r.SpareText2 = rd.text(255);
    r.WaypointFile = rd.text(255);
    r.PortIndex = rd.single();
    r.OutputOption = rd.single();
    r.Draught = rd.single();
    r.KeelClearance = rd.single();
    r.SpareValue = rd.single();
    r.SummerTime = rd.int16();
    r.SortByName = rd.int16();
    r.Reserved1 = rd.int32();
    r.Reserved2 = rd.int32();
    return r;
}

Bytes EncodeDepthRecord(const DepthRecord& r) {
    RecordWriter w(DepthRecord::kSize);
    w.text(r.PortName, 35).int16(r.PortIndex).single(r.ChartedDepth).single(r.SpareA).single(r.SpareB);
    w.text(r.Notes, 256);
    return w.take();
}

DepthRecord DecodeDepthRecord(std::span<const uint8_t> bytes) {
    RecordReader rd(bytes);
    DepthRecord r;
    r.PortName = rd.text(35);
    r.PortIndex = rd.int16();
    r.ChartedDepth = rd.single();
    r.SpareA = rd.single();
    r.SpareB = rd.single();
    r.Notes = rd.text(256);
    return r;
}

std::string RangeEndText(double end) { return std::to_string(static_cast<long>(end)); }

std::optional<std::string> ValueFault(const std::string& field, double value, ValueRange range) {
    if (range.holds(value)) return std::nullopt;
    if (std::isnan(value)) return field + " is not a number";
    const std::string shown = std::isinf(value) ? (value > 0 ? "infinite" : "minus infinite")
                                                : CStrSingle(static_cast<float>(value));
    return field + " is " + shown + ", outside " + RangeEndText(range.lo) + " to " + RangeEndText(range.hi);
}

std::optional<std::string> PositionFault(const PortRecord& r) {
    if (auto f = ValueFault("Latitude", r.Latitude, kLatitudeRange)) return f;
    return ValueFault("Longitude", r.Longitude, kLongitudeRange);
}

std::optional<std::string> ConstantFault(const PortConstant& c, double value) {
    if (c.range.holds(value)) return std::nullopt;
    return std::string(c.name) + " must lie between " + RangeEndText(c.range.lo) + " and " +
           RangeEndText(c.range.hi);
}

namespace {
// The largest nodal factors of the four groups of CalcAnglesAndFactors over the 50 hours of a
// computation: every member of the group at its largest and in phase, plus what the factor's
// straight-line change from one day to the next adds over the 26 hours past the second day
// (at most 0.089, 0.014, 0.029 and 0.093 a day).
constexpr double kLargestM2Factor = 1.48, kLargestS2Factor = 1.44;
constexpr double kLargestK1Factor = 1.60, kLargestO1Factor = 1.67;

double largestHeightOf(double mean, double m2Hm, const PortRecord& r) {
    // The combined semi-diurnal wave, on which the shallow-water terms act.
    const double wave = kLargestM2Factor * std::fabs(m2Hm) + kLargestS2Factor * std::fabs(r.S2Hm);
    return std::fabs(mean) + wave + kLargestK1Factor * std::fabs(r.K1Hm) +
           kLargestO1Factor * std::fabs(r.O1Hm) + std::fabs(r.LF4) * wave * wave +
           std::fabs(r.LF6) * wave * wave * wave;
}

std::optional<std::string> constantFieldsFault(const PortRecord& r) {
    for (const PortConstant& c : kPortConstants)
        if (auto fault = ValueFault(c.name, r.*c.field, c.range)) return fault;
    return std::nullopt;
}
}  // namespace

double LargestHeight(const PortRecord& r, bool withMonths) {
    double largest = largestHeightOf(r.Z0, r.M2Hm, r);
    if (withMonths)
        for (size_t m = 0; m < 12; ++m)
            largest = std::max(largest,
                               largestHeightOf(static_cast<double>(r.Z0) + r.MonthDZ0[m], r.MonthM2Hm[m], r));
    return largest;
}

std::optional<std::string> HeightsFault(const PortRecord& r, bool withMonths) {
    const double largest = LargestHeight(r, withMonths);
    if (!(largest > kLargestTide)) return std::nullopt;
    return "the constants can give heights of " + Format(std::ceil(largest), "#,##0") +
           " m, more than any sea's tide (" + Format(kLargestTide, "0") + " m)";
}

std::optional<std::string> PortConstantsFault(const PortRecord& r) {
    if (auto f = constantFieldsFault(r)) return f;
    return HeightsFault(r, false);
}

std::optional<std::string> PortRecordFault(const PortRecord& r) {
    if (auto f = PositionFault(r)) return f;
    if (auto f = constantFieldsFault(r)) return f;
    for (size_t m = 0; m < 12; ++m) {
        const std::string month = " of month " + std::to_string(m + 1);
        if (auto f = ValueFault("MonthDZ0" + month, r.MonthDZ0[m], kLevelRange)) return f;
        if (auto f = ValueFault("MonthM2Hm" + month, r.MonthM2Hm[m], kLevelRange)) return f;
    }
    return HeightsFault(r, true);
}

std::optional<std::string> DepthRecordFault(const DepthRecord& r) {
    return ValueFault("ChartedDepth", r.ChartedDepth, kDepthRange);
}

std::optional<std::string> ObsHeightRecordFault(const ObsHeightRecord& r) {
    if (auto f = ValueFault("ObsTime", r.ObsTime, kDayHoursRange)) return f;
    return ValueFault("ObsHeight", r.ObsHeight, kLevelRange);
}

std::optional<std::string> DiamondRecordFault(const TidalDiamondRecord& r) {
    if (auto f = ValueFault("Latitude", r.Latitude, kLatitudeRange)) return f;
    if (auto f = ValueFault("Longitude", r.Longitude, kLongitudeRange)) return f;
    // Directions and rates have no range of their own, only a finite value.
    auto finite = [](const std::string& field, float v) -> std::optional<std::string> {
        if (std::isfinite(v)) return std::nullopt;
        if (std::isnan(v)) return field + " is not a number";
        return field + (v > 0 ? " is infinite" : " is minus infinite");
    };
    for (size_t h = 0; h < TidalDiamondRecord::kHours; ++h) {
        const int hw = static_cast<int>(h) - 6;
        const std::string hour =
            hw == 0 ? " at HW"
                    : " at HW " + std::string(hw > 0 ? "+" : "-") + std::to_string(hw > 0 ? hw : -hw);
        const HourStream& s = r.HourStreams[h];
        if (auto f = finite("Direction" + hour, s.Direction)) return f;
        if (auto f = finite("Spring rate" + hour, s.SpringRate)) return f;
        if (auto f = finite("Neap rate" + hour, s.NeapRate)) return f;
    }
    return std::nullopt;
}

std::optional<std::string> OutputOptionFault(float option) {
    if (option == 1.0f || option == 2.0f || option == 3.0f) return std::nullopt;
    if (std::isnan(option)) return "OutputOption is not a number";
    const std::string shown =
        std::isinf(option) ? (option > 0 ? "infinite" : "minus infinite") : CStrSingle(option);
    return "OutputOption is " + shown + ", not 1, 2 or 3";
}

std::optional<std::string> SettingsRecordFault(const SettingsRecord& r) {
    if (auto f = ValueFault("Draught", r.Draught, kVesselRange)) return f;
    if (auto f = ValueFault("KeelClearance", r.KeelClearance, kVesselRange)) return f;
    return OutputOptionFault(r.OutputOption);
}

int ZoneHours(const std::string& letter) {
    if (letter.empty()) return 0;
    auto c = static_cast<unsigned char>(letter[0]);
    if (c >= 'a' && c <= 'w') c = static_cast<unsigned char>(c - 'a' + 'A');
    if (c < 'A' || c > 'W') return 0;
    return 'L' - c;
}

std::string ZoneLetterForHours(double hours) {
    // NaN fails both comparisons.
    if (!(hours >= -11 && hours <= 11) || hours != std::floor(hours)) return "L";
    return std::string(1, static_cast<char>('L' - static_cast<int>(hours)));
}

}  // namespace engine
