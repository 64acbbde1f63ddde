// Load and compile of large, adversarial and real tables, each next to plain bulk reading and
// writing of the same bytes, so the figures can be read as a ratio to plain I/O; the memory a
// table takes while it is open, as a ratio to its file's size; and Replace All over its values.
#include "TblDocument.h"
#include "TblHash.h"
#include "TblReplace.h"
#include "Utf.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <new>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

// Every allocation of the program is counted, so that a benchmark can tell the most memory in
// use at once while it ran.
namespace {

std::atomic<size_t> liveBytes{0};
std::atomic<size_t> peakBytes{0};

void* CountedAllocation(size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p)
        throw std::bad_alloc();
    const size_t live = liveBytes += malloc_usable_size(p);
    for (size_t peak = peakBytes; live > peak && !peakBytes.compare_exchange_weak(peak, live);) {
    }
    return p;
}

void CountedRelease(void* p) {
    if (!p)
        return;
    liveBytes -= malloc_usable_size(p);
    std::free(p);
}

}  // namespace

void* operator new(size_t size) { return CountedAllocation(size); }
void* operator new[](size_t size) { return CountedAllocation(size); }
void operator delete(void* p) noexcept { CountedRelease(p); }
void operator delete[](void* p) noexcept { CountedRelease(p); }
void operator delete(void* p, size_t) noexcept { CountedRelease(p); }
void operator delete[](void* p, size_t) noexcept { CountedRelease(p); }

