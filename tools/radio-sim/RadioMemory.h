#pragma once
// The radio's programmable memory, optionally kept in a file between runs.
#include <filesystem>
#include <span>

#include "image/MemoryImage.h"
#include "model/Status.h"

namespace corvane::sim {

class RadioMemory {
public:
    // Reads the file when it holds a whole image, else starts from the default.
    explicit RadioMemory(std::filesystem::path file);

    const MemoryImage& image() const { return image_; }
    bool loadedFromFile() const { return loadedFromFile_; }
    // Replaces the memory and writes the file (when one is set).
    Status Store(std::span<const uint8_t> image);
    // Another radio: the default memory, kept in file from now on (written
    // at once when set).
    Status StartFresh(std::filesystem::path file);

private:
    std::filesystem::path file_;
    MemoryImage image_{};
    bool loadedFromFile_ = false;
};

// Writes the bytes to the file whole (temporary file, then rename).
Status WriteBytesFile(const std::filesystem::path& file, std::span<const uint8_t> bytes);

}  // namespace corvane::sim
