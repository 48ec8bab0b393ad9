#pragma once
// The start-up check of the system's short-date format, and locale texts by item number.

#include <string>

namespace engine {

// Locale item numbers.
inline constexpr long kLocaleDateSeparator = 0x1D;
inline constexpr long kLocaleShortDate = 0x1F;
inline constexpr long kLocaleLongDate = 0x20;
inline constexpr long kLocaleLanguageName = 0x2;

// A text of the system locale; "" for an item it cannot give.
std::string GetLocaleString(long lcid, long lcType);

struct DateFormatCheck {
    double Day = 0, Month = 0, Year = 0;  // today
    std::string MonthName;                // today's month name
    std::string FormatText;               // one of the twelve patterns, or "" when not recognised
};

// Finds the system's date separator (into DateSeparator) and which of the twelve short-date
// patterns ("DD/MM/YYYY", "YYYY-MM-DD", ...) it follows, from the locale's own short-date
// pattern. The C and POSIX locales (no pattern) count as "DD/MM/YYYY". A pattern without
// "/", "-" or "." gives an empty FormatText.
DateFormatCheck CheckDateFormat();

}  // namespace engine
