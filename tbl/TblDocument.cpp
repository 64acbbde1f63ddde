#include "TblDocument.h"

#include "TblCompiler.h"
#include "TblLoader.h"

#include <algorithm>

namespace {

// The file name with extension: what follows the last separator of either kind or a drive's
// colon ("C:name.tbl").
std::u16string FileNameOf(const std::u16string& path) {
    const size_t separator = path.find_last_of(u"/\\:");
    return separator == std::u16string::npos ? path : path.substr(separator + 1);
}

}  // namespace

bool TblDocument::Insert(size_t index, std::u16string key, std::u16string value) {
    if (Keys.size() >= TblMaxEntries || index > Keys.size())
        return false;
    // Room first: inserting moved strings into reserved storage cannot throw, so the arrays
    // never end up one entry apart.
    Keys.reserve(Keys.size() + 1);
    Values.reserve(Values.size() + 1);
    Keys.insert(Keys.begin() + static_cast<std::ptrdiff_t>(index), std::move(key));
    Values.insert(Values.begin() + static_cast<std::ptrdiff_t>(index), std::move(value));
    return true;
}

void TblDocument::Remove(size_t index) {
    if (index >= Keys.size())
        return;
    Keys.erase(Keys.begin() + static_cast<std::ptrdiff_t>(index));
    Values.erase(Values.begin() + static_cast<std::ptrdiff_t>(index));
}

void TblDocument::RemoveMany(const std::vector<size_t>& sortedIndices) {
    size_t kept = 0;
    size_t next = 0;  // position in sortedIndices
    for (size_t i = 0; i < Keys.size(); ++i) {
        if (next < sortedIndices.size() && sortedIndices[next] == i) {
            ++next;
            continue;
        }
        if (kept != i) {
            Keys[kept] = std::move(Keys[i]);
            Values[kept] = std::move(Values[i]);
        }
        ++kept;
    }
    Keys.resize(kept);
    Values.resize(kept);
}

void TblDocument::Move(size_t from, size_t to) {
    if (from >= Keys.size() || to >= Keys.size() || from == to)
        return;
    auto moveIn = [&](std::vector<std::u16string>& items) {
        const auto first = items.begin();
        if (from < to)
            std::rotate(first + static_cast<std::ptrdiff_t>(from), first + static_cast<std::ptrdiff_t>(from) + 1,
                        first + static_cast<std::ptrdiff_t>(to) + 1);
        else
            std::rotate(first + static_cast<std::ptrdiff_t>(to), first + static_cast<std::ptrdiff_t>(from),
                        first + static_cast<std::ptrdiff_t>(from) + 1);
    };
    moveIn(Keys);
    moveIn(Values);
}

void TblDocument::Clear() {
    Keys.clear();
    Values.clear();
}

void TblDocument::Reset() {
    Clear();
    PathName.clear();
    FileName = u"Untitled";
    MarkClean();
}

Result TblDocument::Load(const std::u16string& path, bool parseOnLoad) {
    Clear();
    PathName = path;
    FileName = FileNameOf(path);
    Result loaded = LoadTbl(path, Keys, Values, Header, parseOnLoad);
    if (loaded)
        MarkClean();
    return loaded;
}

Result TblDocument::Compile(const std::u16string& path, bool parseOnLoad, const TblProgress& progress) {
    Result compiled = CompileTbl(path, Keys, Values, Header, parseOnLoad, progress);
    if (compiled) {
        PathName = path;
        FileName = FileNameOf(path);
        MarkClean();
    }
    return compiled;
}

std::u16string TblDocument::Title() const {
    return u"Strindle - " + FileName + (Modified ? u"*" : u"");
}

void TblDocument::MarkClean() {
    Modified = false;
    ModifiedShown = false;
}
