#include "engine/areafile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>

#include "engine/environment.h"
#include "engine/folders.h"
#include "engine/settingsfile.h"
#include "engine/state.h"
#include "port_fixture.h"

using namespace engine;
using testing_support::FileNames;
using testing_support::NamedInFailure;
using testing_support::ReadAll;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

PortRecord Port(int k) {
    PortRecord p = testing_support::MadeUpPort();
    p.PortNo = "P" + std::to_string(k);
    p.PortName = "Port " + std::to_string(k);
    p.Z0 = static_cast<float>(k);
    p.Latitude = 50.0f + static_cast<float>(k) / 8;
    return p;
}

// The depth record a user made for port k: its own depth and notes.
DepthRecord Depth(int k) {
    DepthRecord d = NewDepthRecord(Port(k), k);
    d.PortIndex = static_cast<int16_t>(100 + k);  // as no file holds it: the writer must not count on it
    d.ChartedDepth = static_cast<float>(k) + 0.5f;
    d.Notes = "Mooring " + std::to_string(k);
    return d;
}

using testing_support::AreaFileBytes;
using testing_support::DepthFileBytes;

std::vector<PortRecord> Ports(int count) {
    std::vector<PortRecord> out;
    for (int k = 1; k <= count; ++k) out.push_back(Port(k));
    return out;
}

std::vector<DepthRecord> Depths(int count) {
    std::vector<DepthRecord> out;
    for (int k = 1; k <= count; ++k) out.push_back(Depth(k));
    return out;
}

// The PortIndex of every record from `first` on (from 1) made its place in the list.
std::vector<DepthRecord> Numbered(std::vector<DepthRecord> depths, size_t first) {
    for (size_t i = first - 1; i < depths.size(); ++i) depths[i].PortIndex = static_cast<int16_t>(i + 1);
    return depths;
}

// A program folder with the area file UK.hc of five ports and, in the user-depths folder, its
// depth file UK.DEP of five records.
class AreaFile : public testing_support::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Env().programFolder = dir.file("program");
        State().DocumentsFolder = dir.file("docs");
        fs::create_directories(Env().programFolder);
        MakeUserDepthsFolder();
        area = Env().programFolder + "/UK.hc";
        depth = DepthFilePathFor(area);
        WriteBytes(area, AreaFileBytes(Ports(5)));
        WriteBytes(depth, DepthFileBytes(Depths(5)));
    }
    std::string scratch() const { return Env().programFolder + "/scratch.hc"; }

    TempDir dir;
    std::string area, depth;
};

// The new port is inserted, or the port deleted, at k.
struct Rebuild {
    const char* name;
    bool insert;
    int k;
};

class AreaRebuild : public AreaFile, public ::testing::WithParamInterface<Rebuild> {};

std::string RebuildName(const ::testing::TestParamInfo<Rebuild>& info) { return info.param.name; }

}  // namespace

// Both files hold exactly the renumbered records; the scratch file keeps the new area.
TEST_P(AreaRebuild, BothFilesRenumberedInStep) {
    const Rebuild& op = GetParam();
    PortRecord added = Port(9);
    added.PortName = "Newport";
    std::vector<PortRecord> ports = Ports(5);
    std::vector<DepthRecord> depths = Depths(5);
    const auto at = static_cast<size_t>(op.k - 1);
    FileResult r;
    if (op.insert) {
        ports.insert(ports.begin() + static_cast<long>(at), added);
        DepthRecord fresh = NewDepthRecord(added, op.k);
        depths.insert(depths.begin() + static_cast<long>(at), fresh);
        r = InsertPortRecord(area, op.k, added);
    } else {
        ports.erase(ports.begin() + static_cast<long>(at));
        depths.erase(depths.begin() + static_cast<long>(at));
        r = DeletePortRecord(area, op.k);
    }
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(ReadAll(area), AreaFileBytes(ports));
    // The moved ports keep their own depths and notes under their new numbers.
    EXPECT_EQ(ReadAll(depth),
              DepthFileBytes(Numbered(depths, static_cast<size_t>(op.insert ? op.k + 1 : op.k))));
    EXPECT_EQ(ReadAll(scratch()), AreaFileBytes(ports));
}

