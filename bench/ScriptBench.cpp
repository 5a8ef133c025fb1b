// Targets: loading 10000 menus takes at most 3x reading the file plus one linear scan; saving at
// most 3x one write of the same bytes; 10000 menus at most 12x the time of 1000 (linear).
//
// Saving replaces the script safely (temporary file, fsync, rename, fsync of the folder), so it
// has two floors: BM_WriteBytes, one plain write that stops at the page cache, and
// BM_WriteReplacing, the same bytes written the way the saver writes them. BM_Compose is the
// part of a save that is this program's own work (composing and assembling the text). Compare
// CPU times as well as wall times: on a shared machine the disk makes the wall times of every
// writing benchmark vary from run to run.

#include "gui/shell/SaveTracker.h"
#include "model/Project.h"
#include "script/FileFingerprint.h"
#include "script/FileIo.h"
#include "script/ScriptReader.h"
#include "script/ScriptSaver.h"
#include "script/ScriptWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

struct Sample {
    ~Sample() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
    qloom::Project project;
    std::string scriptPath;
    std::string bytes;
};

// A few hundred bytes of multi-line HTML per menu, with quotes and backslashes to escape.
std::string bodyFor(int i) {
    std::string body;
    for (int line = 0; line < 6; ++line) {
        body += "<A HREF=\"page" + std::to_string(i) + "_" + std::to_string(line) +
                ".html\" class=\"clMenu\">Item " + std::to_string(line) + "</A> C:\\dir\\<BR>";
        if (line < 5)
            body += "\r\n";
    }
    return body;
}

Sample& sample(int menus) {
    static std::map<int, std::unique_ptr<Sample>> samples;
    auto& slot = samples[menus];
    if (!slot) {
        slot = std::make_unique<Sample>();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qloom-bench-XXXXXX").string();
        slot->folder = ::mkdtemp(pattern.data());
        qloom::Project& p = slot->project;
        p.settings.projectFolder = slot->folder;
        for (int i = 0; i < menus; ++i) {
            (void)qloom::AddMenu(p);
            p.menus[i].bodyHtml = bodyFor(i);
            p.menus[i].captionHtml = "<B>Menu</B>\r\n" + std::to_string(i);
            p.menus[i].orientation = i % 2;
        }
        (void)qloom::SwapDefaultCaptions(p);
        (void)qloom::SaveScript(p, false);
        slot->scriptPath = qloom::JoinPath(slot->folder, qloom::kScriptFileName);
        (void)qloom::ReadWholeFile(slot->scriptPath, slot->bytes);
    }
    return *slot;
}

void BM_ComposeAndSave(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const qloom::Status status = qloom::SaveScript(s.project, true);
        benchmark::DoNotOptimize(status.ok);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
}

void BM_Compose(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::string text = qloom::AssembleScript(s.project, false);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
}

void BM_Load(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    qloom::Project target;
    for (auto _ : state) {
        const qloom::LoadResult result = qloom::LoadProject(s.scriptPath, target);
        benchmark::DoNotOptimize(result.outcome);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
}

// The floor for loading: the file into memory and one pass over every byte.
void BM_ReadAndScan(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string bytes;
        (void)qloom::ReadWholeFile(s.scriptPath, bytes);
        benchmark::DoNotOptimize(std::count(bytes.begin(), bytes.end(), '"'));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
}

// The floor for saving: one plain write of the same bytes, replacing a file.
void BM_WriteBytes(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    const std::string path = s.folder + "/plain.js";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        benchmark::DoNotOptimize(::write(fd, s.bytes.data(), s.bytes.size()));
        ::close(fd);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
}

// The floor for saving as the saver does it: the same bytes replacing the file durably.
void BM_WriteReplacing(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    const std::string path = s.folder + "/replaced.js";
    for (auto _ : state)
        benchmark::DoNotOptimize(qloom::WriteFileReplacing(path, s.bytes).ok);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
}

// The autosave's check once a second while nothing changed: one comparison with its copy.
void BM_AutoSaveIdle(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    qloom::SaveTracker tracker;
    tracker.noteSaved(s.project);
    for (auto _ : state)
        benchmark::DoNotOptimize(tracker.changedSince(s.project));
}

// The autosave after an edit: copies, composes from the copy, compares with the file, writes.
void BM_AutoSaveAfterEdit(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    qloom::SaveTracker tracker;
    int32_t x = 0;
    for (auto _ : state) {
        s.project.menus[0].left = ++x % 500;
        benchmark::DoNotOptimize(tracker.save(s.project));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
}

// What guarding a save against other programs costs: before the save the file on disk is checked
// against what qLoom last wrote (stat, read, hash), after it the new file's fingerprint is taken.
// Target: BM_GuardedSave within 10% of BM_ComposeAndSave at 10000 menus; BM_CheckBeforeSave is
// the check alone.
void BM_CheckBeforeSave(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    const qloom::FileFingerprint known = qloom::FingerprintFile(s.scriptPath).value();
    for (auto _ : state)
        benchmark::DoNotOptimize(qloom::CheckFile(s.scriptPath, known));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
}

void BM_GuardedSave(benchmark::State& state) {
    Sample& s = sample(static_cast<int>(state.range(0)));
    qloom::FileFingerprint known;
    if (!qloom::SaveScript(s.project, true)) {
        state.SkipWithError("the sample could not be saved");
        return;
    }
    known = qloom::FingerprintFile(s.scriptPath).value();
    for (auto _ : state) {
        if (qloom::CheckFile(s.scriptPath, known) != qloom::DiskChange::Unchanged)
            state.SkipWithError("the file changed under the benchmark");
        const qloom::Status status = qloom::SaveScript(s.project, true);
        known = qloom::FingerprintFile(s.scriptPath).value();
        benchmark::DoNotOptimize(status.ok);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * s.bytes.size()));
}

} // namespace

BENCHMARK(BM_CheckBeforeSave)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuardedSave)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoSaveIdle)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoSaveAfterEdit)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compose)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeAndSave)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndScan)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBytes)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteReplacing)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
