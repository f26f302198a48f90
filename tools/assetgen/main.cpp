// assetgen [--quick] <data folder>: draws and synthesises every asset of the game into the
// folder; --quick packs the pictures at a lower (faster) zlib level.
// assetgen --icons <folder>: draws the application icon in the hicolor theme's layout.
// assetgen --windows-icon <file.ico>: draws it into the icon file of the Windows program.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "sheets.h"
#include "sounds.h"

namespace {

using Job = std::function<bool()>;

// A folder that cannot be made throws from inside a job: a failed job, not
// an abort.
bool RunJob(const Job& job) {
    try {
        return job();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return false;
    }
}

// Every file is drawn and packed on its own, so the jobs share out over the
// processor's cores; true when all of them succeeded.
bool RunJobs(const std::vector<Job>& jobs) {
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++)
            if (!RunJob(jobs[i])) ok = false;
    };
    unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
    std::vector<std::thread> threads;
    for (unsigned i = 1; i < workers; i++) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();
    return ok;
}

// The largest sheets first, so no core is left with a big one at the end.
std::vector<Job> DataJobs(const std::string& dataDir, PngEffort effort) {
    std::vector<Job> jobs;
    for (int level : {4, 2, 1}) {
        for (const SheetInfo& sheet : SheetTable())
            jobs.push_back([&sheet, dataDir, level, effort] {
                return WriteSheet(sheet, dataDir, level, effort);
            });
        jobs.push_back([dataDir, level, effort] { return WriteGameFont(dataDir, level, effort); });
    }
    jobs.push_back([dataDir, effort] { return WriteDefaultFont(dataDir, effort); });
    jobs.push_back([dataDir] { return WriteSounds(dataDir); });
    jobs.push_back([dataDir] { return WriteInstruments(dataDir); });
    return jobs;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--icons") {
        if (WriteAppIcons(argv[2])) return 0;
        std::fprintf(stderr, "assetgen: cannot write the icons to %s\n", argv[2]);
        return 1;
    }
    if (argc == 3 && std::string(argv[1]) == "--windows-icon") {
        if (WriteWindowsIcon(argv[2])) return 0;
        std::fprintf(stderr, "assetgen: cannot write the icon file %s\n", argv[2]);
        return 1;
    }
    PngEffort effort = PngEffort::Best;
    if (argc == 3 && std::string(argv[1]) == "--quick") {
        effort = PngEffort::Quick;
        argv++;
        argc--;
    }
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr,
                     "usage: assetgen [--quick] <data folder> | assetgen --icons <folder> | "
                     "assetgen --windows-icon <file.ico>\n");
        return 2;
    }
    std::string dataDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(dataDir, error);
    if (error) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", dataDir.c_str(),
                     error.message().c_str());
        return 1;
    }
    if (!RunJobs(DataJobs(dataDir, effort))) {
        std::fprintf(stderr, "assetgen: some files could not be written to %s\n", dataDir.c_str());
        return 1;
    }
    return 0;
}
