// tbltool's commands on full 65,535-entry tables, each run as the program runs it (load, work,
// write): tojson, fromjson and diff beside export --utf8 of the same table, the yardstick; and
// check beside the loading of its two tables.

#include "TableFiles.h"
#include "TblFormat.h"
#include "ToolSupport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

std::string BenchFile(const char* name) {
    static const std::filesystem::path dir = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() / "tbltool_bench";
        std::filesystem::create_directories(made);
        return made;
    }();
    return (dir / name).string();
}

// A full table shaped like the game's (short keys, values of a few words to a few lines, every
// 16th key a repeat), written once; and the same table with every 10th value changed and every
// 100th entry moved to the end, for the diff.
void WriteTables() {
    static const bool written = [] {
        std::mt19937 random(7);
        std::uniform_int_distribution<int> words(1, 24);
        std::vector<TblEntry> table;
        for (size_t i = 0; i < TblMaxEntries; ++i) {
            std::u16string key = u"StrKey";
            for (char c : std::to_string(i % 16 == 15 ? i / 2 : i))
                key += static_cast<char16_t>(c);
            std::u16string value;
            for (int w = words(random); w > 0; --w)
                value += w % 9 == 0 ? u"\n" : u"\u00FFc4Destruction ";
            table.push_back({std::move(key), std::move(value)});
        }
        std::vector<TblEntry> changed;
        std::vector<TblEntry> moved;
        for (size_t i = 0; i < TblMaxEntries; ++i) {
            std::vector<TblEntry>& into = i % 100 == 50 ? moved : changed;
            into.push_back({table[i].Key, i % 10 == 3 ? table[i].Value + u" (new)" : table[i].Value});
        }
        changed.insert(changed.end(), moved.begin(), moved.end());
        TblDocument full, changedTable;
        return full.InsertMany(0, std::move(table)) && changedTable.InsertMany(0, std::move(changed)) &&
               SaveTable(BenchFile("full.tbl"), full, TblValueForm::Exact) &&
               SaveTable(BenchFile("changed.tbl"), changedTable, TblValueForm::Exact) &&
               RunTbltool({"tojson", BenchFile("full.tbl"), BenchFile("full.json")}) == ExitOk;
    }();
    if (!written)
        std::abort();
}

// A full reference table whose values hold printf placeholders, colour codes and line feeds,
// and its translation, which writes positional placeholders in another order; every 100th
// translated value swaps two printf placeholders, every 1000th entry is left out.
void WriteTranslationTables() {
    static const bool written = [] {
        std::mt19937 random(11);
        std::uniform_int_distribution<int> words(1, 16);
        std::vector<TblEntry> reference, translation;
        for (size_t i = 0; i < TblMaxEntries; ++i) {
            std::u16string key = u"StrKey";
            for (char c : std::to_string(i % 16 == 15 ? i / 2 : i))
                key += static_cast<char16_t>(c);
            std::u16string english = u"%d%% Chance to cast level %d %s when you Die", german;
            if (i % 100 == 7)
                german = u"%s: %d%% Chance, Stufe %d, wenn Ihr sterbt";
            else
                german = u"%0%% Chance, beim Sterben %2 der Stufe %1 zu wirken";
            for (int w = words(random); w > 0; --w) {
                english += w % 5 == 0 ? u"\n" : u" \u00FFc4Destruction";
                german += w % 5 == 0 ? u"\n" : u" \u00FFc4Zerst\u00F6rung";
            }
            reference.push_back({key, std::move(english)});
            if (i % 1000 != 500)
                translation.push_back({std::move(key), std::move(german)});
        }
        TblDocument referenceTable, translationTable;
        return referenceTable.InsertMany(0, std::move(reference)) &&
               translationTable.InsertMany(0, std::move(translation)) &&
               SaveTable(BenchFile("reference.tbl"), referenceTable, TblValueForm::Exact) &&
               SaveTable(BenchFile("translation.tbl"), translationTable, TblValueForm::Exact);
    }();
    if (!written)
        std::abort();
}

// Runs tbltool with its standard output (the diff's lines, the commands' summaries) discarded.
void RunCommand(benchmark::State& state, const std::vector<std::string>& args, int expected) {
    WriteTables();
    std::fflush(stdout);
    const int saved = dup(fileno(stdout));
    std::FILE* null = std::fopen("/dev/null", "w");
    dup2(fileno(null), fileno(stdout));
    for (auto _ : state)
        if (RunTbltool(args) != expected)
            state.SkipWithError("the command failed");
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    std::fclose(null);
}

void ExportUtf8(benchmark::State& state) {
    RunCommand(state, {"export", "--utf8", BenchFile("full.tbl"), BenchFile("out.txt")}, ExitOk);
}
void Tojson(benchmark::State& state) {
    RunCommand(state, {"tojson", BenchFile("full.tbl"), BenchFile("out.json")}, ExitOk);
}
void Fromjson(benchmark::State& state) {
    RunCommand(state, {"fromjson", BenchFile("full.json"), BenchFile("out.tbl")}, ExitOk);
}
void Diff(benchmark::State& state) {
    RunCommand(state, {"diff", BenchFile("full.tbl"), BenchFile("changed.tbl"), "--utf8"}, ExitFailure);
}

void LoadBothForCheck(benchmark::State& state) {
    WriteTranslationTables();
    for (auto _ : state) {
        TblDocument reference, translation;
        if (!LoadTable(BenchFile("reference.tbl"), reference, false, false) ||
            !LoadTable(BenchFile("translation.tbl"), translation, false, false))
            state.SkipWithError("a table did not load");
    }
}
void Check(benchmark::State& state) {
    WriteTranslationTables();
    RunCommand(state, {"check", BenchFile("translation.tbl"), "--against", BenchFile("reference.tbl")}, ExitFailure);
}

}  // namespace

BENCHMARK(ExportUtf8)->Unit(benchmark::kMillisecond);
BENCHMARK(Tojson)->Unit(benchmark::kMillisecond);
BENCHMARK(Fromjson)->Unit(benchmark::kMillisecond);
BENCHMARK(Diff)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadBothForCheck)->Unit(benchmark::kMillisecond);
BENCHMARK(Check)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
