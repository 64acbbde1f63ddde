#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

std::filesystem::path RealDataDir() {
    const std::filesystem::path dir = STRINDLE_REAL_DATA_DIR;
    std::error_code ec;
    if (dir.empty() || !std::filesystem::is_directory(dir, ec))
        return {};
    return dir;
}

ScratchDir::ScratchDir() {
    static std::atomic<int> counter{0};
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "strindle-test";
    if (test)
        name += std::string("-") + test->test_suite_name() + "-" + test->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    // Two runs of the same test (native and Wine) may share the temporary folder.
    name += "-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++);
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadText(const std::filesystem::path& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void SaveFuzzSeed(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::filesystem::path root = STRINDLE_FUZZ_SEED_DIR;
    if (root.empty())
        return;
    std::filesystem::create_directories(root / target);
    WriteBytes(root / target / name, bytes);
}

std::vector<size_t> ChangedLines(const std::string& before, const std::string& after) {
    const auto lines = [](const std::string& text) {
        std::vector<std::string> result(1);
        for (const char c : text)
            if (c == '\n')
                result.emplace_back();
            else
                result.back().push_back(c);
        return result;
    };
    const std::vector<std::string> a = lines(before), b = lines(after);
    EXPECT_EQ(a.size(), b.size());
    std::vector<size_t> changed;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            changed.push_back(i);
    return changed;
}
