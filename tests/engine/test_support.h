#pragma once
// Shared fixture pieces for the engine tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/environment.h"
#include "engine/recordfile.h"
#include "engine/state.h"

namespace testing_support {

// A fresh shared state and environment (English "." locale, a fixed clock) for each test.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine::ResetState();
        engine::ResetEnvironment();
    }
    void TearDown() override {
        engine::SetReadFault({});
        engine::SetWriteFault({});
        engine::SetFileStepFault({});
        engine::ResetState();
        engine::ResetEnvironment();
    }
};

// A temporary folder removed at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// A folder read-only for the object's life: nothing new can be made in it, nothing in it removed
// or renamed. The system refuses that to a user; where the tests run as root, which it does not
// refuse, the step seam does as the system would.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(std::string folder);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    std::string folder_;
};

// Writes a file's bytes through the engine's replacement; fails the test when it cannot.
inline void WriteBytes(const std::string& path, const std::string& bytes) {
    ASSERT_TRUE(engine::ReplaceFile(path, bytes).ok()) << path;
}
// The path without the suffix, when it ends in it.
inline std::string WithoutSuffix(std::string path, const std::string& suffix) {
    if (path.ends_with(suffix)) path.resize(path.size() - suffix.size());
    return path;
}
// A step a writer took, as the step seam saw it; RecordFileSteps keeps every step in `steps`
// and fails none.
struct TakenStep {
    engine::FileStep step;
    std::string path;
};
inline void RecordFileSteps(std::vector<TakenStep>& steps) {
    engine::SetFileStepFault([&steps](engine::FileStep step, const std::string& path) {
        steps.push_back({step, path});
        return 0;
    });
}
// What the message of a writer failing at `at` names: the folder when the temporary file could
// not be made there (its leftover removed, or the file opened), otherwise the file replaced.
inline std::string NamedInFailure(const TakenStep& at) {
    const bool staging = at.path.ends_with(engine::kStagingSuffix);
    if (staging && (at.step == engine::FileStep::Remove || at.step == engine::FileStep::Open))
        return std::filesystem::path(at.path).parent_path().string();
    return WithoutSuffix(at.path, std::string(engine::kStagingSuffix));
}

// A German-style locale: decimal comma, "." grouping.
void UseDecimalCommaLocale();

// The bytes of a file ("" when it cannot be read).
std::string ReadAll(const std::string& path);

// The names of a folder's entries, sorted.
std::vector<std::string> FileNames(const std::string& folder);

// The source folder of the project (for the shipped data files).
std::string SourceDir();

}  // namespace testing_support
