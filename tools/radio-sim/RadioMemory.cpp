#include "RadioMemory.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "DefaultImage.h"

namespace corvane::sim {

RadioMemory::RadioMemory(std::filesystem::path file) : file_(std::move(file)), image_(MakeDefaultImage()) {
    if (file_.empty()) return;
    std::ifstream in(file_, std::ios::binary);
    if (!in) return;
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A truncated or oversized file is not a memory this radio could hold.
    if (bytes.size() != image_.size()) return;
    std::transform(bytes.begin(), bytes.end(), image_.begin(), [](char c) { return static_cast<uint8_t>(c); });
    loadedFromFile_ = true;
}

Status RadioMemory::Store(std::span<const uint8_t> image) {
    if (image.size() != image_.size()) {
        return Status::Error("image of " + std::to_string(image.size()) + " bytes refused");
    }
    std::copy(image.begin(), image.end(), image_.begin());
    if (file_.empty()) return Status::Ok();
    return WriteBytesFile(file_, image_);
}

Status RadioMemory::StartFresh(std::filesystem::path file) {
    file_ = std::move(file);
    image_ = MakeDefaultImage();
    loadedFromFile_ = false;
    if (file_.empty()) return Status::Ok();
    return WriteBytesFile(file_, image_);
}

Status WriteBytesFile(const std::filesystem::path& file, std::span<const uint8_t> bytes) {
    std::filesystem::path temp = file;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return Status::Error("cannot write " + temp.string());
    }
    std::error_code ec;
    std::filesystem::rename(temp, file, ec);
    if (ec) return Status::Error("cannot replace " + file.string() + ": " + ec.message());
    return Status::Ok();
}

}  // namespace corvane::sim
