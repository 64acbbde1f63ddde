#include "TblCompiler.h"

#include "ColourCodes.h"
#include "FileIo.h"
#include "TblBuilder.h"

#include "Utf.h"

#include <algorithm>
#include <new>

namespace {

// The value as it will load back: a lone surrogate is written as U+FFFD, and stray-byte
// surrogates that now stand next to each other may form a UTF-8 sequence.
void MatchWrittenText(std::u16string& value) {
    const bool hasSurrogate = std::any_of(value.begin(), value.end(),
                                          [](char16_t c) { return c >= 0xD800 && c <= 0xDFFF; });
    if (hasSurrogate)
        value = Utf8ToUtf16(Utf16ToUtf8(value));
}

}  // namespace

Result CompileTbl(const std::u16string& path, const std::vector<std::u16string>& keys,
                  std::vector<std::u16string>& values, TblHeader& header, bool parseOnLoad,
                  const TblProgress& progress) {
    if (progress)
        progress("Compiling....");
    try {
        std::vector<std::u16string> gameValues = values;
        for (std::u16string& value : gameValues)
            ConvertColourCodesInPlace(value, ToGame);

        TblHeader built;
        std::vector<uint8_t> bytes;
        std::string error;
        if (!BuildTbl(keys, gameValues, built, bytes, error))
            return Result::Failure("The table cannot be saved: " + error + ".", "Save Error");

        if (progress)
            progress("Saving....");
        if (const Result written = WriteFileSafely(path, bytes); !written)
            return Result::Failure("The table was not saved; the file on disk is unchanged: " + written.Message + ".",
                                   "Save Error");

        header = built;
        for (std::u16string& value : gameValues) {
            MatchWrittenText(value);
            if (parseOnLoad)
                ConvertColourCodesInPlace(value, ToTokens);
        }
        values = std::move(gameValues);
        return Result::Success();
    } catch (const std::bad_alloc&) {
        return Result::Failure("There is not enough memory to save the table.", "Save Error");
    }
}
