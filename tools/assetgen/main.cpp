// assetgen: writes every image, font and sound the game reads into a data
// folder, and a contact sheet per resolution tier into a second folder.
//
//   assetgen --data <folder> [--sheets <folder>] [--verbose]
//
// Output is deterministic: the same program writes byte-identical files on
// every run. The work is split into independent jobs (one per image and tier,
// one per group of sounds, one for the tune) taken by one worker per core;
// no job's output depends on which worker ran it or when.
#include <stb_image_write.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "contact_sheet.h"
#include "image_set.h"
#include "sounds.h"

using namespace assetgen;

namespace {

struct Job {
    std::string what;
    std::function<bool()> run;
};

// Runs the jobs on `workers` threads, in list order of taking; false if any failed.
bool runJobs(const std::vector<Job>& jobs, unsigned workers, bool verbose) {
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    std::mutex printLock;
    auto worker = [&] {
        for (size_t i; (i = next.fetch_add(1)) < jobs.size();) {
            auto t0 = std::chrono::steady_clock::now();
            bool done = jobs[i].run();
            double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            std::lock_guard<std::mutex> lock(printLock);
            if (verbose) std::fprintf(stderr, "%8.1f ms  %s\n", ms, jobs[i].what.c_str());
            if (done) continue;
            ok = false;
            std::fprintf(stderr, "assetgen: failed to write %s\n", jobs[i].what.c_str());
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < workers; ++t) threads.emplace_back(worker);
    worker();
    for (std::thread& t : threads) t.join();
    return ok;
}

std::string soundName(int id) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "sfx/%03d.wav", id);
    return buf;
}

int usage() {
    std::fprintf(stderr, "usage: assetgen --data <folder> [--sheets <folder>] [--verbose]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dataDir, sheetDir;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--data" && i + 1 < argc)
            dataDir = argv[++i];
        else if (a == "--sheets" && i + 1 < argc)
            sheetDir = argv[++i];
        else if (a == "--verbose")
            verbose = true;
        else
            return usage();
    }
    if (dataDir.empty()) return usage();
    // Fail before any work when the output folders cannot be made.
    for (const std::string& dir : {dataDir, sheetDir}) {
        std::error_code ec;
        if (!dir.empty() && !std::filesystem::create_directories(dir, ec) && ec) {
            std::fprintf(stderr, "assetgen: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
            return 1;
        }
    }
    auto started = std::chrono::steady_clock::now();
    // Moderate compression: files stay small and writing stays fast.
    stbi_write_png_compression_level = 6;

    const std::vector<ImageSpec> images = allImages();
    // entries[tier][image]: what the contact sheets show, filled by the image jobs.
    std::vector<std::vector<SheetEntry>> entries(3, std::vector<SheetEntry>(images.size()));

    // One pass over all jobs. The tune is the longest, so it starts first and
    // the images and sounds fill the other worker. Each tier's contact sheet
    // is drawn by whichever worker finishes that tier's last image.
    std::vector<Job> jobs;
    jobs.push_back({"sfx/driftwood.ogg", [&] { return writeTune(dataDir + "/sfx/driftwood.ogg"); }});
    std::atomic<int> imagesLeft[3] = {0, 0, 0};
    auto writeSheet = [&](int t) {
        std::vector<SheetEntry> shown;
        for (SheetEntry& e : entries[t])
            if (!e.frames.empty()) shown.push_back(std::move(e));
        std::string tier = std::to_string(kTiers[t].factor) + "x";
        return writeContactSheet(sheetDir + "/contact-sheet-" + tier + ".png",
                                 "SKITTERWIND DATA - TIER " + tier, shown);
    };
    for (int t = 2; t >= 0; --t)
        for (size_t i = 0; i < images.size(); ++i) {
            if (!images[i].allTiers && t > 0) continue;
            ++imagesLeft[t];
            jobs.push_back({images[i].name + kTiers[t].suffix, [&, t, i] {
                                RenderedImage r = renderImage(images[i], kTiers[t]);
                                if (!sheetDir.empty()) entries[t][i] = makeSheetEntry(r);
                                bool written = writePng(dataDir + "/" + r.file, r.width, r.height, 4, r.rgba);
                                if (--imagesLeft[t] == 0 && !sheetDir.empty() && !writeSheet(t)) {
                                    std::fprintf(stderr, "assetgen: failed to write a contact sheet\n");
                                    return false;
                                }
                                return written;
                            }});
        }
    for (int id : soundIds())
        jobs.push_back({soundName(id), [&, id] { return writeSound(id, dataDir + "/" + soundName(id)); }});
    unsigned workers = std::max(2u, std::thread::hardware_concurrency());
    bool ok = runJobs(jobs, workers, verbose);
    size_t files = jobs.size();

    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("assetgen: %zu files in %s (%.1f s, %u workers)\n", files, dataDir.c_str(), seconds, workers);
    return ok ? 0 : 1;
}
