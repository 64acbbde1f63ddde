// Any bytes given to the .tbl reader: it must refuse or load without reading outside them, and
// what it loads must compile and load back to the same entries.
#include "TblCheck.h"
#include "TblDocument.h"
#include "TblReader.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::span<const uint8_t> BytesOf(const TblBuilt& built) { return built.Bytes.Bytes(); }

// The table built from its entries as decoded, every value through the conversion: what the
// table builds with values still in the file's bytes must be the same.
void ExpectSameAsDecodedEntries(const TblDocument& table, const TblBuilt& built) {
    TblDocument decoded;
    if (!decoded.InsertMany(0, table.Entries()))
        std::abort();
    TblBuilt again;
    std::string error;
    if (!decoded.Build(TblValueForm::Game, again, error) || !std::ranges::equal(BytesOf(again), BytesOf(built)))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (bool parseOnLoad : {false, true}) {
        TblDocument table;
        const Result loaded = table.LoadBytes(bytes, parseOnLoad);
        if (!loaded) {
            if (loaded.Message.empty() || table.Count() != 0)
                std::abort();
            continue;
        }
        if (table.Count() != table.Header.ElementCount)
            std::abort();
        std::string error;
        TblBuilt game;
        if (table.Build(TblValueForm::Game, game, error))
            ExpectSameAsDecodedEntries(table, game);
        if (parseOnLoad)
            continue;
        // Without conversion, a loaded table compiles (its keys are bytes) and loads back.
        TblBuilt exact;
        if (!table.Build(TblValueForm::Exact, exact, error)) {
            // Loaded text holds no zero and no key character above U+00FF; only a value longer
            // than its 16-bit length field (which the loader does not trust) can be refused.
            if (error.find("bytes long") == std::string::npos)
                std::abort();
            continue;
        }
        TblDocument back;
        if (!back.LoadBytes(BytesOf(exact), false) || back.Entries() != table.Entries())
            std::abort();
        if (CheckTbl(BytesOf(exact)).Damaged())
            std::abort();
    }
    // A rescue keeps every entry it finds inside the file and gives a reason for each it drops.
    TblHeader header;
    BlockVector<TblTextSpans> spans;
    std::vector<std::string> unreadable;
    std::string error;
    if (ReadTblEntries(bytes, header, spans, error, &unreadable))
        for (const TblTextSpans& s : spans)
            if (uint64_t{s.KeyOffset} + s.KeyLength >= size || uint64_t{s.ValueOffset} + s.ValueLength >= size)
                if (s.KeyLength != 0 || s.ValueLength != 0)
                    std::abort();
    CheckTbl(bytes);
    return 0;
}
