#include "TblDocument.h"

#include "FileIo.h"
#include "TblLayout.h"
#include "TblReader.h"
#include "Utf.h"

#include <algorithm>
#include <iterator>
#include <new>

namespace {

// The file name with extension: what follows the last separator of either kind or a drive's
// colon ("C:name.tbl").
std::u16string FileNameOf(const std::u16string& path) {
    const size_t separator = path.find_last_of(u"/\\:");
    return separator == std::u16string::npos ? path : path.substr(separator + 1);
}

// Load's refusal of a file that is not a sound table, saying why.
Result Refusal(const std::string& why) {
    return Result::Failure("The file is not a sound string table and was not loaded: " + why + ".", "Error");
}

}  // namespace

std::string_view TblDocument::FileText(uint32_t offset, uint32_t length) const {
    return {reinterpret_cast<const char*>(bytes_.data()) + offset, length};
}

std::string_view TblDocument::StoredKey(const TblTextSpans& spans) const {
    return FileText(spans.KeyOffset, spans.KeyLength);
}

std::string_view TblDocument::StoredValue(const TblTextSpans& spans) const {
    const std::string_view value = FileText(spans.ValueOffset, spans.ValueLength);
    return value.substr(0, value.find('\0'));
}

std::u16string TblDocument::Key(size_t index) const {
    const StoredEntry& entry = entries_[index];
    if (entry.Own)
        return entry.Own->Key;
    return KeyFromBytes(StoredKey(entry.InFile));
}

std::u16string TblDocument::Value(size_t index) const {
    const StoredEntry& entry = entries_[index];
    if (entry.Own)
        return entry.Own->Value;
    return ValueFromBytes(StoredValue(entry.InFile), parseOnLoad_);
}

TblEntry TblDocument::Entry(size_t index) const { return {Key(index), Value(index)}; }

std::vector<TblEntry> TblDocument::Entries() const {
    std::vector<TblEntry> all;
    all.reserve(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i)
        all.push_back(Entry(i));
    return all;
}

void TblDocument::SetText(size_t index, std::u16string TblEntry::*field, std::u16string text) {
    if (index >= entries_.size())
        return;
    auto own = std::make_unique<TblEntry>(Entry(index));
    (*own).*field = std::move(text);
    entries_[index].Own = std::move(own);
}

void TblDocument::SetKey(size_t index, std::u16string key) { SetText(index, &TblEntry::Key, std::move(key)); }

void TblDocument::SetValue(size_t index, std::u16string value) { SetText(index, &TblEntry::Value, std::move(value)); }

TblDocument::StoredEntries TblDocument::Stored(std::vector<TblEntry>&& entries) {
    StoredEntries stored(entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
        stored[i].Own = std::make_unique<TblEntry>(std::move(entries[i]));
    return stored;
}

bool TblDocument::Insert(size_t index, std::u16string key, std::u16string value) {
    std::vector<TblEntry> one;
    one.push_back({std::move(key), std::move(value)});
    return InsertMany(index, std::move(one));
}

bool TblDocument::InsertMany(size_t index, std::vector<TblEntry> entries) {
    if (index > entries_.size() || entries.size() > TblMaxEntries - entries_.size())
        return false;
    StoredEntries stored = Stored(std::move(entries));
    // Room first: moving the prepared entries into reserved storage cannot throw.
    entries_.reserve(entries_.size() + stored.size());
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), std::make_move_iterator(stored.begin()),
                    std::make_move_iterator(stored.end()));
    return true;
}

bool TblDocument::ReplaceAndAppend(std::vector<std::pair<size_t, TblEntry>> replaced,
                                   std::vector<TblEntry> appended) {
    if (appended.size() > TblMaxEntries - entries_.size())
        return false;
    std::vector<std::unique_ptr<TblEntry>> changed;
    changed.reserve(replaced.size());
    for (auto& [index, entry] : replaced) {
        if (index >= entries_.size())
            return false;
        changed.push_back(std::make_unique<TblEntry>(std::move(entry)));
    }
    StoredEntries added = Stored(std::move(appended));
    entries_.reserve(entries_.size() + added.size());
    for (size_t i = 0; i < replaced.size(); ++i)
        entries_[replaced[i].first].Own = std::move(changed[i]);
    std::move(added.begin(), added.end(), std::back_inserter(entries_));
    return true;
}

void TblDocument::Remove(size_t index) {
    if (index < entries_.size())
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void TblDocument::RemoveMany(const std::vector<size_t>& sortedIndices) {
    size_t kept = 0;
    size_t next = 0;  // position in sortedIndices
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (next < sortedIndices.size() && sortedIndices[next] == i) {
            ++next;
            continue;
        }
        if (kept != i)
            entries_[kept] = std::move(entries_[i]);
        ++kept;
    }
    entries_.resize(kept);
}

