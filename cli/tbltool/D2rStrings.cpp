#include "D2rStrings.h"

#include "Utf.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <numeric>

namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

size_t LanguageOrder(std::string_view field) {
    return static_cast<size_t>(std::find(D2rLanguages.begin(), D2rLanguages.end(), field) - D2rLanguages.begin());
}

std::string RowName(size_t row) { return "row " + std::to_string(row + 1); }

// Parses the array of row objects and checks the fields every row needs. Reading a column takes
// plain objects (faster to build); adding one keeps each row's field order (ordered_json).
template <typename JsonType>
bool ParseRows(std::string_view bytes, JsonType& rows, std::string& error) {
    if (bytes.starts_with(ByteOrderMark))
        bytes.remove_prefix(ByteOrderMark.size());
    try {
        rows = JsonType::parse(bytes.begin(), bytes.end());
    } catch (const typename JsonType::parse_error& e) {
        error = std::string("broken JSON: ") + e.what();  // names the line and column
        return false;
    }
    if (!rows.is_array()) {
        error = "the file is not a JSON array of rows";
        return false;
    }
    for (size_t r = 0; r < rows.size(); ++r) {
        const JsonType& row = rows[r];
        if (!row.is_object()) {
            error = RowName(r) + " is not an object";
            return false;
        }
        const auto id = row.find("id");
        if (id == row.end() || !id->is_number_integer()) {
            error = RowName(r) + ": \"id\" is " + (id == row.end() ? "missing" : "not a whole number");
            return false;
        }
        const auto key = row.find("Key");
        if (key == row.end() || !key->is_string()) {
            error = RowName(r) + " (id " + id->dump() + "): \"Key\" is " + (key == row.end() ? "missing" : "not a string");
            return false;
        }
        for (const std::string_view language : D2rLanguages)
            if (const auto value = row.find(language); value != row.end() && !value->is_string()) {
                error = RowName(r) + " (id " + id->dump() + "): \"" + std::string(language) + "\" is not a string";
                return false;
            }
    }
    return true;
}

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

// The row with `value` set as the column `language`, among the language fields in their order.
Json WithColumn(const Json& row, std::string_view language, const std::string& value) {
    Json result = Json::object();
    bool placed = false;
    for (const auto& [field, content] : row.items()) {
        if (!placed && LanguageOrder(field) < D2rLanguages.size() && LanguageOrder(field) >= LanguageOrder(language)) {
            result[std::string(language)] = value;
            placed = true;
        }
        if (field != language)
            result[field] = content;
    }
    if (!placed)
        result[std::string(language)] = value;
    return result;
}

}  // namespace

bool IsD2rLanguage(std::string_view language) { return LanguageOrder(language) < D2rLanguages.size(); }

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
                     std::optional<std::string_view> existing, std::string& bytes, std::string& error) {
    Json rows = Json::array();
    if (existing && !ParseRows(*existing, rows, error))
        return false;
    std::map<std::pair<int64_t, std::string>, size_t> rowOf;
    for (size_t r = 0; r < rows.size(); ++r)
        rowOf[{rows[r]["id"].get<int64_t>(), rows[r]["Key"].get<std::string>()}] = r;

    for (size_t i = 0; i < table.Count(); ++i) {
        const TblEntry entry = table.Entry(i);
        if (HoldsStrayBytes(entry.Value)) {
            error = "entry " + std::to_string(i) + " (key \"" + Utf16ToUtf8(entry.Key) +
                    "\") holds bytes that are not UTF-8, which a JSON file cannot hold";
            return false;
        }
        const int64_t id = idBase + static_cast<int64_t>(i);
        std::string key = Utf16ToUtf8(entry.Key);
        const std::string value = Utf16ToUtf8(entry.Value);
        if (const auto found = rowOf.find({id, key}); found != rowOf.end()) {
            rows[found->second] = WithColumn(rows[found->second], language, value);
            continue;
        }
        Json row = Json::object();
        row["id"] = id;
        row["Key"] = std::move(key);
        row[std::string(language)] = value;
        rows.push_back(std::move(row));
    }

    // The game's own files: a byte-order mark, two spaces of indent, CR LF line ends. Inside
    // strings a line feed is always the escape \n, so every LF of the text is a line end.
    const std::string text = rows.dump(2);
    bytes.assign(ByteOrderMark);
    bytes.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            bytes += '\r';
        bytes += c;
    }
    bytes += "\r\n";
    return true;
}

bool ReadD2rStrings(std::string_view bytes, std::string_view language, TblDocument& table, size_t& missing,
                    std::string& error) {
    nlohmann::json rows;
    if (!ParseRows(bytes, rows, error))
        return false;
    std::vector<int64_t> ids(rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
        ids[r] = rows[r]["id"].get<int64_t>();
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    const auto idOf = [&](size_t r) { return ids[r]; };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return ids[a] < ids[b]; });
    for (size_t k = 1; k < order.size(); ++k)
        if (idOf(order[k - 1]) == idOf(order[k])) {
            error = RowName(std::max(order[k - 1], order[k])) + " repeats the id " + std::to_string(idOf(order[k])) +
                    " of " + RowName(std::min(order[k - 1], order[k]));
            return false;
        }
    std::vector<TblEntry> entries;
    missing = 0;
    for (const size_t r : order) {
        const nlohmann::json& row = rows[r];
        const auto value = row.find(language);
        if (value == row.end())
            ++missing;
        TblEntry entry = {Utf8ToUtf16(row["Key"].get_ref<const std::string&>()),
                          value == row.end() ? std::u16string() : Utf8ToUtf16(value->get_ref<const std::string&>())};
        if (std::string problem = TblEntryProblem(entry.Key, entry.Value, TblValueForm::Exact); !problem.empty()) {
            error = RowName(r) + " (id " + std::to_string(ids[r]) + "): " + problem;
            return false;
        }
        entries.push_back(std::move(entry));
    }
    table.Reset();
    if (!table.InsertMany(0, std::move(entries))) {
        error = "the file has " + std::to_string(rows.size()) + " rows; a table can hold at most 65,535";
        return false;
    }
    return true;
}
