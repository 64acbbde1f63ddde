#include "EntryPayload.h"

std::u16string EntryPayload(const TblDocument& table, const std::vector<int>& rows) {
    std::u16string payload;
    bool first = true;
    for (int row : rows) {
        if (row < 0 || static_cast<size_t>(row) >= table.Count())
            continue;
        if (!first)
            payload += u'\t';
        first = false;
        payload += table.Key(static_cast<size_t>(row));
        payload += u'\t';
        payload += table.Value(static_cast<size_t>(row));
    }
    return payload;
}

std::vector<std::u16string_view> PayloadFields(std::u16string_view payload) {
    std::vector<std::u16string_view> fields;
    if (payload.empty())
        return fields;
    size_t start = 0;
    for (;;) {
        size_t tab = payload.find(u'\t', start);
        if (tab == std::u16string_view::npos) {
            fields.push_back(payload.substr(start));
            return fields;
        }
        fields.push_back(payload.substr(start, tab - start));
        start = tab + 1;
    }
}

std::vector<TblEntry> EntriesOfPayload(std::u16string_view payload) {
    const std::vector<std::u16string_view> fields = PayloadFields(payload);
    std::vector<TblEntry> entries((fields.size() + 1) / 2);
    for (size_t i = 0; i < fields.size(); i += 2)
        entries[i / 2] = {std::u16string(fields[i]), std::u16string(i + 1 < fields.size() ? fields[i + 1] : u"")};
    return entries;
}

std::u16string_view PayloadInBlock(const char16_t* block, size_t bytes) {
    std::u16string_view whole(block, bytes / sizeof(char16_t));
    return whole.substr(0, whole.find(u'\0'));
}
