// Any bytes given to the D2R string file reader: it must refuse with a message or read without
// reading outside them; what it reads saves to the same bytes, and an edited file reads back
// with the edit, its rows in their new order.
#include "D2rFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    D2rFile file;
    std::string error;
    if (!file.Read(bytes, error)) {
        if (error.empty() || !file.Rows().empty())
            std::abort();
        return 0;
    }
    if (file.Bytes() != bytes)
        std::abort();
    const std::string text = "\"edited\"\n\\ \xC3\xA9\xF0\x9F\x98\x80";
    if (!file.Rows().empty()) {
        file.SetValue(0, 3, text);
        // The last row goes and the others come in reverse order.
        std::vector<size_t> order;
        for (size_t row = file.Rows().size() - 1; row-- > 0;)
            order.push_back(row);
        file.KeepRows(order);
    }
    const std::optional<int64_t> id = file.NextFreeId(0);
    file.SetValue(file.AppendRow(std::to_string(id.value_or(0)), "k"), 0, text);
    D2rFile back;
    if (!back.Read(file.Bytes(), error) || back.Rows().back().Find(0)->Text != text)
        std::abort();
    return 0;
}
