#include "engine/currentport.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "engine/calendar.h"
#include "engine/dates.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "engine/state.h"

namespace engine {

int16_t PortWithin(long port, long count) {
    if (count < 1) return static_cast<int16_t>(std::clamp<long>(port, -32768, 32767));
    return static_cast<int16_t>(std::clamp<long>(port, 1, std::min(count, kLastUsablePort)));
}

int16_t PortOfIndex(float portIndex) {
    try {
        return CInt(portIndex);
    } catch (const std::range_error&) {
        return 0;
    }
}

void TakePortRecord(const PortRecord& port, bool trimName) {
    SharedState& s = State();
    // A damaged position is not a place: no sun times are computed for it.
    const bool placed = !PositionFault(port);
    s.PortLatitude = placed ? port.Latitude : std::numeric_limits<double>::quiet_NaN();
    s.PortLongitude = placed ? port.Longitude : std::numeric_limits<double>::quiet_NaN();
    s.PortZoneHours = ZoneHours(port.ZoneLetter);
    s.PortName = trimName ? ShownText(port.PortName) : port.PortName;
}

FileResult LoadCurrentPort(const std::string& areaPath, bool trimName) {
    PortRecord port;
    FileResult r = ReadPortRecord(areaPath, State().CurrentPort, port);
    if (r.recordRead()) TakePortRecord(port, trimName);
    return r;
}

void SetSelectedDate(double date) {
    SharedState& s = State();
    DateParts p = SplitDate(date);
    s.SelectedDate = date;
    s.SelectedYear = p.year;
    s.SelectedMonth = p.month;
    s.SelectedDay = p.day;
    s.SelectedDayOfYear = DayOfYear(date);
}

}  // namespace engine
