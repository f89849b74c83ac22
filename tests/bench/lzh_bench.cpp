// Codec benchmark: our encoder and decoder on a corpus of Windows programs, text and random data,
// against lhasa extracting the same streams as -lh1- archives. Run it from a release-type build:
//   lzh_bench [--benchmark_repetitions=5] [--benchmark_filter=...]
// The summary at the end gives the best figures of the run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "lzh/LZHPack.h"
#include "lzh/MemoryStreams.h"
#include "tests/peer/LhaArchive.h"
#include "tests/peer/Lhasa.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr std::size_t PeBytes = 4 << 20;
constexpr std::size_t TextBytes = 2 << 20;
constexpr std::size_t RandomBytes = 1 << 20;
const char* const PeFolder = "/usr/lib/i386-linux-gnu/wine/i386-windows";
const char* const TextFolder = "/usr/share/common-licenses";

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<fs::path> SortedFiles(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The first PeBytes of the Wine DLLs in name order.
Bytes PeCorpus() {
    Bytes corpus;
    for (const fs::path& file : SortedFiles(PeFolder, ".dll")) {
        const Bytes content = ReadFile(file);
        corpus.insert(corpus.end(), content.begin(), content.begin() + std::min(content.size(), PeBytes - corpus.size()));
        if (corpus.size() == PeBytes) break;
    }
    return corpus;
}

// English-like text: a seeded walk over the word pairs of the licence texts.
Bytes TextCorpus() {
    std::vector<std::string> words;
    for (const fs::path& file : SortedFiles(TextFolder, "")) {
        std::ifstream in(file);
        std::string word;
        while (in >> word) words.push_back(word);
    }
    if (words.size() < 2) return {};
    std::map<std::string, std::vector<std::size_t>> followers;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) followers[words[i]].push_back(i + 1);
    std::mt19937 random(1996);
    std::string text;
    std::size_t at = 0;
    int column = 0;
    while (text.size() < TextBytes) {
        const std::string& word = words[at];
        text += word;
        column += static_cast<int>(word.size()) + 1;
        text += column > 70 ? '\n' : ' ';
        if (column > 70) column = 0;
        const auto& next = followers[word];
        at = next.empty() ? random() % words.size() : next[random() % next.size()];
        if (at + 1 >= words.size()) at = 0;
    }
    text.resize(TextBytes);
    return Bytes(text.begin(), text.end());
}

Bytes RandomCorpus() {
    std::mt19937 random(4036);
    Bytes bytes(RandomBytes);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random() >> 24);
    return bytes;
}

struct CorpusPart {
    std::string Name;
    Bytes Data;
    Bytes Stream;
    fs::path Archive;  // the stream as a -lh1- archive, for lhasa
};

// The best throughput of each measurement in this run, in MB/s (10^6 bytes), by part and by what
// was measured; repetitions (--benchmark_repetitions) then smooth out a busy machine.
std::map<std::string, std::map<std::string, double>> Measured;

class Corpus {
public:
    Corpus() {
        char pattern[] = "/tmp/lzh-bench-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        folder_ = pattern;
        Add("pe", PeCorpus());
        Add("text", TextCorpus());
        Add("random", RandomCorpus());
        Bytes mixed;
        for (const CorpusPart& part : parts_) mixed.insert(mixed.end(), part.Data.begin(), part.Data.end());
        Add("mixed", std::move(mixed));
    }
    ~Corpus() { fs::remove_all(folder_); }

    std::vector<CorpusPart>& Parts() { return parts_; }

private:
    void Add(const std::string& name, Bytes data) {
        if (data.empty()) {
            std::fprintf(stderr, "lzh_bench: no data for the %s corpus, left out\n", name.c_str());
            return;
        }
        CorpusPart part{name, std::move(data), {}, folder_ / (name + ".lzh")};
        part.Stream = LZHPack(part.Data);
        const Bytes archive = MakeLh1Archive(name + ".bin", part.Data, part.Stream);
        std::ofstream(part.Archive, std::ios::binary).write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
        parts_.push_back(std::move(part));
    }

