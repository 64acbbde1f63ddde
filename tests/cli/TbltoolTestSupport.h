#pragma once

#include "TableFiles.h"
#include "TblTestTables.h"
#include "ToolSupport.h"
#include "Utf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using Strings = std::vector<std::u16string>;

// Arguments as the entry points hand them over: UTF-8.
inline std::string Arg(const std::filesystem::path& path) { return Utf16ToUtf8(path.u16string()); }

// Runs tbltool; `out` and `err` get what went to stdout and stderr.
inline int RunTbltoolCaptured(const std::vector<std::string>& args, std::string& out, std::string& err) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int exit = RunTbltool(args);
    out = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
    return exit;
}

// Runs tbltool with its standard output dropped; `err` gets what went to stderr.
inline int RunTbltoolQuietly(const std::vector<std::string>& args, std::string& err) {
    std::string out;
    return RunTbltoolCaptured(args, out, err);
}

inline void WriteTable(const std::filesystem::path& path, const Strings& keys, const Strings& values) {
    ASSERT_TRUE(TableOf(keys, values).Compile(path.u16string(), false, {}));
}

// A table's entries as two arrays, to compare with expected ones.
struct TableEntries {
    Strings Keys;
    Strings Values;
};

// The table in the file named `path`, loaded as tbltool loads it.
inline TableEntries LoadedEntries(const std::filesystem::path& path, bool parseOnLoad = false) {
    TblDocument table;
    EXPECT_TRUE(LoadTable(Arg(path), table, parseOnLoad, false)) << path;
    return {KeysOf(table), ValuesOf(table)};
}
