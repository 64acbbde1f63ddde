// Export, import and merge of full 65,535-entry tables, beside plain file I/O of the same bytes
// (the ratio shows what the tabbed-text code adds to the file work).

#include "FileIo.h"
#include "MergeEntries.h"
#include "TabbedTextReader.h"
#include "TabbedTextWriter.h"
#include "TblFormat.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::u16string>;

// The entries of a full table shaped like the game's: short keys, values of a few words to a
// few lines, every 16th key a repeat of an earlier one.
const std::vector<TblEntry>& FullEntries() {
    static const std::vector<TblEntry> entries = [] {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> words(1, 24);
        const std::u16string word = u"Destruction ";
        std::vector<TblEntry> t;
        for (size_t i = 0; i < TblMaxEntries; ++i) {
            const size_t id = i % 16 == 15 ? i / 2 : i;
            std::u16string key = u"StrKey";
            for (char c : std::to_string(id))
                key += static_cast<char16_t>(c);
            std::u16string value;
            for (int w = words(random); w > 0; --w)
                value += w % 9 == 0 ? u"\n" : word;
            t.push_back({std::move(key), std::move(value)});
        }
        return t;
    }();
    return entries;
}

TblDocument TableOf(const std::vector<TblEntry>& entries) {
    TblDocument table;
    table.InsertMany(0, entries);
    return table;
}

const TblDocument& FullTable() {
    static const TblDocument table = TableOf(FullEntries());
    return table;
}

const std::string& FullTableText() {
    static const std::string bytes = [] {
        std::string b;
        EncodeTabbedText(FullTable(), TabbedEncoding::OneBytePerCharacter, b);
        return b;
    }();
    return bytes;
}

std::u16string ScratchFile(const char* name) {
    const auto dir = std::filesystem::temp_directory_path() / "txtio_bench";
    std::filesystem::create_directories(dir);
    return (dir / name).u16string();
}

std::span<const uint8_t> AsBytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

void EncodeFullTable(benchmark::State& state) {
    std::string bytes;
    for (auto _ : state) {
        EncodeTabbedText(FullTable(), TabbedEncoding::OneBytePerCharacter, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FullTableText().size()));
}

void EncodeFullTableUtf8(benchmark::State& state) {
    std::string bytes;
    for (auto _ : state) {
        EncodeTabbedText(FullTable(), TabbedEncoding::Utf8, bytes);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FullTableText().size()));
}

// The export as the dialog runs it: encode, then the safe write (temporary file, flush, rename).
void ExportFullTable(benchmark::State& state) {
    const std::u16string path = ScratchFile("export.txt");
    for (auto _ : state)
        if (!WriteTabbedText(path, FullTable()))
            state.SkipWithError("export failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FullTableText().size()));
}

// The same bytes through the same safe write: the file work alone.
void WriteSafelySameBytes(benchmark::State& state) {
    const std::u16string path = ScratchFile("safe.txt");
    for (auto _ : state)
        if (!WriteFileSafely(path, AsBytes(FullTableText())))
            state.SkipWithError("write failed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FullTableText().size()));
}

// The same bytes written in place without flushing to disk, as a plain program would.
void WritePlainSameBytes(benchmark::State& state) {
    const std::filesystem::path path = ScratchFile("plain.txt");
    for (auto _ : state) {
        FILE* file = std::fopen(path.string().c_str(), "wb");
        std::fwrite(FullTableText().data(), 1, FullTableText().size(), file);
        std::fclose(file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FullTableText().size()));
}

void ParseFullTable(benchmark::State& state) {
    for (auto _ : state) {
        Strings keys, values;
        ParseTabbedRows(FullTableText(), 0, 1, TabbedEncoding::OneBytePerCharacter, keys, values);
        benchmark::DoNotOptimize(keys.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FullTableText().size()));
}

// The import as the dialog runs it: the whole file read, then split into rows.
void ImportFullTable(benchmark::State& state) {
    const std::u16string path = ScratchFile("import.txt");
    WriteTabbedText(path, FullTable());
    for (auto _ : state) {
        Strings keys, values;
        if (!ReadTabbedRows(path, 0, 1, keys, values))
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(keys.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FullTableText().size()));
}

void ReadPlainSameBytes(benchmark::State& state) {
    const std::u16string path = ScratchFile("import.txt");
    WriteTabbedText(path, FullTable());
    const std::filesystem::path file = path;
    std::string bytes(FullTableText().size(), '\0');
    for (auto _ : state) {
        FILE* in = std::fopen(file.string().c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), in));
        std::fclose(in);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * FullTableText().size()));
}

// 65,535 source entries into a full table: every source key is one of the table's (a full
// table has no room for more), in shuffled order, with repeats on both sides.
void MergeFullIntoFull(benchmark::State& state) {
    std::vector<TblEntry> source = FullEntries();
    std::mt19937 random(11);
    for (size_t i = source.size() - 1; i > 0; --i)  // the keys shuffled, the values left in place
        std::swap(source[i].Key, source[std::uniform_int_distribution<size_t>(0, i)(random)].Key);
    TblDocument table;
    for (auto _ : state) {
        state.PauseTiming();
        table = TableOf(FullEntries());
        state.ResumeTiming();
        if (!MergeEntries(source, table))
            state.SkipWithError("merge failed");
        benchmark::DoNotOptimize(table.Count());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

// 65,535 source entries into an empty table: every first occurrence is appended.
void MergeFullIntoEmpty(benchmark::State& state) {
    for (auto _ : state) {
        TblDocument table;
        if (!MergeEntries(FullEntries(), table))
            state.SkipWithError("merge failed");
        benchmark::DoNotOptimize(table.Count());
        state.PauseTiming();
        table.Reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * FullEntries().size()));
}

}  // namespace

BENCHMARK(EncodeFullTable)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeFullTableUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportFullTable)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteSafelySameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(WritePlainSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseFullTable)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportFullTable)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadPlainSameBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeFullIntoFull)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeFullIntoEmpty)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The tables are made before any timing starts.
    FullTableText();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
