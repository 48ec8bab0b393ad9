#include "test_support.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <utility>

namespace testing_support {

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path() / ("tidewyn-test-" + std::to_string(rd()));
    std::filesystem::create_directories(base);
    path_ = base.string();
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ReadOnlyFolder::ReadOnlyFolder(std::string folder) : folder_(std::move(folder)) {
    std::filesystem::permissions(folder_, std::filesystem::perms(0555));
    if (::geteuid() != 0) return;
    engine::SetFileStepFault(
        [folder = std::filesystem::path(folder_)](engine::FileStep step, const std::string& path) {
            using engine::FileStep;
            if (std::filesystem::path(path).parent_path() != folder) return 0;
            const bool made = step == FileStep::Open && !std::filesystem::exists(path);
            return made || step == FileStep::Remove || step == FileStep::Rename ? EACCES : 0;
        });
}

ReadOnlyFolder::~ReadOnlyFolder() {
    if (::geteuid() == 0) engine::SetFileStepFault({});
    std::error_code ec;
    std::filesystem::permissions(folder_, std::filesystem::perms(0755), ec);
}

void UseDecimalCommaLocale() {
    auto& loc = engine::Env().locale;
    loc.decimalSeparator = ",";
    loc.groupSeparator = ".";
    loc.monthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                      "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    loc.shortDatePattern = "dd.MM.yyyy";
    loc.dateSeparator = ".";
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FileNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string SourceDir() {
    const char* dir = std::getenv("TIDEWYN_SOURCE_DIR");
    return dir ? dir : ".";
}

}  // namespace testing_support
