// Undo and Redo of the largest steps a table takes: a 30,000-entry paste and a merge that
// touches 65,535 entries. Each benchmark times one direction; the other runs untimed.
#include "TblDocument.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::vector<TblEntry> NumberedEntries(size_t count, const std::u16string& prefix) {
    std::vector<TblEntry> entries;
    entries.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const std::u16string number(std::u16string(u"0123456789").substr(i % 10, 1));
        entries.push_back({prefix + u"Key" + number + std::u16string(i % 7, u'x'),
                           prefix + u" value of entry " + number + u" \\red;with a colour"});
    }
    return entries;
}

// A table read from a file, as the editor holds one.
TblDocument LoadedTable(size_t count) {
    TblDocument made;
    made.InsertMany(0, NumberedEntries(count, u"file"));
    TblBuilt built;
    std::string error;
    made.Build(TblValueForm::Exact, built, error);
    TblDocument doc;
    doc.LoadBytes(built.Bytes.Bytes(), true);
    return doc;
}

TblDocument Pasted() {
    TblDocument doc = LoadedTable(5000);
    {
        TblDocument::Step step(doc, "Paste", doc.Count());
        doc.InsertMany(doc.Count(), NumberedEntries(30000, u"pasted"));
    }
    return doc;
}

// 40,000 entries replaced and 25,535 appended.
TblDocument Merged() {
    TblDocument doc = LoadedTable(40000);
    std::vector<std::pair<size_t, TblEntry>> replaced;
    std::vector<TblEntry> incoming = NumberedEntries(65535, u"merged");
    for (size_t i = 0; i < 40000; ++i)
        replaced.emplace_back(i, std::move(incoming[i]));
    std::vector<TblEntry> appended(incoming.begin() + 40000, incoming.end());
    {
        TblDocument::Step step(doc, "Import Tbl File", 0);
        doc.ReplaceAndAppend(std::move(replaced), std::move(appended));
    }
    return doc;
}

// The step must change the table: a step that did nothing would time nothing.
bool Undoes(TblDocument& doc, size_t before, size_t after) {
    size_t focus = 0;
    const bool changed = doc.Count() == after && doc.Undo(focus) && doc.Count() == before;
    doc.Redo(focus);
    return changed;
}

void TimeUndo(benchmark::State& state, TblDocument doc) {
    size_t focus = 0;
    for (auto _ : state) {
        doc.Undo(focus);
        state.PauseTiming();
        doc.Redo(focus);
        state.ResumeTiming();
    }
}

void TimeRedo(benchmark::State& state, TblDocument doc) {
    size_t focus = 0;
    for (auto _ : state) {
        state.PauseTiming();
        doc.Undo(focus);
        state.ResumeTiming();
        doc.Redo(focus);
    }
}

void Run(benchmark::State& state, TblDocument doc, size_t before, size_t after,
         void (*time)(benchmark::State&, TblDocument)) {
    if (!Undoes(doc, before, after))
        state.SkipWithError("the step does not change the table");
    else
        time(state, std::move(doc));
}

void BM_UndoPaste30000(benchmark::State& state) { Run(state, Pasted(), 5000, 35000, TimeUndo); }
void BM_RedoPaste30000(benchmark::State& state) { Run(state, Pasted(), 5000, 35000, TimeRedo); }
void BM_UndoMerge65535(benchmark::State& state) { Run(state, Merged(), 40000, 65535, TimeUndo); }
void BM_RedoMerge65535(benchmark::State& state) { Run(state, Merged(), 40000, 65535, TimeRedo); }
BENCHMARK(BM_UndoPaste30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoPaste30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoMerge65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoMerge65535)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
