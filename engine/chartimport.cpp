#include "engine/chartimport.h"

#include "engine/folders.h"
#include "engine/recordfile.h"

namespace engine {

std::vector<std::string> ChartCompanions(const std::string& indexName) {
    const size_t dot = indexName.find('.');
    const std::string base = dot == std::string::npos ? indexName : indexName.substr(0, dot + 1);
    return {base + "cht", base + "l20", base + "l30", base + "l40"};
}

std::vector<std::string> ImportChartSet(const std::string& sourceFolder, const std::string& indexName,
                                        const std::string& programFolder) {
    std::vector<std::string> failures;
    for (const std::string& companion : ChartCompanions(indexName)) {
        // A name not found in another case is tried as it stands, so that only a companion
        // that is not there goes unsaid: a folder that cannot be searched is told.
        std::string sourceName = NameIgnoringCase(sourceFolder, companion);
        if (sourceName.empty()) sourceName = companion;
        std::string targetName = NameIgnoringCase(programFolder, companion);
        if (targetName.empty()) targetName = companion;
        FileResult r = CopyWholeFile(InFolder(sourceFolder, sourceName), InFolder(programFolder, targetName));
        // A copy in place whose folder alone could not be synced is a copy made.
        if (!r.ok() && !r.replaced && r.status != FileStatus::Missing) failures.push_back(r.message);
    }
    return failures;
}

}  // namespace engine
