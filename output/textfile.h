#pragma once
// Text files saved for spreadsheets and editors: lines ended by CR LF, Windows-1252 on disk,
// written through a temporary file, so that a failed write leaves an older file whole.

#include <string>
#include <string_view>
#include <vector>

#include "engine/recordfile.h"

namespace output {

// A field of a separated line: as it stands, or, when it holds the separator, a double quote,
// CR or LF, in double quotes with each inner quote doubled.
std::string CsvField(std::string_view field, char separator);

class TextFile {
public:
    // A line and its CR LF.
    void AddLine(std::string_view line);
    // The fields by CsvField, joined by the separator, and CR LF.
    void AddFields(const std::vector<std::string>& fields, char separator);
    const std::string& Text() const { return text_; }  // UTF-8
    // The text in Windows-1252 (a character it cannot hold becomes "?"), replacing the file.
    engine::FileResult Write(const std::string& path) const;

private:
    std::string text_;
};

// A port name as part of a file name: cut at its first NUL, trimmed, "/" made "_".
std::string PortFileName(const std::string& portName);

// Writes the file and tells the user, with path and reason, when it cannot be written.
// True when the file was written, also when only its folder's sync failed (which is told).
bool SaveTextFile(const TextFile& file, const std::string& path);

}  // namespace output
