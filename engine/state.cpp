#include "engine/state.h"

#include <memory>
#include <stdexcept>

#include "engine/dates.h"

namespace engine {

namespace {
std::unique_ptr<SharedState>& instance() {
    static std::unique_ptr<SharedState> s = std::make_unique<SharedState>();
    return s;
}
}  // namespace

SharedState& State() { return *instance(); }

// Assigns in place, so references to the state stay valid across a reset.
void ResetState() {
    auto fresh = std::make_unique<SharedState>();
    *instance() = std::move(*fresh);
}

void ClearMonthTable() {
    SharedState& s = State();
    for (int d = 1; d <= 32; ++d)
        for (int f = 1; f <= 3; ++f)
            for (int e = 1; e <= 15; ++e) s.MonthText(d, f, e).clear();
    s.MonthView = {};
}

MonthViewKey CurrentMonthViewKey() {
    const SharedState& s = State();
    DateParts p = SplitDate(s.SelectedDate);
    return {s.AreaFilePath, s.CurrentPort,  p.year,          p.month,
            s.UserDepth,    s.OutputOption, s.UseSummerTime, s.ApplySummerTime};
}

bool MonthViewIsCurrent() {
    const SharedState& s = State();
    return s.MonthView.Year != 0 && s.MonthView == CurrentMonthViewKey();
}

std::string& SharedState::MonthText(int a, int b, int c) {
    if (a < 0 || a > 32 || b < 0 || b > 3 || c < 0 || c > 15)
        throw std::out_of_range("month table index out of range");
    return MonthTextTable[static_cast<size_t>((a * 4 + b) * 16 + c)];
}

}  // namespace engine
