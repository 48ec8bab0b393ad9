#pragma once
// Shared fixture pieces for the engine tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

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

// A German-style locale: decimal comma, "." grouping.
void UseDecimalCommaLocale();

// The bytes of a file ("" when it cannot be read).
std::string ReadAll(const std::string& path);

// The source folder of the project (for the shipped data files).
std::string SourceDir();

}  // namespace testing_support
