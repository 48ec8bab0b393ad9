#include "engine/folders.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <vector>

#include "engine/environment.h"
#include "engine/numtext.h"
#include "engine/state.h"

namespace engine {

namespace fs = std::filesystem;

namespace {
// Folders that could not be made, with the reason.
std::map<std::string, std::string>& folderFaults() {
    static std::map<std::string, std::string> faults;
    return faults;
}

std::string folderKey(const std::string& path) {
    fs::path p = fs::path(path).lexically_normal();
    return (p.has_filename() ? p : p.parent_path()).string();
}

void makeFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    if (ec) {
        // A file standing where the folder should be is the likely cause, and says more than
        // "File exists".
        std::error_code probe;
        const bool fileInTheWay = fs::exists(path, probe) && !fs::is_directory(path, probe);
        folderFaults()[folderKey(path)] = fileInTheWay ? "a file of that name is in its place" : ec.message();
        return;
    }
    folderFaults().erase(folderKey(path));
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}
}  // namespace

void MakeAppDataFolder() { makeFolder(State().AppDataFolder + "/" + kProgramDataFolderName); }

void MakeUserDepthsFolder() {
    std::string base = State().DocumentsFolder + "/" + kProgramDataFolderName;
    makeFolder(base);
    makeFolder(base + "/UserDepths");
}

void MakeTextOutputFolder() {
    std::string base = State().DocumentsFolder + "/" + kProgramDataFolderName;
    makeFolder(base);
    std::string out = base + "/TextOutput";
    makeFolder(out);
    State().TextOutputFolder = out;
}

std::string FolderFault(const std::string& filePath) {
    // The folder nearest the root: a folder under it fails for the same reason.
    const fs::path file = fs::path(filePath).lexically_normal();
    for (fs::path dir = file.root_path(); const auto& part : file.parent_path().relative_path()) {
        dir /= part;
        auto it = folderFaults().find(dir.string());
        std::error_code ec;
        if (it != folderFaults().end() && !fs::is_directory(dir, ec))
            return "the folder " + it->first + " could not be made: " + it->second;
    }
    return "";
}

std::string GetLocalAppDataPath() { return withoutTrailingSlash(Env().localAppDataFolder); }

std::string BuildSettingsFilePath() {
    return State().AppDataFolder + "/" + kProgramDataFolderName + "/" + kSettingsFileName;
}

std::string TrimAtNull(const std::string& text) {
    size_t i = text.find('\0');
    return i == std::string::npos ? text : text.substr(0, i);
}

std::string ShownText(const std::string& field) { return Trim(TrimAtNull(field)); }

std::string LineText(const std::string& field) {
    std::string text = TrimAtNull(field);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32 || c == 127) c = ' ';
    return Trim(text);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    if (path.empty() || fs::is_directory(path, ec)) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, ec) && !ec;
}

std::string InFolder(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

namespace {
char foldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
}  // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return foldCase(x) == foldCase(y); });
}

std::string NameIgnoringCase(const std::string& folder, const std::string& name) {
    std::error_code ec;
    if (fs::is_regular_file(InFolder(folder, name), ec)) return name;
    std::string found;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        std::error_code statError;
        if (SameIgnoringCase(entry, name) && fs::is_regular_file(it->path(), statError) &&
            (found.empty() || entry < found))
            found = entry;
    }
    return found;
}

std::string NameForBase(const std::string& folder, const std::string& base, const std::string& extension) {
    // Every spelling of the extension's letters, lower case first.
    std::vector<size_t> letters;
    for (size_t i = 0; i < extension.size(); ++i)
        if (extension[i] >= 'a' && extension[i] <= 'z') letters.push_back(i);
    for (unsigned mask = 0; mask < (1u << letters.size()); ++mask) {
        std::string spelt = extension;
        for (size_t k = 0; k < letters.size(); ++k)
            if (mask & (1u << k)) spelt[letters[k]] = static_cast<char>(spelt[letters[k]] - 'a' + 'A');
        std::error_code ec;
        if (fs::is_regular_file(InFolder(folder, base + spelt), ec)) return base + spelt;
    }
    const std::string listed = NameIgnoringCase(folder, base + extension);
    return listed.empty() ? base + extension : listed;
}

}  // namespace engine
