#include "BatchConvert.h"

#include "ConvertFile.h"
#include "D2rSprite.h"
#include "D2rSpriteFiles.h"
#include "DccReader.h"
#include "FileIo.h"
#include "OutputNames.h"
#include "Utf.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
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

// The frames a file gives in `scope` and whether any has offsets; nothing for a file that
// can not be read.
struct FramesInScope {
    int32_t count = 0;
    bool hasOffsets = false;
};

FramesInScope FramesOf(const std::string& path, std::span<const uint8_t> bytes, Dc6FrameScope scope) {
    if (LooksLikeD2rSprite(bytes)) {
        // A sprite's frames are always images of their own, never a sheet.
        D2rSpriteHeader header;
        std::string problem;
        if (!ReadD2rSpriteHeader(bytes, header, problem))
            return {};
        return {static_cast<int32_t>(header.frameCount), true};
    }
    if (IsDccFile(path, bytes)) {
        DccFileInfo info;
        std::string problem;
        const bool firstOnly = scope == Dc6FrameScope::FirstDirection;
        if (!GetFileInfoDcc(bytes, info, problem) || (firstOnly && info.framesPerDirection > MaxFramesPerDirection))
            return {};
        const auto& directions = info.directionHeaders;
        const size_t used = firstOnly ? 1 : directions.size();
        FramesInScope frames{static_cast<int32_t>(used) * info.framesPerDirection, false};
        for (size_t d = 0; d < used; ++d)
            for (const DccFrameHeader& frame : directions[d].frames)
                frames.hasOffsets = frames.hasOffsets || frame.HasOffsets();
        return frames;
    }
    Dc6FileInfo info;
    if (!GetFileInfoDC6(bytes, Dc6Hooks{}, info, scope))
        return {};
    return {info.FrameCount(), info.hasOffsets};
}

bool MoreFramesThanTheWindowTakes(const std::string& path, std::span<const uint8_t> bytes) {
    const FramesInScope all = FramesOf(path, bytes, Dc6FrameScope::AllFrames);
    const FramesInScope first = FramesOf(path, bytes, Dc6FrameScope::FirstDirection);
    return all.count > 0 && first.count == 0;
}

FileOutcome ConvertOne(const BatchRequest& request, const std::string& path, OutputBatch& outputs) {
    FileOutcome outcome;
    const auto keep = [&outcome](const std::string& text) { outcome.messages.push_back(text); };
    const Dc6Hooks hooks{keep, keep};
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        outcome.messages.push_back("can not be read (missing, unreadable or empty)");
        return outcome;
    }
    if (LooksLikeD2rSprite(bytes)) {
        if (request.kind == ImageKind::Png)
            outcome.converted = ConvertD2rSpriteFile(Utf8ToUtf16(ListName(path)), bytes, hooks, outputs,
                                                     Utf8ToUtf16(request.outputFolder));
        else
            outcome.messages.push_back("is a Diablo II: Resurrected sprite, in true colour: topng converts it");
        return outcome;
    }
    outcome.converted = ConvertSpriteFile(Utf8ToUtf16(ListName(path)), bytes, request.scope, request.rgbPalette, hooks,
                                          outputs, Utf8ToUtf16(request.outputFolder), request.kind);
    if (!outcome.converted && request.scope == Dc6FrameScope::FirstDirection &&
        MoreFramesThanTheWindowTakes(path, bytes))
        outcome.messages.push_back("has more than 12 frames per direction: --all-frames converts it");
    return outcome;
}

std::string Lowered(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return name;
}

// The lower-cased names of the images a file would give: the sheet's, or one per frame. A
// file that can not be read or checked gives none.
std::vector<std::string> OutputNamesOf(const BatchRequest& request, const std::string& path) {
    std::string base = ListName(path);
    StripExtension(base);
    base = Lowered(base);
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return {};
    const FramesInScope frames = FramesOf(path, bytes, request.scope);
    if (frames.count == 0)
        return {};
    if (ConvertsToSheet(frames.hasOffsets, request.scope))
        return {base};
    std::vector<std::string> names;
    for (int32_t i = 0; i < frames.count; ++i)
        names.push_back(base + std::to_string(i));
    return names;
}

// Marks every file whose outputs would overwrite those of a file given before it: such files
// would overwrite each other in an order that depends on the jobs.
void RefuseClashes(const BatchRequest& request, std::vector<FileOutcome>& outcomes, std::vector<bool>& refused) {
    std::map<std::string, size_t> owner;
    for (size_t i = 0; i < request.files.size(); ++i) {
        const std::vector<std::string> names = OutputNamesOf(request, request.files[i]);
        for (const std::string& name : names) {
            const auto it = owner.find(name);
            if (it != owner.end() && it->second != i) {
                refused[i] = true;
                outcomes[i].done = true;
                outcomes[i].messages.push_back("is refused: its output " + name + " is also an output of " +
                                               request.files[it->second] + ", given before it");
                break;
            }
        }
        if (!refused[i])
            for (const std::string& name : names)
                owner.emplace(name, i);
    }
}

}  // namespace

size_t ConvertBatch(const BatchRequest& request, const BatchMessageSink& sink, const BatchProgress& progress) {
    const std::u16string outputFolder = OutputFolderPath(Utf8ToUtf16(request.outputFolder), request.kind);
    if (!MakeFolders(outputFolder)) {
        // Said once for the run, not once per file or frame.
        sink(Utf16ToUtf8(outputFolder), "the output folder can not be made; nothing is converted");
        return 0;
    }

    std::vector<FileOutcome> outcomes(request.files.size());
    std::vector<bool> duplicate(request.files.size(), false);
    RefuseClashes(request, outcomes, duplicate);
    OutputBatch outputs;
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (size_t i = next++; i < request.files.size(); i = next++) {
            if (duplicate[i])
                continue;
            FileOutcome outcome = ConvertOne(request, request.files[i], outputs);
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
        if (progress)
            progress(i + 1, outcomes.size());
    }
    for (std::thread& thread : threads)
        thread.join();
    if (const Result synced = outputs.Finish(); !synced)
        sink(Utf16ToUtf8(outputFolder), "the converted files may not all be on the disk yet: " + synced.Message);
    return converted;
}
