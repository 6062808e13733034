#pragma once
// A zip archive held in memory (.xlsx, .ods), unpacked within a fixed budget:
// the sizes the archive declares are checked when it is opened, and the bytes
// actually inflated are counted as well, since declared sizes can lie.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "model/Status.h"
#include "store/workbook/ReadFailure.h"

struct zip;

namespace corvane::detail {

class ZipArchive {
public:
    // Returns false to stop reading early.
    using Sink = std::function<bool(std::string_view chunk)>;

    // bytes must outlive the archive. Refused when the entries together
    // declare more than budget unpacked bytes.
    static Result<ZipArchive> Open(std::string_view bytes, std::uint64_t budget);

    bool Has(std::string_view name) const;  // names compare without case, as OPC wants
    // The unpacked size the archive declares for the entry (within the budget,
    // checked at Open); Stream refuses an entry that inflates beyond it.
    Result<std::uint64_t> DeclaredSize(std::string_view name) const;
    // Hands the unpacked entry to sink chunk by chunk; fails when the entry is
    // missing or damaged, or the budget runs out before the sink stops.
    Status Stream(std::string_view name, const Sink& sink);
    Result<std::string> Read(std::string_view name);

private:
    struct Closer {
        void operator()(zip* archive) const;
    };
    explicit ZipArchive(zip* archive, std::uint64_t budget) : archive_(archive), budgetLeft_(budget) {}
    std::unique_ptr<zip, Closer> archive_;
    std::uint64_t budgetLeft_;
};

}  // namespace corvane::detail
