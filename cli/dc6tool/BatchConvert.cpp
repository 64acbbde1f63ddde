#include "BatchConvert.h"

#include "ConvertFile.h"
#include "FileIo.h"
#include "OutputNames.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

namespace {

struct FileOutcome {
    bool done = false;
    bool converted = false;
    std::vector<std::string> messages;
};

// The file's own name: outputs are named after it, wherever it lies.
std::string ListName(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

FileOutcome ConvertOne(const BatchRequest& request, const std::string& path) {
    FileOutcome outcome;
    const auto keep = [&outcome](const std::string& text) { outcome.messages.push_back(text); };
    const Dc6Hooks hooks{keep, keep};
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        outcome.messages.push_back("can not be read (missing, unreadable or empty)");
        return outcome;
    }
    Dc6FileInfo info;
    if (GetFileInfoDC6(bytes, hooks, info, request.scope))
        outcome.converted = ConvertFile(ListName(path), bytes, info, request.rgbPalette, hooks, request.outputFolder);
    return outcome;
}

// Lower-cased output base name: files that share one would overwrite each other's output,
// in an order that depends on the jobs, so only the first of them is converted.
std::string OutputKey(const std::string& path) {
    std::string name = ListName(path);
    StripExtension(name);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

}  // namespace

size_t ConvertBatch(const BatchRequest& request, const BatchMessageSink& sink) {
    std::error_code ec;
    std::filesystem::create_directories(OutputFolderPath(request.outputFolder), ec);

    std::vector<FileOutcome> outcomes(request.files.size());
    std::map<std::string, size_t> firstWithName;
    std::vector<bool> duplicate(request.files.size(), false);
    for (size_t i = 0; i < request.files.size(); ++i) {
        const auto [first, inserted] = firstWithName.emplace(OutputKey(request.files[i]), i);
        if (!inserted) {
            duplicate[i] = true;
            outcomes[i].done = true;
            outcomes[i].messages.push_back("is skipped: its output names are those of " +
                                           request.files[first->second] + ", given before it");
        }
    }
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < request.files.size(); i = next++) {
            if (duplicate[i])
                continue;
            FileOutcome outcome = ConvertOne(request, request.files[i]);
            outcome.done = true;
            {
                std::lock_guard lock(mutex);
                outcomes[i] = std::move(outcome);
            }
            finished.notify_all();
        }
    };

    const size_t workers = std::clamp<size_t>(request.jobs, 1, std::max<size_t>(request.files.size(), 1));
    std::vector<std::thread> threads;
    for (size_t w = 0; w < workers; ++w)
        threads.emplace_back(work);

    // Messages go out in file order as soon as each file is done.
    size_t converted = 0;
    for (size_t i = 0; i < outcomes.size(); ++i) {
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return outcomes[i].done; });
        const FileOutcome outcome = std::move(outcomes[i]);
        lock.unlock();
        for (const std::string& message : outcome.messages)
            sink(request.files[i], message);
        if (outcome.converted)
            ++converted;
    }
    for (std::thread& thread : threads)
        thread.join();
    return converted;
}
