#pragma once
// The month sun table (SunTable, SunValues): nautical and civil twilight, sunrise and sunset of
// every day of one month at one position, as the sunrise tool computes it and the results
// window, the sun print and the sun saves read it.
//
// Columns of day d (1 to 31): 1 the date text (" 5Jan  2024") and d; 2 nautical dawn, 3 civil
// dawn, 4 sunrise, 5 sunset, 6 civil dusk, 7 nautical dusk, each as "hh:mm" text and decimal
// hours, or "None" and 0 when the event does not happen that day.

#include <string>

namespace engine {

inline constexpr const char* kNoSunEvent = "None";

// Empties days 1 to 31, columns 1 to 8, and forgets the table's month.
void ClearSunTable();

// The date text of a day in the table: the plain number of the day, the month's abbreviation,
// a blank and the plain number of the year (" 5Jan  2024").
std::string SunDateText(int Year, int Month, int Day);

// Fills the table for every day of the month at the position (decimal degrees, north and east
// positive), each day with the summer-time hour when ApplySummer is set and the day lies in
// summer time; sets SunTableYear and SunTableMonth and fills the moon phases of the same month.
void ComputeSunTable(double Latitude, double Longitude, int Year, int Month, bool ApplySummer);

// Whether the event in column Col (2 to 7) of Day happens.
bool SunEventOccurs(int Col, int Day);

// The days the table holds: those of its month, 0 when it holds none.
int SunTableDays();

}  // namespace engine