void TblDocument::Move(size_t from, size_t to) {
    if (from >= entries_.size() || to >= entries_.size() || from == to)
        return;
    const auto first = entries_.begin();
    const auto f = static_cast<std::ptrdiff_t>(from), t = static_cast<std::ptrdiff_t>(to);
    if (from < to)
        std::rotate(first + f, first + f + 1, first + t + 1);
    else
        std::rotate(first + t, first + f, first + f + 1);
}

void TblDocument::Clear() {
    entries_.clear();
    bytes_ = ByteBuffer();
}

void TblDocument::Reset() {
    Clear();
    PathName.clear();
    FileName = u"Untitled";
    MarkClean();
}

Result TblDocument::Adopt(ByteBuffer bytes, bool parseOnLoad, std::vector<std::string>* unreadable) {
    BlockVector<TblTextSpans> found;
    std::string error;
    if (!ReadTblEntries(bytes.Bytes(), Header, found, error, unreadable))
        return Refusal(error);
    StoredEntries stored(found.size());
    for (size_t i = 0; i < found.size(); ++i)
        stored[i].InFile = found[i];
    entries_ = std::move(stored);
    bytes_ = std::move(bytes);
    parseOnLoad_ = parseOnLoad;
    return Result::Success();
}

Result TblDocument::ReadFile(const std::u16string& path, bool parseOnLoad, std::vector<std::string>* unreadable) {
    Clear();
    try {
        ByteBuffer bytes;
        if (const Result read = ReadWholeFile(path, bytes); !read) {
            if (read.Step == FileStep::TooLarge)
                return Result::Failure("The file is too large to be a string table (more than 4 GiB).", "Error");
            const char* failure = read.Step == FileStep::Open ? "File Open Error: " : "File Read Error: ";
            return read.Reworded(failure + Utf16ToUtf8(path) + "\n" + SystemErrorText(read.Code) + ".", "Error");
        }
        return Adopt(std::move(bytes), parseOnLoad, unreadable);
    } catch (const std::bad_alloc&) {
        Clear();
        return Result::Failure("There is not enough memory to load the file.", "Error");
    }
}

Result TblDocument::Load(const std::u16string& path, bool parseOnLoad) {
    PathName = path;
    FileName = FileNameOf(path);
    Result loaded = ReadFile(path, parseOnLoad, nullptr);
    if (loaded)
        if (const std::string problem = TblTextStartProblem(Header); !problem.empty()) {
            Clear();
            loaded = Refusal(problem);
        }
    if (loaded)
        MarkClean();
    return loaded;
}

Result TblDocument::LoadBytes(std::span<const uint8_t> bytes, bool parseOnLoad) {
    Clear();
    ByteBuffer copy(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copy.data());
    return Adopt(std::move(copy), parseOnLoad, nullptr);
}

Result TblDocument::Rescue(const std::u16string& path, bool parseOnLoad, std::vector<std::string>& unreadable) {
    unreadable.clear();
    Result rescued = ReadFile(path, parseOnLoad, &unreadable);
    PathName.clear();
    FileName = u"Untitled";
    ModifiedShown = false;
    Modified = rescued.Ok;
    return rescued;
}

Result TblDocument::Compile(const std::u16string& path, bool parseOnLoad, const TblProgress& progress) {
    if (progress)
        progress("Compiling....");
    try {
        TblBuilt built;
        std::string error;
        if (!Build(TblValueForm::Game, built, error))
            return Result::Failure("The table cannot be saved: " + error + ".", "Save Error");
        // Everything the table takes from the new file is made before the file is written, so
        // that nothing can fail once it has been replaced: where each entry lies in it, as its
        // node says (the key runs up to the zero before its value).
        StoredEntries written(Count());
        TblLayout layout;
        layout.Header = built.Header;
        for (size_t i = 0; i < written.size(); ++i) {
            const TblHashNode node = TblNodeAt(built.Bytes.Bytes(), layout, TblNodeNumber(built.Bytes.Bytes(), i));
            written[i].InFile = {node.KeyOffset, node.ValueOffset - node.KeyOffset - 1, node.ValueOffset,
                                 node.ValueLength - 1u};
        }
        std::u16string pathName = path, fileName = FileNameOf(path);

        if (progress)
            progress("Saving....");
        if (const Result saved = WriteFileSafely(path, built.Bytes.Bytes()); !saved)
            return Result::Failure("The table was not saved; the file on disk is unchanged: " + saved.Message + ".",
                                   "Save Error");

        // The table now holds what loading the new file gives back.
        entries_.swap(written);
        bytes_ = std::move(built.Bytes);
        parseOnLoad_ = parseOnLoad;
        Header = built.Header;
        PathName.swap(pathName);
        FileName.swap(fileName);
        MarkClean();
        return Result::Success();
    } catch (const std::bad_alloc&) {
        return Result::Failure("There is not enough memory to save the table.", "Save Error");
    }
}

std::u16string TblDocument::Title() const {
    return u"Strindle - " + FileName + (Modified ? u"*" : u"");
}

void TblDocument::MarkClean() {
    Modified = false;
    ModifiedShown = false;
}