INSTANTIATE_TEST_SUITE_P(InsertAndDelete, AreaRebuild,
                         ::testing::Values(Rebuild{"InsertBefore1", true, 1},
                                           Rebuild{"InsertBefore3", true, 3},
                                           Rebuild{"InsertBefore5", true, 5}, Rebuild{"Delete1", false, 1},
                                           Rebuild{"Delete3", false, 3}, Rebuild{"Delete5", false, 5}),
                         RebuildName);

TEST_F(AreaFile, DeletingTheOnlyPortLeavesBothFilesEmpty) {
    WriteBytes(area, AreaFileBytes(Ports(1)));
    WriteBytes(depth, DepthFileBytes(Depths(1)));
    ASSERT_TRUE(DeletePortRecord(area, 1).ok());
    EXPECT_EQ(FileLength(area), 0);
    EXPECT_EQ(FileLength(depth), 0);
    EXPECT_EQ(PortCount(area), 0);
}

// A depth file without a record at k has nothing to renumber; one that another area file maps
// to is not this area's alone.
TEST_F(AreaFile, DepthFilesLeftAlone) {
    WriteBytes(depth, DepthFileBytes(Depths(2)));
    FileResult r = InsertPortRecord(area, 3, Port(9));
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.message, "");
    EXPECT_EQ(ReadAll(depth), DepthFileBytes(Depths(2)));

    fs::remove(depth);
    ASSERT_TRUE(DeletePortRecord(area, 1).ok());
    EXPECT_FALSE(fs::exists(depth));

    const std::string old = Env().programFolder + "/UK.old.hc";
    WriteBytes(old, AreaFileBytes(Ports(5)));
    WriteBytes(depth, DepthFileBytes(Depths(5)));
    r = InsertPortRecord(old, 2, Port(9));
    ASSERT_TRUE(r.ok()) << r.message;
    EXPECT_EQ(r.message, depth + " also holds the user depths of " + area +
                             " and was not renumbered: from port 2 on, the depths and notes of " + old +
                             " belong to other ports.");
    EXPECT_EQ(ReadAll(depth), DepthFileBytes(Depths(5)));
    EXPECT_EQ(PortCount(old), 6);
}

// A depth file that cannot be read cannot be kept in step: nothing is changed.
TEST_F(AreaFile, UnreadableDepthFileRefusesTheRebuild) {
    const std::string before = ReadAll(area);
    SetReadFault([this](const std::string& path) { return path == depth ? EIO : 0; });
    FileResult r = DeletePortRecord(area, 2);
    SetReadFault({});
    EXPECT_EQ(r.status, FileStatus::ReadFailed);
    EXPECT_NE(r.message.find(depth), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(area + " was not changed"), std::string::npos) << r.message;
    EXPECT_EQ(ReadAll(area), before);
    EXPECT_EQ(ReadAll(depth), DepthFileBytes(Depths(5)));
}

TEST_F(AreaFile, CorrectAndAppend) {
    PortRecord changed = Port(2);
    changed.PortName = "Corrected";
    changed.M2g = 121.5f;
    ASSERT_TRUE(WritePortRecord(area, 2, changed).ok());
    std::vector<PortRecord> ports = Ports(5);
    ports[1] = changed;
    EXPECT_EQ(ReadAll(area), AreaFileBytes(ports));
    EXPECT_EQ(ReadAll(depth), DepthFileBytes(Depths(5)));

    // Record 6 of five is refused: the file changed since it was listed.
    for (long n : {0L, 6L}) {
        FileResult r = WritePortRecord(area, n, changed);
        EXPECT_EQ(r.status, FileStatus::PastEnd) << n;
        EXPECT_EQ(r.message, "Record " + std::to_string(n) + " is not in " + area);
        EXPECT_EQ(InsertPortRecord(area, n, changed).status, FileStatus::PastEnd) << n;
        EXPECT_EQ(DeletePortRecord(area, n).status, FileStatus::PastEnd) << n;
    }
    EXPECT_EQ(ReadAll(area), AreaFileBytes(ports));

    const std::string empty = Env().programFolder + "/Empty.hc";
    const std::string missing = Env().programFolder + "/New.hc";
    WriteBytes(empty, "");
    ASSERT_TRUE(AppendPortRecord(empty, Port(1)).ok());
    ASSERT_TRUE(AppendPortRecord(missing, Port(1)).ok());
    EXPECT_EQ(ReadAll(empty), AreaFileBytes(Ports(1)));
    EXPECT_EQ(ReadAll(missing), AreaFileBytes(Ports(1)));
    EXPECT_EQ(WritePortRecord(Env().programFolder + "/None.hc", 1, Port(1)).status, FileStatus::Missing);
}

