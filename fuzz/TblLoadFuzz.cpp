// Any bytes given to the .tbl parser: it must refuse or load without reading outside them, and
// what it loads must compile and load back to the same entries.
#include "TblBuilder.h"
#include "TblCheck.h"
#include "TblParser.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (bool parseOnLoad : {false, true}) {
        TblHeader header;
        std::vector<std::u16string> keys, values;
        std::string error;
        const bool loaded = ParseTbl(bytes, header, keys, values, parseOnLoad, error);
        if (!loaded) {
            if (error.empty() || !keys.empty() || !values.empty())
                std::abort();
            continue;
        }
        if (keys.size() != header.ElementCount || values.size() != keys.size())
            std::abort();
        if (parseOnLoad)
            continue;
        // Without conversion, a loaded table compiles (its keys are bytes) and loads back.
        std::vector<uint8_t> compiled;
        TblHeader compiledHeader;
        if (!BuildTbl(keys, values, compiledHeader, compiled, error)) {
            // Loaded text holds no zero and no key character above U+00FF; only a value longer
            // than its 16-bit length field (which the loader does not trust) can be refused.
            if (error.find("bytes long") == std::string::npos)
                std::abort();
            continue;
        }
        std::vector<std::u16string> keys2, values2;
        if (!ParseTbl(compiled, compiledHeader, keys2, values2, false, error) || keys2 != keys || values2 != values)
            std::abort();
        if (CheckTbl(compiled).Damaged())
            std::abort();
    }
    CheckTbl(bytes);
    return 0;
}
