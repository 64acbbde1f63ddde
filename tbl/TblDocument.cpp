#include "TblDocument.h"

#include "ColourCodes.h"
#include "FileIo.h"
#include "TblLayout.h"
#include "TblReader.h"
#include "Utf.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <numeric>

namespace {

// The saved state of a table that never was: a rescued one.
constexpr uint64_t NeverSaved = UINT64_MAX;

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

bool IsD2rPath(std::u16string_view path) {
    if (path.size() < 5)
        return false;
    std::u16string extension(path.substr(path.size() - 5));
    for (char16_t& c : extension)
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    return extension == u".json";
}

void TblDocument::SetLanguage(size_t language) {
    if (language < D2rLanguages.size())
        language_ = language;
}

std::string TblDocument::Id(size_t index) const {
    const StoredEntry& entry = entries_[index];
    return entry.Own ? entry.Own->Id : std::string();
}

std::vector<std::string> TblDocument::RepeatedIds() const { return d2r_ ? d2r_->RepeatedIds() : std::vector<std::string>(); }

std::string_view TblDocument::FileText(uint32_t offset, uint32_t length) const {
    return {reinterpret_cast<const char*>(bytes_->data()) + offset, length};
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
        return entry.Own->Values[ValueSlot()];
    return ValueFromBytes(StoredValue(entry.InFile), parseOnLoad_);
}

std::string_view TblDocument::ValueUtf8(size_t index, std::string& scratch) const {
    const StoredEntry& entry = entries_[index];
    if (!entry.Own)
        return StoredValue(entry.InFile);
    const std::u16string& value = entry.Own->Values[ValueSlot()];
    scratch = Utf16ToUtf8(parseOnLoad_ ? ConvertColourCodes(value, ToGame) : value);
    return scratch;
}

std::string_view TblDocument::KeyUtf8(size_t index, std::string& scratch) const {
    const StoredEntry& entry = entries_[index];
    if (!entry.Own) {
        const std::string_view stored = StoredKey(entry.InFile);
        if (std::all_of(stored.begin(), stored.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return stored;
    }
    scratch = Utf16ToUtf8(Key(index));
    return scratch;
}

TblEntry TblDocument::Entry(size_t index) const { return {Key(index), Value(index)}; }

std::vector<TblEntry> TblDocument::Entries() const {
    std::vector<TblEntry> all;
    all.reserve(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i)
        all.push_back(Entry(i));
    return all;
}

TblChange TblDocument::Change(TblChange::Kind what) const {
    TblChange change;
    change.What = what;
    change.Bytes = bytes_;
    change.ParseOnLoad = parseOnLoad_;
    return change;
}

std::unique_ptr<TblOwnEntry> TblDocument::OwnCopy(size_t index) const {
    const StoredEntry& entry = entries_[index];
    if (entry.Own)
        return std::make_unique<TblOwnEntry>(*entry.Own);
    auto own = std::make_unique<TblOwnEntry>();
    own->Key = Key(index);
    own->Values.push_back(Value(index));
    return own;
}

void TblDocument::Replace(size_t index, std::unique_ptr<TblOwnEntry> own, bool recorded) {
    if (!recorded) {
        entries_[index].Own = std::move(own);
        return;
    }
    TblChange put = Change(TblChange::Kind::Put);
    put.Indices.push_back(index);
    put.Entries.emplace_back();
    std::swap(put.Entries.back(), entries_[index]);
    entries_[index].Own = std::move(own);
    history_.Record(std::move(put));
}

void TblDocument::SetKey(size_t index, std::u16string key) {
    if (index >= entries_.size())
        return;
    std::unique_ptr<TblOwnEntry> own = OwnCopy(index);
    own->Key = std::move(key);
    Replace(index, std::move(own), true);
}

void TblDocument::SetValue(size_t index, std::u16string value) {
    if (index >= entries_.size())
        return;
    std::unique_ptr<TblOwnEntry> own = OwnCopy(index);
    own->Values[ValueSlot()] = std::move(value);
    Replace(index, std::move(own), true);
}

void TblDocument::TypeValue(size_t index, std::u16string value, const char* name) {
    if (history_.Typing(index)) {
        if (index < entries_.size())
            entries_[index].Own->Values[ValueSlot()] = std::move(value);
        return;
    }
    {
        Step step(*this, name, index);
        SetValue(index, std::move(value));
    }
    history_.KeepTyping(index);
}

TblDocument::StoredEntries TblDocument::Stored(std::vector<TblEntry>&& entries) const {
    // A D2R file's new rows take the ids above the largest of the file's and the entries'.
    int64_t nextId = 0;
    if (d2r_) {
        nextId = d2r_->NextFreeId(1).value_or(INT64_MAX);
        for (const StoredEntry& entry : entries_)
            if (const std::optional<int64_t> id = D2rIdValue(entry.Own->Id); id && *id >= nextId)
                nextId = *id == INT64_MAX ? INT64_MAX : *id + 1;
    }
    StoredEntries stored(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        auto own = std::make_unique<TblOwnEntry>();
        own->Key = std::move(entries[i].Key);
        if (d2r_) {
            own->Values.assign(D2rLanguages.size(), entries[i].Value);
            own->Id = std::to_string(nextId);
            nextId += nextId < INT64_MAX ? 1 : 0;
        } else {
            own->Values.push_back(std::move(entries[i].Value));
        }
        stored[i].Own = std::move(own);
    }
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
    if (entries.empty())
        return true;
    StoredEntries stored = Stored(std::move(entries));
    // Room first: moving the prepared entries into reserved storage cannot throw.
    entries_.reserve(entries_.size() + stored.size());
    TblChange remove = Change(TblChange::Kind::Remove);
    remove.Indices.resize(stored.size());
    std::iota(remove.Indices.begin(), remove.Indices.end(), index);
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(index), std::make_move_iterator(stored.begin()),
                    std::make_move_iterator(stored.end()));
    history_.Record(std::move(remove));
    return true;
}

bool TblDocument::ReplaceAndAppend(std::vector<std::pair<size_t, TblEntry>> replaced,
                                   std::vector<TblEntry> appended) {
    if (appended.size() > TblMaxEntries - entries_.size())
        return false;
    if (replaced.empty() && appended.empty())
        return true;
    std::vector<std::unique_ptr<TblOwnEntry>> changed;
    changed.reserve(replaced.size());
    for (auto& [index, entry] : replaced) {
        if (index >= entries_.size())
            return false;
        changed.push_back(OwnCopy(index));
        changed.back()->Key = std::move(entry.Key);
        changed.back()->Values[ValueSlot()] = std::move(entry.Value);
    }
    StoredEntries added = Stored(std::move(appended));
    TblChange put = Change(TblChange::Kind::Put);
    put.Indices.reserve(replaced.size());
    put.Entries.resize(replaced.size());
    TblChange remove = Change(TblChange::Kind::Remove);
    remove.Indices.resize(added.size());
    std::iota(remove.Indices.begin(), remove.Indices.end(), entries_.size());
    entries_.reserve(entries_.size() + added.size());
    for (size_t i = 0; i < replaced.size(); ++i) {
        put.Indices.push_back(replaced[i].first);
        std::swap(put.Entries[i], entries_[replaced[i].first]);
        entries_[replaced[i].first].Own = std::move(changed[i]);
    }
    std::move(added.begin(), added.end(), std::back_inserter(entries_));
    Step step(*this, "Change", replaced.empty() ? remove.Indices.front() : replaced.front().first);
    if (!put.Indices.empty())
        history_.Record(std::move(put));
    if (!remove.Indices.empty())
        history_.Record(std::move(remove));
    return true;
}

void TblDocument::Remove(size_t index) {
    if (index < entries_.size())
        RemoveMany({index});
}

void TblDocument::RemoveMany(const std::vector<size_t>& sortedIndices) {
    TblChange remove = Change(TblChange::Kind::Remove);
    remove.Indices.assign(sortedIndices.begin(),
                          std::lower_bound(sortedIndices.begin(), sortedIndices.end(), entries_.size()));
    if (!remove.Indices.empty())
        history_.Record(Apply(std::move(remove)));
}

void TblDocument::Move(size_t from, size_t to) {
    if (from >= entries_.size() || to >= entries_.size() || from == to)
        return;
    TblChange move = Change(TblChange::Kind::Move);
    move.From = from;
    move.To = to;
    history_.Record(Apply(std::move(move)));
}

TblChange TblDocument::Apply(TblChange change) {
    OwnText(change);
    TblChange undo = Change(change.What);
    undo.Indices = std::move(change.Indices);
    switch (change.What) {
    case TblChange::Kind::Put:
        // Backwards, so that of two changes to one entry the first one's entry is left.
        undo.Entries = std::move(change.Entries);
        for (size_t i = undo.Indices.size(); i-- > 0;)
            std::swap(undo.Entries[i], entries_[undo.Indices[i]]);
        break;
    case TblChange::Kind::Insert: {
        // One merging pass from the back: each kept entry moves once.
        const size_t count = entries_.size() + change.Entries.size();
        entries_.resize(count);
        size_t from = count - change.Entries.size();
        size_t next = change.Entries.size();
        for (size_t to = count; to-- > 0;) {
            if (next > 0 && undo.Indices[next - 1] == to)
                entries_[to] = std::move(change.Entries[--next]);
            else
                entries_[to] = std::move(entries_[--from]);
        }
        undo.What = TblChange::Kind::Remove;
        break;
    }
    case TblChange::Kind::Remove: {
        // One compacting pass; the entries that go are kept for the change back.
        undo.Entries.resize(undo.Indices.size());
        size_t kept = 0;
        size_t next = 0;
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (next < undo.Indices.size() && undo.Indices[next] == i) {
                undo.Entries[next++] = std::move(entries_[i]);
                continue;
            }
            if (kept != i)
                entries_[kept] = std::move(entries_[i]);
            ++kept;
        }
        entries_.resize(kept);
        undo.What = TblChange::Kind::Insert;
        break;
    }
    case TblChange::Kind::Move: {
        const auto first = entries_.begin();
        const auto f = static_cast<std::ptrdiff_t>(change.From), t = static_cast<std::ptrdiff_t>(change.To);
        if (f < t)
            std::rotate(first + f, first + f + 1, first + t + 1);
        else
            std::rotate(first + t, first + f, first + f + 1);
        undo.From = change.To;
        undo.To = change.From;
        break;
    }
    }
    return undo;
}

void TblDocument::OwnText(TblChange& change) const {
    if (change.Bytes == bytes_)
        return;
    for (StoredEntry& entry : change.Entries) {
        if (entry.Own)
            continue;
        const std::string_view file(reinterpret_cast<const char*>(change.Bytes->data()), change.Bytes->size());
        const std::string_view value = file.substr(entry.InFile.ValueOffset, entry.InFile.ValueLength);
        entry.Own = std::make_unique<TblOwnEntry>();
        entry.Own->Key = KeyFromBytes(file.substr(entry.InFile.KeyOffset, entry.InFile.KeyLength));
        entry.Own->Values.push_back(ValueFromBytes(value.substr(0, value.find('\0')), change.ParseOnLoad));
    }
    change.Bytes = bytes_;
}

bool TblDocument::Undo(size_t& focus) {
    if (!history_.CanUndo())
        return false;
    history_.PushRedone(Reverse(history_.TakeUndo(), focus));
    Modified = history_.State() != savedState_;
    ModifiedShown = false;
    return true;
}

bool TblDocument::Redo(size_t& focus) {
    if (!history_.CanRedo())
        return false;
    history_.PushUndone(Reverse(history_.TakeRedo(), focus));
    Modified = history_.State() != savedState_;
    ModifiedShown = false;
    return true;
}

TblStep TblDocument::Reverse(TblStep step, size_t& focus) {
    TblStep reversed{step.Name, step.Focus, {}, step.State, 0};
    for (auto change = step.Changes.rbegin(); change != step.Changes.rend(); ++change) {
        reversed.Changes.push_back(Apply(std::move(*change)));
        reversed.Footprint += reversed.Changes.back().Footprint();
    }
    focus = std::min(step.Focus, entries_.size());
    return reversed;
}

void TblDocument::Clear() {
    entries_.clear();
    bytes_.reset();
    d2r_.reset();
    history_.Clear();
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
    bytes_ = std::make_shared<const ByteBuffer>(std::move(bytes));
    parseOnLoad_ = parseOnLoad;
    history_.Clear();
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
        if (IsD2rPath(path))
            return AdoptD2r(bytes);
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
    if (loaded && !IsD2r())
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
    if (IsD2rPath(path))
        return Result::Failure("A D2R string file cannot be rescued.", "Error");
    Result rescued = ReadFile(path, parseOnLoad, &unreadable);
    PathName.clear();
    FileName = u"Untitled";
    ModifiedShown = false;
    Modified = rescued.Ok;
    savedState_ = NeverSaved;
    return rescued;
}

Result TblDocument::Compile(const std::u16string& path, bool parseOnLoad, const TblProgress& progress) {
    if (progress)
        progress(d2r_ ? "Saving...." : "Compiling....");
    try {
        if (d2r_)
            return SaveD2r(path);
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
        auto writtenBytes = std::make_shared<const ByteBuffer>(std::move(built.Bytes));

        if (progress)
            progress("Saving....");
        if (const Result saved = WriteFileSafely(path, writtenBytes->Bytes()); !saved)
            return Result::Failure("The table was not saved; the file on disk is unchanged: " + saved.Message + ".",
                                   "Save Error");

        // The table now holds what loading the new file gives back.
        entries_.swap(written);
        bytes_ = std::move(writtenBytes);
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

Result TblDocument::AdoptD2r(const ByteBuffer& bytes) {
    auto file = std::make_shared<D2rFile>();
    std::string error;
    if (!file->Read(std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()), error))
        return Result::Failure("The file is not a sound D2R string file and was not loaded: " + error + ".", "Error");
    const std::vector<D2rRow>& rows = file->Rows();
    StoredEntries stored(rows.size());
    for (size_t r = 0; r < rows.size(); ++r) {
        auto own = std::make_unique<TblOwnEntry>();
        own->Key = Utf8ToUtf16(rows[r].KeyField().Text);
        own->Values.resize(D2rLanguages.size());
        for (size_t language = 0; language < D2rLanguages.size(); ++language)
            if (const D2rField* field = rows[r].Find(language))
                own->Values[language] = Utf8ToUtf16(field->Text);
        own->Id = rows[r].IdText;
        own->Row = static_cast<uint32_t>(r);
        stored[r].Own = std::move(own);
    }
    entries_ = std::move(stored);
    d2r_ = std::move(file);
    history_.Clear();
    return Result::Success();
}

Result TblDocument::SaveD2r(const std::u16string& path) {
    // The file last read or saved, with each entry's row brought up to date: a value is written
    // only where it differs from the row's, so rows nobody edited keep their bytes.
    D2rFile file = *d2r_;
    std::vector<size_t> order(entries_.size());
    for (size_t i = 0; i < entries_.size(); ++i) {
        const TblOwnEntry& own = *entries_[i].Own;
        size_t row = own.Row;
        if (row == TblOwnEntry::NoRow)
            row = file.AppendRow(own.Id, Utf16ToUtf8(own.Key));
        else if (Utf8ToUtf16(file.Rows()[row].KeyField().Text) != own.Key)
            file.SetValue(row, D2rField::Key, Utf16ToUtf8(own.Key));
        for (size_t language = 0; language < D2rLanguages.size(); ++language) {
            const D2rField* field = file.Rows()[row].Find(language);
            const std::u16string& value = own.Values[language];
            if (field ? Utf8ToUtf16(field->Text) != value : !value.empty())
                file.SetValue(row, language, Utf16ToUtf8(value));
        }
        order[i] = row;
    }
    file.KeepRows(order);
    std::string bytes = file.Bytes();

    // What the entries' rows will be, read before the file is replaced so that nothing can fail after.
    auto written = std::make_shared<D2rFile>();
    std::string error;
    if (!written->Read(bytes, error))
        return Result::Failure("The file cannot be saved: " + error + ".", "Save Error");
    const std::span<const uint8_t> out(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    if (const Result saved = WriteFileSafely(path, out); !saved)
        return Result::Failure("The file was not saved; the file on disk is unchanged: " + saved.Message + ".",
                               "Save Error");

    // The entries now stand for the written rows: entry i is row i, and the history's entries
    // follow their rows; those whose rows went are rows to add again.
    std::vector<uint32_t> newRow(d2r_->Rows().size(), TblOwnEntry::NoRow);
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] < newRow.size())
            newRow[order[i]] = static_cast<uint32_t>(i);
        entries_[i].Own->Row = static_cast<uint32_t>(i);
    }
    history_.VisitEntries([&](TblStoredEntry& entry) {
        if (entry.Own && entry.Own->Row != TblOwnEntry::NoRow)
            entry.Own->Row = entry.Own->Row < newRow.size() ? newRow[entry.Own->Row] : TblOwnEntry::NoRow;
    });
    d2r_ = std::move(written);
    PathName = path;
    FileName = FileNameOf(path);
    MarkClean();
    return Result::Success();
}

std::u16string TblDocument::Title() const {
    return u"Strindle - " + FileName + (Modified ? u"*" : u"");
}

void TblDocument::MarkClean() {
    Modified = false;
    ModifiedShown = false;
    history_.EndTyping();
    savedState_ = history_.State();
}