// The area a typed name saves to: the text before its first "." with ".hc"; a file listed under
// another case of the name is that file, the exact spelling first. The work file is no area.
TEST_F(AreaFile, TypedAreaNames) {
    WriteBytes(Env().programFolder + "/NORTH.HC", "");
    WriteBytes(Env().programFolder + "/Both.hc", "");
    WriteBytes(Env().programFolder + "/BOTH.HC", "");
    WriteBytes(scratch(), "");
    const struct {
        const char* typed;
        const char* file;
        const char* fault;
    } cases[] = {
        {"Channel.hc", "Channel.hc", ""},
        {" Channel.xyz ", "Channel.hc", ""},
        {"Channel", "Channel.hc", ""},
        {"north", "NORTH.HC", ""},
        {"NORTH.hc", "NORTH.HC", ""},
        {"Both", "Both.hc", ""},
        {"BOTH", "BOTH.HC", ""},
        {"uk", "UK.hc", ""},
        {"   ", "", "Area must have a name"},
        {".hc", "", "Area must have a name"},
        {"../UK", "", "Area must have a name"},
        {"sub/UK", "", "A name cannot contain a slash or a backslash"},
        {"sub\\UK.hc", "", "A name cannot contain a slash or a backslash"},
        {"scratch", "", "scratch is the editors' work file: choose another area name"},
        {"Scratch.hc", "", "scratch is the editors' work file: choose another area name"},
    };
    for (const auto& c : cases) {
        const NamedFile name = AreaFileFor(c.typed);
        EXPECT_EQ(name.fault, c.fault) << c.typed;
        EXPECT_EQ(name.path, *c.file ? Env().programFolder + "/" + c.file : "") << c.typed;
    }
    // A link to the work file under another name is the work file.
    fs::create_symlink(scratch(), Env().programFolder + "/Linked.hc");
    EXPECT_FALSE(AreaFileFor("Linked").fault.empty());
}

// A length that is no multiple of 197: the count ignores the tail; a correction keeps it, an
// append or a rebuild drops it.
TEST_F(AreaFile, PartialTail) {
    const std::string tail = "xyz";
    const std::string file = Env().programFolder + "/Tail.hc";
    WriteBytes(file, AreaFileBytes(Ports(1)) + tail);
    ASSERT_EQ(FileLength(file), 200);
    PortRecord changed = Port(7);
    ASSERT_TRUE(WritePortRecord(file, 1, changed).ok());
    EXPECT_EQ(ReadAll(file), AreaFileBytes({changed}) + tail);
    ASSERT_TRUE(AppendPortRecord(file, Port(2)).ok());
    EXPECT_EQ(ReadAll(file), AreaFileBytes({changed, Port(2)}));

    WriteBytes(file, AreaFileBytes(Ports(1)) + tail);
    ASSERT_TRUE(DeletePortRecord(file, 1).ok());
    EXPECT_EQ(FileLength(file), 0);
}

