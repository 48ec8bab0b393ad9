#pragma once
// Failed file operations told to the user, each reason once while a notice list is open.

#include <set>
#include <string>

#include "engine/recordfile.h"

class FailureNotices {
public:
    // Shows "what: reason" (the reason alone when what is empty), then `advice` as a sentence of
    // its own, unless r is Ok or this reason was told already; true when r failed.
    bool Tell(const std::string& what, const engine::FileResult& r, const std::string& advice = "");
    // Shows a failure that is not a file's, once like the others.
    void Tell(const std::string& what, const std::string& reason, const std::string& advice = "");

private:
    std::set<std::string> told_;
};
