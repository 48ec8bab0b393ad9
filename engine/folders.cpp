#include "engine/folders.h"

#include <cstdio>
#include <filesystem>

#include "engine/environment.h"
#include "engine/state.h"

namespace engine {

namespace fs = std::filesystem;

namespace {
void makeFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
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

std::string GetLocalAppDataPath() { return withoutTrailingSlash(Env().localAppDataFolder); }

std::string BuildSettingsFilePath() {
    return State().AppDataFolder + "/" + kProgramDataFolderName + "/" + kSettingsFileName;
}

std::string TrimAtNull(const std::string& text) {
    size_t i = text.find('\0');
    return i == std::string::npos ? text : text.substr(0, i);
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    if (path.empty() || fs::is_directory(path, ec)) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

}  // namespace engine