namespace {

namespace fs = std::filesystem;
using Entries = std::vector<TblEntry>;

struct BenchTable {
    std::string Name;
    fs::path File;
    uint64_t Bytes = 0;
};

// 65,535 entries shaped like the game's: short ASCII keys and values of a few words to a few
// lines, some with a colour code or a line break, some with non-ASCII letters; about 10 MB.
void RealisticTable(Entries& entries) {
    std::mt19937 random(2026);
    const char16_t* words[] = {u"the",    u"Sword",      u"of",      u"Fire", u"Damage",
                               u"to",     u"Undead",     u"Ätzend",  u"Level", u"Résistance",
                               u"+%d%%", u"Lightning", u"magique", u"\u4E2D\u6587", u"Charges"};
    for (size_t i = 0; i < TblMaxEntries; ++i) {
        std::u16string key = Utf8ToUtf16("ModStr" + std::to_string(i % 97) + "k" + std::to_string(i));
        std::u16string value = random() % 20 == 0 ? u"\\gold;" : u"";
        const size_t wordCount = 10 + random() % 40;
        for (size_t w = 0; w < wordCount; ++w) {
            value += words[random() % std::size(words)];
            value += random() % 100 == 0 ? u"\\n" : u" ";
        }
        entries.push_back({std::move(key), std::move(value)});
    }
}

// 65,535 different keys that all have the same home slot in a table of 65,535 slots.
void OneSlotTable(Entries& entries) {
    const uint32_t target = TblKeyHash(u"\x40\x40\x40\x40\x40", TblMaxEntries);
    std::u16string key(5, u'\x01');
    for (char16_t a = 1; a < 128 && entries.size() < TblMaxEntries; ++a)
        for (char16_t b = 1; b < 128 && entries.size() < TblMaxEntries; ++b)
            for (char16_t c = 1; c < 128 && entries.size() < TblMaxEntries; ++c)
                for (char16_t d = 1; d < 128 && entries.size() < TblMaxEntries; ++d) {
                    key[0] = a, key[1] = b, key[2] = c, key[3] = d;
                    // Four characters below 0x80 hash to less than 2^19 and a fifth adds at most
                    // 127 to 16 times that, so the fifth that gives the target can be computed.
                    const uint32_t base = TblKeyHashUnreduced(key.substr(0, 4)) * 16;
                    const uint32_t need = (target + TblMaxEntries - base % TblMaxEntries) % TblMaxEntries;
                    if (need == 0 || need >= 128)
                        continue;
                    key[4] = static_cast<char16_t>(need);
                    if (TblKeyHash(key, TblMaxEntries) != target)
                        continue;
                    entries.push_back({key, u"a value of ordinary length for this key " + std::u16string(1, a)});
                }
}

BenchTable WriteTable(const fs::path& dir, const std::string& name, void (*make)(Entries&)) {
    Entries entries;
    make(entries);
    TblDocument table;
    const fs::path file = dir / (name + ".tbl");
    if (!table.InsertMany(0, std::move(entries)) || !table.Compile(file.u16string(), true))
        std::fprintf(stderr, "could not write %s\n", file.c_str());
    return {name, file, fs::file_size(file)};
}

std::vector<uint8_t> PlainRead(const fs::path& file) {
    std::vector<uint8_t> bytes(fs::file_size(file));
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (f) {
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    return bytes;
}

void PlainWrite(const fs::path& file, const std::vector<uint8_t>& bytes, bool sync) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    if (!f)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fflush(f);
    if (sync)
        fsync(fileno(f));
    std::fclose(f);
}

TblDocument Loaded(const BenchTable& t, bool parseOnLoad) {
    TblDocument table;
    if (!table.Load(t.File.u16string(), parseOnLoad))
        std::abort();
    return table;
}

// The most memory in use at once while `work` ran, beyond what was in use before, as a ratio
// to the table file's size.
template <typename Work>
double PeakPerFileByte(const BenchTable& t, Work work) {
    const size_t before = liveBytes;
    peakBytes = before;
    work();
    return static_cast<double>(peakBytes - before) / static_cast<double>(t.Bytes);
}

void Register(const BenchTable& t, const fs::path& scratch) {
    const auto bytes = static_cast<int64_t>(t.Bytes);
    const std::u16string compiled = (scratch / "compiled.tbl").u16string();
    benchmark::RegisterBenchmark(("PlainRead/" + t.Name).c_str(), [t, bytes](benchmark::State& state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(PlainRead(t.File));
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    benchmark::RegisterBenchmark(("LoadTbl/" + t.Name).c_str(), [t, bytes](benchmark::State& state) {
        for (auto _ : state) {
            TblDocument table;
            benchmark::DoNotOptimize(table.Load(t.File.u16string(), true));
        }
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    for (bool sync : {false, true}) {
        const std::string name = std::string(sync ? "PlainWriteSynced/" : "PlainWrite/") + t.Name;
        benchmark::RegisterBenchmark(name.c_str(), [t, bytes, sync, scratch](benchmark::State& state) {
            const auto content = PlainRead(t.File);
            for (auto _ : state)
                PlainWrite(scratch / "plain.tbl", content, sync);
            state.SetBytesProcessed(state.iterations() * bytes);
        });
    }
    benchmark::RegisterBenchmark(("BuildTbl/" + t.Name).c_str(), [t, bytes](benchmark::State& state) {
        const TblDocument table = Loaded(t, true);
        for (auto _ : state) {
            TblBuilt built;
            std::string error;
            benchmark::DoNotOptimize(table.Build(TblValueForm::Game, built, error));
        }
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    benchmark::RegisterBenchmark(("CompileTbl/" + t.Name).c_str(), [t, bytes, compiled](benchmark::State& state) {
        TblDocument table = Loaded(t, true);
        for (auto _ : state)
            benchmark::DoNotOptimize(table.Compile(compiled, true));
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    // What opening a table and saving it costs, and its physical limit: reading the file and
    // writing the same bytes durably.
    benchmark::RegisterBenchmark(("PlainReadAndWriteSynced/" + t.Name).c_str(),
                                 [t, bytes, scratch](benchmark::State& state) {
                                     for (auto _ : state)
                                         PlainWrite(scratch / "plain.tbl", PlainRead(t.File), true);
                                     state.SetBytesProcessed(state.iterations() * bytes);
                                 });
    benchmark::RegisterBenchmark(("LoadAndCompileTbl/" + t.Name).c_str(), [t, bytes, compiled](benchmark::State& state) {
        for (auto _ : state) {
            TblDocument table = Loaded(t, true);
            benchmark::DoNotOptimize(table.Compile(compiled, true));
        }
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    // Find and Replace's Replace All over every value, case ignored, each run on the table as
    // loaded: the loading is not timed, nor is freeing the table of the run before.
    benchmark::RegisterBenchmark(("ReplaceAllTbl/" + t.Name).c_str(), [t](benchmark::State& state) {
        const TblReplacer replacer({u"the", u"a"});
        TblDocument table;
        size_t replacements = 0;
        for (auto _ : state) {
            state.PauseTiming();
            table = Loaded(t, true);
            state.ResumeTiming();
            replacements = replacer.ReplaceAll(table, 0).Replacements;
        }
        state.counters["Entries"] = static_cast<double>(table.Count());
        state.counters["Replacements"] = static_cast<double>(replacements);
    });
    // The memory of an open table: loaded, one value edited, saved; counters, not times.
    benchmark::RegisterBenchmark(("OpenTableMemory/" + t.Name).c_str(), [t, compiled](benchmark::State& state) {
        double loading = 0, open = 0, saving = 0;
        for (auto _ : state) {
            TblDocument table;
            const size_t before = liveBytes;
            loading = PeakPerFileByte(t, [&] { table.Load(t.File.u16string(), true); });
            open = static_cast<double>(liveBytes - before) / static_cast<double>(t.Bytes);
            if (table.Count() > 0)
                table.SetValue(0, u"edited");
            saving = PeakPerFileByte(t, [&] { table.Compile(compiled, true); }) + open;
        }
        state.counters["PeakLoadPerFileByte"] = loading;
        state.counters["OpenPerFileByte"] = open;
        state.counters["PeakSavePerFileByte"] = saving;
    })->Iterations(1);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const fs::path scratch = fs::temp_directory_path() / ("tbl-bench-" + std::to_string(getpid()));
    fs::create_directories(scratch);

    std::vector<BenchTable> tables = {WriteTable(scratch, "realistic", RealisticTable),
                                      WriteTable(scratch, "one-slot", OneSlotTable)};
    const fs::path real = fs::path(STRINDLE_REAL_DATA_DIR) / "tbl";
    std::error_code ec;
    if (!std::string(STRINDLE_REAL_DATA_DIR).empty() && fs::is_directory(real, ec)) {
        for (const auto& e : fs::directory_iterator(real))
            if (e.path().extension() == ".tbl")
                tables.push_back({e.path().stem().string(), e.path(), fs::file_size(e.path())});
    } else {
        std::fprintf(stderr, "shared/real-data is not beside this checkout: real tables not measured\n");
    }
    for (const BenchTable& t : tables)
        Register(t, scratch);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(scratch, ec);
    return 0;
}
