#pragma once
// The day's and the month's tides as text: the clipboard copies and the text and CSV saves.

#include <string>

#include "output/textfile.h"

namespace output {

// The springs/neaps wording of a lag in hours between the S2 and M2 peaks, from "Springs" to
// "Springs -1 day"; empty below 0, above 14 or when there is no lag.
std::string SpringNeapLabel(double lag);

// The day list's lines (DayText), the time basis in brackets and the springs/neaps wording.
std::string DayTidesCopyText(bool adjusted);

// The month view's rows (MonthRowsA cut at a NUL, both trimmed), TAB between them, and the
// time basis of the view's month: "Times are for :" and the basis of its first day, and in a
// month whose clock changes "From 31 Mar :" and the basis from that day.
std::string MonthTidesCopyText();
// The month view's rows as they stand and the time basis, separated by `separator`; with ","
// a field is quoted by CsvField (a decimal comma, a quote), with TAB written as it stands.
TextFile MonthTidesFile(char separator);
// "," when the chosen file's name (not its folder) contains ".csv", TAB otherwise.
char MonthTidesSeparator(const std::string& path);
// "Dover_Mar_2024": the port's name, the month's English abbreviation and the year; a "/" of the
// name becomes "_".
std::string MonthTidesDefaultName();

// The day at 10-minute steps: the two captions (the port's by LineText), then a line a step
// from OutputCurve with TAB, the time, TAB and the height to two decimals.
TextFile DayTableFile(const std::string& portCaption, const std::string& dateCaption);

}  // namespace output
