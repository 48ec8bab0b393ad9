#include "tidedump_run.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <thread>

#include "engine/recordfile.h"

extern char** environ;

namespace tool_tests {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Reads both pipes until they close or the deadline passes; false at the deadline.
bool drain(int outFd, int errFd, std::string& out, std::string& err, Clock::time_point deadline) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&out, &err};
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        const int wait = remainingMs(deadline);
        if (wait == 0) return false;
        if (poll(fds, 2, wait) < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buf[65536];
            const ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
            }
        }
    }
    return true;
}

}  // namespace

std::string ToolRun::describe() const {
    std::string how = timedOut ? "timed out"
                      : signal ? "killed by signal " + std::to_string(signal)
                               : "exit " + std::to_string(exitCode);
    return how + "; stderr: " + err;
}

ToolRun RunTool(const std::string& path, const std::vector<std::string>& args, std::chrono::seconds guard) {
    ToolRun run;
    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0) {
        run.err = "cannot make pipes";
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    std::vector<std::string> argv = {path};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp;
    for (auto& a : argv) argp.push_back(a.data());
    argp.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, path.c_str(), &actions, nullptr, argp.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned != 0) {
        close(outPipe[0]);
        close(errPipe[0]);
        run.err = "cannot start " + path;
        return run;
    }

    const auto deadline = Clock::now() + guard;
    bool done = drain(outPipe[0], errPipe[0], run.out, run.err, deadline);
    int status = 0;
    // The pipes may close before the process ends.
    while (done && waitpid(pid, &status, WNOHANG) == 0) {
        if (remainingMs(deadline) == 0) done = false;
        else std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (!done) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        run.timedOut = true;
        return run;
    }
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    return run;
}

ToolRun RunTidedump(const std::vector<std::string>& args, std::chrono::seconds guard) {
    return RunTool(TIDEDUMP_PATH, args, guard);
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, rowStarted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        rowStarted = true;
        if (quoted) {
            if (c != '"') field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"') field += text[++i];
            else quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
            rowStarted = false;
        } else {
            field += c;
        }
    }
    if (rowStarted) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool HasNonFiniteField(const std::string& csv) {
    for (const auto& row : ParseCsv(csv))
        for (const auto& field : row)
            if (field == "nan" || field == "inf" || field == "-inf") return true;
    return false;
}

std::string ShippedArea(const std::string& name) { return testing_support::SourceDir() + "/data/" + name; }

engine::Bytes ShippedRecord(long n, const std::string& area) {
    engine::Bytes bytes;
    EXPECT_TRUE(engine::ReadRecord(ShippedArea(area), engine::PortRecord::kSize, n, bytes).ok()) << area;
    return bytes;
}

std::vector<size_t> FloatOffsets() {
    std::vector<size_t> offsets = {kLatitudeOffset, kLongitudeOffset};
    for (size_t k = 0; k < 13; ++k) offsets.push_back(kConstantsOffset + 4 * k);
    for (size_t k = 0; k < 24; ++k) offsets.push_back(kMonthDZ0Offset + 4 * k);
    return offsets;
}

void PutFloat(engine::Bytes& record, size_t offset, float v) {
    const auto bits = std::bit_cast<uint32_t>(v);
    for (size_t k = 0; k < 4; ++k) record.at(offset + k) = static_cast<uint8_t>(bits >> (8 * k));
}

std::string WriteArea(const testing_support::TempDir& dir, const std::string& name,
                      const std::vector<engine::Bytes>& records) {
    std::string bytes;
    for (const auto& r : records) bytes.append(r.begin(), r.end());
    const std::string path = dir.file(name);
    EXPECT_TRUE(engine::ReplaceFile(path, bytes).ok()) << path;
    return path;
}

}  // namespace tool_tests
