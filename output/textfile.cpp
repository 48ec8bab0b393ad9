#include "output/textfile.h"

#include <algorithm>

#include "engine/cp1252.h"
#include "engine/folders.h"
#include "engine/numtext.h"
#include "platform/dialogs.h"

namespace output {

std::string CsvField(std::string_view field, char separator) {
    if (field.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string_view::npos)
        return std::string(field);
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void TextFile::AddLine(std::string_view line) {
    text_ += line;
    text_ += "\r\n";
}

void TextFile::AddFields(const std::vector<std::string>& fields, char separator) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += separator;
        line += CsvField(fields[i], separator);
    }
    AddLine(line);
}

engine::FileResult TextFile::Write(const std::string& path) const {
    return engine::ReplaceFile(path, engine::Utf8ToCp1252(text_));
}

std::string PortFileName(const std::string& portName) {
    std::string name = engine::Trim(engine::TrimAtNull(portName));
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

bool SaveTextFile(const TextFile& file, const std::string& path) {
    engine::FileResult r = file.Write(path);
    // Saved also when only the folder's sync failed, which the message says.
    return platform::TellSave(r, "The file has not been saved.\r");
}

}  // namespace output
