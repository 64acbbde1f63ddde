#include "D2rStrings.h"

#include "Utf.h"

#include <algorithm>
#include <map>

namespace {

// Whether the text holds a byte that was not UTF-8 in its table (a lone low surrogate, Utf.h).
bool HoldsStrayBytes(const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            ++i;
        else if (text[i] >= 0xD800 && text[i] <= 0xDFFF)
            return true;
    }
    return false;
}

}  // namespace

bool IsD2rLanguage(std::string_view language) { return D2rLanguageIndex(language) < D2rLanguages.size(); }

int64_t IdBaseOfTableName(std::string_view fileName) {
    std::string lower(fileName);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    if (lower.find("expansionstring") != std::string::npos)
        return 20000;
    if (lower.find("patchstring") != std::string::npos)
        return 10000;
    return 0;
}

bool WriteD2rStrings(const TblDocument& table, int64_t idBase, std::string_view language,
                     std::optional<std::string_view> existing, std::string& bytes, D2rPlacement& placed,
                     std::string& error) {
    D2rFile file;
    if (existing && !file.Read(std::string(*existing), error))
        return false;
    // The rows of each key, in file order, and how many of them entries took so far.
    std::map<std::string, std::vector<size_t>, std::less<>> rowsOfKey;
    for (size_t r = 0; r < file.Rows().size(); ++r)
        rowsOfKey[file.Rows()[r].KeyField().Text].push_back(r);
    std::map<std::string, size_t, std::less<>> taken;
    const size_t column = D2rLanguageIndex(language);
    placed = {};
    // Appended rows take the ids above the largest, one after another.
    std::optional<int64_t> nextId = file.NextFreeId(idBase);
    for (size_t i = 0; i < table.Count(); ++i) {
        const TblEntry entry = table.Entry(i);
        const std::string key = Utf16ToUtf8(entry.Key);
        if (HoldsStrayBytes(entry.Value) || HoldsStrayBytes(entry.Key)) {
            error = "entry " + std::to_string(i) + " (key \"" + key + "\") holds bytes that are not UTF-8, which a JSON file cannot hold";
            return false;
        }
        const auto rows = rowsOfKey.find(key);
        const size_t occurrence = taken[key]++;
        size_t row = 0;
        const bool matched = rows != rowsOfKey.end() && occurrence < rows->second.size();
        if (matched) {
            row = rows->second[occurrence];
            ++placed.Matched;
        } else {
            if (!nextId) {
                error = "no id is left above the largest for entry " + std::to_string(i) + " (key \"" + key + "\")";
                return false;
            }
            row = file.AppendRow(std::to_string(*nextId), key);
            nextId = *nextId == INT64_MAX ? std::nullopt : std::optional<int64_t>(*nextId + 1);
            ++placed.Appended;
        }
        // A row without the column reads as an empty value: writing that back changes nothing.
        if (!matched || !entry.Value.empty() || file.Rows()[row].Find(column))
            file.SetValue(row, column, Utf16ToUtf8(entry.Value));
    }
    bytes = file.Bytes();
    return true;
}

bool ReadD2rStrings(std::string_view bytes, std::string_view language, TblDocument& table, size_t& missing,
                    std::string& error, std::vector<std::string>* repeatedIds) {
    D2rFile file;
    if (!file.Read(std::string(bytes), error))
        return false;
    const size_t column = D2rLanguageIndex(language);
    std::vector<TblEntry> entries;
    entries.reserve(file.Rows().size());
    missing = 0;
    for (size_t r = 0; r < file.Rows().size(); ++r) {
        const D2rRow& row = file.Rows()[r];
        const D2rField* value = row.Find(column);
        if (!value)
            ++missing;
        TblEntry entry = {Utf8ToUtf16(row.KeyField().Text), value ? Utf8ToUtf16(value->Text) : std::u16string()};
        if (std::string problem = TblEntryProblem(entry.Key, entry.Value, TblValueForm::Exact); !problem.empty()) {
            error = "row " + std::to_string(r + 1) + " (id " + row.IdText + "): " + problem;
            return false;
        }
        entries.push_back(std::move(entry));
    }
    table.Reset();
    table.InsertMany(0, std::move(entries));  // D2rFile::Read refuses more rows than a table holds
    if (repeatedIds)
        *repeatedIds = file.RepeatedIds();
    return true;
}
