// Load and compile of large, adversarial and real tables, each next to plain bulk reading and
// writing of the same bytes, so the figures can be read as a ratio to plain I/O.
#include "TblBuilder.h"
#include "TblCompiler.h"
#include "TblHash.h"
#include "TblLoader.h"
#include "Utf.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::u16string>;

struct BenchTable {
    std::string Name;
    fs::path File;
    uint64_t Bytes = 0;
};

// 65,535 entries shaped like the game's: short ASCII keys and values of a few words to a few
// lines, some with a colour code or a line break, some with non-ASCII letters; about 10 MB.
void RealisticTable(Strings& keys, Strings& values) {
    std::mt19937 random(2026);
    const char16_t* words[] = {u"the",    u"Sword",      u"of",      u"Fire", u"Damage",
                               u"to",     u"Undead",     u"Ätzend",  u"Level", u"Résistance",
                               u"+%d%%", u"Lightning", u"magique", u"\u4E2D\u6587", u"Charges"};
    for (size_t i = 0; i < TblMaxEntries; ++i) {
        keys.push_back(Utf8ToUtf16("ModStr" + std::to_string(i % 97) + "k" + std::to_string(i)));
        std::u16string value = random() % 20 == 0 ? u"\\gold;" : u"";
        const size_t wordCount = 10 + random() % 40;
        for (size_t w = 0; w < wordCount; ++w) {
            value += words[random() % std::size(words)];
            value += random() % 100 == 0 ? u"\\n" : u" ";
        }
        values.push_back(std::move(value));
    }
}

// 65,535 different keys that all have the same home slot in a table of 65,535 slots.
void OneSlotTable(Strings& keys, Strings& values) {
    const uint32_t target = TblKeyHash(u"\x40\x40\x40\x40\x40", TblMaxEntries);
    std::u16string key(5, u'\x01');
    for (char16_t a = 1; a < 128 && keys.size() < TblMaxEntries; ++a)
        for (char16_t b = 1; b < 128 && keys.size() < TblMaxEntries; ++b)
            for (char16_t c = 1; c < 128 && keys.size() < TblMaxEntries; ++c)
                for (char16_t d = 1; d < 128 && keys.size() < TblMaxEntries; ++d) {
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
                    keys.push_back(key);
                    values.push_back(u"a value of ordinary length for this key " + std::u16string(1, a));
                }
}

BenchTable WriteTable(const fs::path& dir, const std::string& name, void (*make)(Strings&, Strings&)) {
    Strings keys, values;
    make(keys, values);
    TblHeader header;
    const fs::path file = dir / (name + ".tbl");
    if (!CompileTbl(file.u16string(), keys, values, header, true, {}))
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

void Register(const BenchTable& t, const fs::path& scratch) {
    const auto bytes = static_cast<int64_t>(t.Bytes);
    benchmark::RegisterBenchmark(("PlainRead/" + t.Name).c_str(), [t, bytes](benchmark::State& state) {
        for (auto _ : state)
            benchmark::DoNotOptimize(PlainRead(t.File));
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    benchmark::RegisterBenchmark(("LoadTbl/" + t.Name).c_str(), [t, bytes](benchmark::State& state) {
        for (auto _ : state) {
            Strings keys, values;
            TblHeader header;
            benchmark::DoNotOptimize(LoadTbl(t.File.u16string(), keys, values, header, true));
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
        Strings keys, values;
        TblHeader header;
        LoadTbl(t.File.u16string(), keys, values, header, false);
        for (auto _ : state) {
            std::vector<uint8_t> out;
            std::string error;
            benchmark::DoNotOptimize(BuildTbl(keys, values, header, out, error));
        }
        state.SetBytesProcessed(state.iterations() * bytes);
    });
    benchmark::RegisterBenchmark(("CompileTbl/" + t.Name).c_str(), [t, bytes, scratch](benchmark::State& state) {
        Strings keys, values;
        TblHeader header;
        LoadTbl(t.File.u16string(), keys, values, header, true);
        for (auto _ : state)
            benchmark::DoNotOptimize(CompileTbl((scratch / "compiled.tbl").u16string(), keys, values, header, true, {}));
        state.SetBytesProcessed(state.iterations() * bytes);
    });
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
