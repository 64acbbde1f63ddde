#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Folder of real game and mod files (shared/real-data beside the checkout), or empty when absent.
std::filesystem::path RealDataDir();

// Skips the current test when the real game files are not there.
#define SKIP_WITHOUT_REAL_DATA()                                                              \
    do {                                                                                      \
        if (RealDataDir().empty())                                                            \
            GTEST_SKIP() << "shared/real-data is not beside this checkout; real files not tested"; \
    } while (0)

// A fresh, empty folder of its own for the calling test, removed when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);
std::string ReadText(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

// Keeps an input as a starting point of fuzz target `target` (native builds only; elsewhere a no-op).
void SaveFuzzSeed(const std::string& target, const std::string& name, const std::vector<uint8_t>& bytes);

// The numbers (from 0) of the lines, ended by LF, that differ between two texts of as many lines.
std::vector<size_t> ChangedLines(const std::string& before, const std::string& after);