TEST_F(AreaFile, ReplacementKeepsTheModeAndRefusesAFileThatMayNotBeWritten) {
    // A new file would get 0644 under this mask.
    const mode_t mask = ::umask(022);
    ASSERT_EQ(::chmod(area.c_str(), 0640), 0);
    FileResult appended = AppendPortRecord(area, Port(6));
    ::umask(mask);
    ASSERT_TRUE(appended.ok()) << appended.message;
    struct stat st {};
    ASSERT_EQ(::stat(area.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    // A read-only file, refused as the system refuses it to a user, and through the seam where
    // the tests run as root.
    const std::string before = ReadAll(area);
    ASSERT_EQ(::chmod(area.c_str(), 0444), 0);
    if (::geteuid() != 0) {
        FileResult r = ReplaceFile(area, "new");
        EXPECT_EQ(r.message, "Cannot write " + area + ": " + std::strerror(EACCES));
        EXPECT_EQ(ReadAll(area), before);
    }
    SetFileStepFault([](FileStep step, const std::string&) { return step == FileStep::Check ? EACCES : 0; });
    FileResult r = ReplaceFile(area, "new");
    SetFileStepFault({});
    EXPECT_EQ(r.status, FileStatus::WriteFailed);
    EXPECT_EQ(r.message, "Cannot write " + area + ": " + std::strerror(EACCES));
    EXPECT_EQ(ReadAll(area), before);
    EXPECT_FALSE(fs::exists(area + ".tmp~"));
}

// The scratch file chosen as the area: a failing rebuild must not take it away.
TEST_F(AreaFile, TheScratchFileAsTheAreaIsNeverRemoved) {
    WriteBytes(scratch(), AreaFileBytes(Ports(3)));
    SetFileStepFault([](FileStep step, const std::string&) { return step == FileStep::Write ? ENOSPC : 0; });
    FileResult r = DeletePortRecord(scratch(), 2);
    SetFileStepFault({});
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(ReadAll(scratch()), AreaFileBytes(Ports(3)));
    ASSERT_TRUE(DeletePortRecord(scratch(), 2).ok());
    EXPECT_EQ(ReadAll(scratch()), AreaFileBytes({Port(1), Port(3)}));
}

namespace {

using Step = testing_support::TakenStep;

// The writers as the failure table runs them.
struct Operation {
    const char* name;
    std::function<FileResult(const std::string& area)> run;
};

const Operation kOperations[] = {
    {"insert", [](const std::string& a) { return InsertPortRecord(a, 2, Port(9)); }},
    {"delete", [](const std::string& a) { return DeletePortRecord(a, 2); }},
    {"correct", [](const std::string& a) { return WritePortRecord(a, 2, Port(9)); }},
    {"append", [](const std::string& a) { return AppendPortRecord(a, Port(9)); }},
};

struct Stopped {};

// The error numbers a step fails with; 0 stops the program there.
const int kFailures[] = {ENOSPC, EACCES, EROFS, 0};

}  // namespace

// Every step of every writer fails in turn, or the program stops there. Each file then holds
// its old bytes or, after its own rename, wholly new ones; a failure names the file (or the
// folder where its temporary file cannot be made) and the reason; nothing left behind is taken
// for an area file or stands in the next writer's way.
TEST_F(AreaFile, EveryStepFailingLeavesWholeFiles) {
    const std::string oldArea = AreaFileBytes(Ports(5)), oldDepth = DepthFileBytes(Depths(5));
    // The five ports and their depths, and what an earlier run that stopped left: the scratch
    // file and a temporary area file.
    const auto reset = [&] {
        WriteBytes(area, oldArea);
        WriteBytes(depth, oldDepth);
        WriteBytes(scratch(), "old scratch");
        WriteBytes(area + ".tmp~", "half a file");
        ASSERT_EQ(::chmod((area + ".tmp~").c_str(), 0400), 0);
    };
    for (const Operation& op : kOperations) {
        // The steps of an undisturbed run, and the files it leaves.
        reset();
        std::vector<Step> steps;
        testing_support::RecordFileSteps(steps);
        ASSERT_TRUE(op.run(area).ok()) << op.name;
        SetFileStepFault({});
        const std::string newArea = ReadAll(area), newDepth = ReadAll(depth);
        ASSERT_FALSE(fs::exists(area + ".tmp~"));
        // Every new file is synced before the first rename; the area file is renamed before its
        // depth file, and each rename is followed by the sync of its folder.
        const auto first = [&](FileStep step, const std::string& path) {
            for (size_t i = 0; i < steps.size(); ++i)
                if (steps[i].step == step && (path.empty() || steps[i].path == path)) return i;
            return steps.size();
        };
        const size_t firstRename = first(FileStep::Rename, "");
        ASSERT_LT(firstRename, steps.size()) << op.name;
        EXPECT_LT(first(FileStep::Sync, area + ".tmp~"), firstRename) << op.name;
        EXPECT_EQ(first(FileStep::Rename, area), firstRename) << op.name;
        if (newDepth != oldDepth) {
            EXPECT_LT(first(FileStep::Sync, depth + ".tmp~"), firstRename) << op.name;
            EXPECT_LT(firstRename, first(FileStep::Rename, depth)) << op.name;
        }
        for (size_t i = 0; i < steps.size(); ++i)
            if (steps[i].step == FileStep::Rename) {
                ASSERT_LT(i + 1, steps.size()) << op.name;
                EXPECT_EQ(steps[i + 1].step, FileStep::FolderSync) << op.name;
                EXPECT_EQ(steps[i + 1].path, fs::path(steps[i].path).parent_path().string()) << op.name;
            }

        for (size_t failing = 0; failing < steps.size(); ++failing) {
            for (int err : kFailures) {
                reset();
                std::vector<Step> taken;
                SetFileStepFault([&](FileStep step, const std::string& path) {
                    taken.push_back({step, path});
                    if (taken.size() - 1 != failing) return 0;
                    if (err == 0) throw Stopped{};
                    return err;
                });
                std::optional<FileResult> r;
                try {
                    r = op.run(area);
                } catch (const Stopped&) {
                }
                SetFileStepFault({});
                const Step& at = steps[failing];
                const std::string where = std::string(op.name) + ", " + FileStepName(at.step) + " of " +
                                          at.path + (err ? std::string(", ") + std::strerror(err) : ", stop");
                // A file is new once its own rename has been taken, and only then.
                const auto renamed = [&](const std::string& path) {
                    for (size_t i = 0; i < taken.size(); ++i)
                        if (taken[i].step == FileStep::Rename && taken[i].path == path && i != failing)
                            return true;
                    return false;
                };
                EXPECT_TRUE(ReadAll(area) == (renamed(area) ? newArea : oldArea)) << where;
                EXPECT_TRUE(ReadAll(depth) == (renamed(depth) ? newDepth : oldDepth)) << where;
                EXPECT_FALSE(renamed(depth) && !renamed(area)) << where;
                if (err != 0) {
                    ASSERT_TRUE(r) << where;
                    EXPECT_FALSE(r->ok()) << where;
                    // Saved once the area file is new, whatever failed after.
                    EXPECT_EQ(r->replaced, renamed(area)) << where;
                    EXPECT_NE(r->message.find(std::strerror(err)), std::string::npos)
                        << where << ": " << r->message;
                    EXPECT_NE(r->message.find(NamedInFailure(at)), std::string::npos)
                        << where << ": " << r->message;
                    if (renamed(area) && !renamed(depth) && newDepth != oldDepth) {
                        EXPECT_EQ(r->message,
                                  area + " was changed, but " + depth +
                                      " could not be renumbered: " + std::strerror(err) +
                                      ". From port 2 on, its depths and notes belong to other ports.")
                            << where;
                    }
                    // No temporary file of this run stays; the earlier one may.
                    EXPECT_TRUE(!fs::exists(area + ".tmp~") || ReadAll(area + ".tmp~") == "half a file")
                        << where;
                    EXPECT_FALSE(fs::exists(depth + ".tmp~")) << where;
                }
                for (const std::string& name : FileNames(Env().programFolder))
                    if (name.ends_with(".hc")) {
                        EXPECT_TRUE(name == "UK.hc" || name == "scratch.hc") << where << ": " << name;
                    }
                // What stays is not in the way of the next run.
                FileResult again = op.run(area);
                EXPECT_TRUE(again.ok()) << where << ": " << again.message;
                EXPECT_FALSE(fs::exists(area + ".tmp~")) << where;
                EXPECT_FALSE(fs::exists(depth + ".tmp~")) << where;
            }
        }
    }
}

// The program died between the area file's rename and its depth file's: the next load puts the
// renumbered depths in their place and says so, once.
TEST_F(AreaFile, AStepStoppedBetweenTheRenamesIsFinishedAtTheNextLoad) {
    for (const Operation& op : {kOperations[0], kOperations[1]}) {
        SCOPED_TRACE(op.name);
        ASSERT_TRUE(op.run(area).ok());
        const std::string newArea = ReadAll(area), newDepth = ReadAll(depth);
        WriteBytes(area, AreaFileBytes(Ports(5)));
        WriteBytes(depth, DepthFileBytes(Depths(5)));
        SetFileStepFault([this](FileStep step, const std::string& path) -> int {
            if (step == FileStep::Rename && path == depth) throw Stopped{};
            return 0;
        });
        EXPECT_THROW((void)op.run(area), Stopped);
        SetFileStepFault({});
        ASSERT_EQ(ReadAll(area), newArea);
        ASSERT_EQ(ReadAll(depth), DepthFileBytes(Depths(5)));

        // The next run.
        ResetState();
        State().DocumentsFolder = dir.file("docs");
        State().AreaFilePath = area;
        const FileResult r = EnsureUserDepthFile();
        EXPECT_EQ(r.status, FileStatus::Damaged);
        EXPECT_EQ(r.message, "An insert or delete of a port in " + area + " stopped before " + depth +
                                 " was renumbered. The renumbering was completed, so that the depths and "
                                 "notes are on their ports again.");
        EXPECT_EQ(ReadAll(depth), newDepth);
        EXPECT_FALSE(fs::exists(depth + ".tmp~"));
        const FileResult again = EnsureUserDepthFile();
        EXPECT_TRUE(again.ok() && again.message.empty()) << again.message;
        EXPECT_EQ(ReadAll(depth), newDepth);

        WriteBytes(area, AreaFileBytes(Ports(5)));
        WriteBytes(depth, DepthFileBytes(Depths(5)));
    }
}

// A depth file out of step with its area, without a finished renumbering beside it, is told
// once and left as it is, and so is what lies beside it. Fewer records than ports are ports
// appended since the file was made: nothing to tell.
TEST_F(AreaFile, ADepthFileOutOfStepIsToldOnceAndLeftAlone) {
    const std::string staged = depth + ".tmp~";
    const std::string told = depth + " holds the user depths of 6 ports, but " + area +
                             " has 5 ports: an insert or delete of a port may have stopped before the "
                             "depths were renumbered, and the depths and notes from some port on may "
                             "belong to other ports. Both files are kept as they are.";
    const std::string unused = told + " " + staged + ", left beside it, was not used.";
    struct Case {
        const char* name;
        int records;                        // in the depth file
        std::optional<std::string> beside;  // the depth file's staged file
        bool areaStaged;                    // the area file's staged file is there too
        std::string message;
        bool staleStaged = false;  // the staged file is older than the area file
        bool shared = false;       // another area file of the folder has the same depth file
    } cases[] = {
        {"more records", 6, std::nullopt, false, told},
        {"a staged file too short", 6, DepthFileBytes(Depths(4)), false, unused},
        {"a staged file with a partial record", 6, DepthFileBytes(Depths(5)) + "x", false, unused},
        {"the area file not renamed yet", 6, DepthFileBytes(Depths(5)), true, unused},
        {"fewer records", 4, std::nullopt, false, ""},
        // An insert stopped before the area file's rename: the staged file holds a record for
        // each of the ports the area file has, but the area file is the old one.
        {"fewer records, the area file not renamed yet", 4, DepthFileBytes(Depths(5)), true, ""},
        // Left by an insert stopped before the area file's rename, the area file changed since
        // to as many ports as it holds.
        {"a staged file older than the area file", 6, DepthFileBytes(Depths(5)), false, unused, true},
        // UK.old.hc beside UK.hc also uses UK.DEP: an insert or delete leaves it alone.
        {"a depth file shared with another area file", 6, std::nullopt, false, "", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetState();
        State().DocumentsFolder = dir.file("docs");
        State().AreaFilePath = area;
        WriteBytes(depth, DepthFileBytes(Depths(c.records)));
        fs::remove(staged);
        fs::remove(area + ".tmp~");
        if (c.beside) WriteBytes(staged, *c.beside);
        if (c.areaStaged) WriteBytes(area + ".tmp~", "half a file");
        if (c.staleStaged) fs::last_write_time(staged, fs::last_write_time(area) - std::chrono::seconds(10));
        const std::string other = Env().programFolder + "/UK.old.hc";
        if (c.shared) WriteBytes(other, AreaFileBytes(Ports(6)));
        else fs::remove(other);
        const FileResult r = EnsureUserDepthFile();
        EXPECT_EQ(r.status, c.message.empty() ? FileStatus::Ok : FileStatus::Damaged);
        EXPECT_EQ(r.message, c.message);
        const FileResult again = EnsureUserDepthFile();
        EXPECT_TRUE(again.ok() && again.message.empty()) << again.message;
        EXPECT_EQ(ReadAll(area), AreaFileBytes(Ports(5)));
        EXPECT_EQ(ReadAll(depth), DepthFileBytes(Depths(c.records)));
        EXPECT_EQ(fs::exists(staged), c.beside.has_value());
        if (c.beside) {
            EXPECT_EQ(ReadAll(staged), *c.beside);
        }
    }
}