    fs::path folder_;
    std::vector<CorpusPart> parts_;
};

Corpus& TheCorpus() {
    static Corpus corpus;
    return corpus;
}

// CPU seconds of this thread, or of the waited-for child processes (lhasa). CPU time rather
// than the wall clock, so that other work on the machine disturbs the figures less.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double ChildSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Runs body once per iteration, timed by clock, and records the best MB/s of the run.
template <typename Body>
void Measure(benchmark::State& state, const CorpusPart& part, const std::string& what, double (*clock)(), Body body) {
    double total = 0;
    for (auto _ : state) {
        const double start = clock();
        body();
        const double seconds = clock() - start;
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * part.Data.size()));
    state.counters["ratio"] = static_cast<double>(part.Stream.size()) / static_cast<double>(part.Data.size());
    double& best = Measured[part.Name][what];
    best = std::max(best, static_cast<double>(state.iterations()) * static_cast<double>(part.Data.size()) / total / 1e6);
}

void Encode(benchmark::State& state, const CorpusPart& part) {
    Measure(state, part, "encode", ThreadSeconds, [&] { benchmark::DoNotOptimize(LZHPack(part.Data)); });
}

// Through DecodeMemory: the real LZHUnpack with a source and sink called once per byte.
void Decode(benchmark::State& state, const CorpusPart& part) {
    const MemoryDecodeResult check = DecodeMemory(part.Stream, static_cast<std::int32_t>(part.Data.size()));
    if (check.Output != part.Data) {
        state.SkipWithError("our decoder does not give back the corpus");
        return;
    }
    Measure(state, part, "decode", ThreadSeconds, [&] {
        benchmark::DoNotOptimize(DecodeMemory(part.Stream, static_cast<std::int32_t>(part.Data.size())));
    });
}

// Runs "lhasa -pq ARCHIVE" with its output thrown away, without a shell in between.
bool RunLhasa(const fs::path& lhasa, const fs::path& archive) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = lhasa.string(), options = "-pq", file = archive.string();
    char* arguments[] = {program.data(), options.data(), file.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void LhasaExtract(benchmark::State& state, const CorpusPart& part, const fs::path& lhasa) {
    Measure(state, part, "lhasa", ChildSeconds, [&] {
        if (!RunLhasa(lhasa, part.Archive)) state.SkipWithError("lhasa failed");
    });
}

void PrintSummary() {
    std::printf("\n%-8s %8s %12s %12s %12s %12s %10s\n", "corpus", "MB", "encode MB/s", "decode MB/s",
                "lhasa MB/s", "decode/lhasa", "ratio");
    for (const CorpusPart& part : TheCorpus().Parts()) {
        auto& m = Measured[part.Name];
        const double ratio = static_cast<double>(part.Stream.size()) / static_cast<double>(part.Data.size());
        std::printf("%-8s %8.2f %12.1f %12.1f %12.1f %12.2f %10.3f\n", part.Name.c_str(),
                    static_cast<double>(part.Data.size()) / 1e6, m["encode"], m["decode"], m["lhasa"],
                    m["lhasa"] > 0 ? m["decode"] / m["lhasa"] : 0.0, ratio);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const auto lhasa = FindLhasa();
    if (!lhasa) std::fprintf(stderr, "lzh_bench: lhasa not found on PATH, its extraction is left out\n");
    for (const CorpusPart& part : TheCorpus().Parts()) {
        benchmark::RegisterBenchmark(("encode/" + part.Name).c_str(), Encode, part)->Unit(benchmark::kMillisecond)->UseManualTime();
        benchmark::RegisterBenchmark(("decode/" + part.Name).c_str(), Decode, part)->Unit(benchmark::kMillisecond)->UseManualTime();
        if (lhasa)
            benchmark::RegisterBenchmark(("lhasa/" + part.Name).c_str(), LhasaExtract, part, *lhasa)->Unit(benchmark::kMillisecond)->UseManualTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    PrintSummary();
    benchmark::Shutdown();
    return 0;
}
