// expat behind XmlStream.
#include "store/workbook/XmlStream.h"

#include <expat.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace corvane::detail {
namespace {

constexpr char kNamespaceSeparator = '\x01';
// Workbook parts nest a dozen levels; expat keeps every open level in memory.
constexpr int kMaxDepth = 256;

// Expat keeps every distinct attribute name it meets and a whole start tag
// in memory; a part made of millions of attribute names costs it ten times
// its own size. Its allocations draw from a budget instead: the buffer that
// holds the part, and this much beside it.
constexpr std::size_t kParserWorkBudget = 16u * 1024u * 1024u;
// Expat grows its buffer in powers of two from this, keeping this much of
// what it parsed before.
constexpr std::size_t kExpatFirstBuffer = 1024;
constexpr std::size_t kExpatContextBytes = 1024;

struct ParserMemory {
    std::size_t used = 0;
    std::size_t budget = 0;
};

std::size_t BufferBytesFor(std::size_t partBytes) {
    std::size_t buffer = kExpatFirstBuffer;
    while (buffer < partBytes + kExpatContextBytes) buffer *= 2;
    return buffer;
}

// Each block carries its size in front, so that free and realloc can count.
// Expat's allocator callbacks take no context: the budget of the parse
// running on this thread is reached through currentMemory, set only for the
// parse's lifetime by MemoryScope.
constexpr std::size_t kBlockHeader = alignof(std::max_align_t);
thread_local ParserMemory* currentMemory = nullptr;

void* CountedMalloc(std::size_t size) {
    ParserMemory* memory = currentMemory;
    if (memory == nullptr || size > memory->budget - memory->used) return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(kBlockHeader + size));
    if (block == nullptr) return nullptr;
    std::memcpy(block, &size, sizeof size);
    memory->used += size;
    return block + kBlockHeader;
}

void CountedFree(void* pointer) {
    if (pointer == nullptr) return;
    auto* block = static_cast<unsigned char*>(pointer) - kBlockHeader;
    std::size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    if (currentMemory != nullptr) currentMemory->used -= std::min(size, currentMemory->used);
    std::free(block);
}

void* CountedRealloc(void* pointer, std::size_t size) {
    if (pointer == nullptr) return CountedMalloc(size);
    auto* block = static_cast<unsigned char*>(pointer) - kBlockHeader;
    std::size_t old = 0;
    std::memcpy(&old, block, sizeof old);
    ParserMemory* memory = currentMemory;
    if (memory == nullptr || (size > old && size - old > memory->budget - memory->used)) return nullptr;
    auto* grown = static_cast<unsigned char*>(std::realloc(block, kBlockHeader + size));
    if (grown == nullptr) return nullptr;
    std::memcpy(grown, &size, sizeof size);
    memory->used = memory->used - std::min(old, memory->used) + size;
    return grown + kBlockHeader;
}

// Points the allocator at one parse's budget for as long as it lives.
class MemoryScope {
public:
    explicit MemoryScope(ParserMemory& memory) : previous_(currentMemory) { currentMemory = &memory; }
    MemoryScope(const MemoryScope&) = delete;
    MemoryScope& operator=(const MemoryScope&) = delete;
    ~MemoryScope() { currentMemory = previous_; }

private:
    ParserMemory* previous_;
};

struct ParserFree {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

struct ParseState {
    XML_Parser parser = nullptr;
    XmlHandler* handler = nullptr;
    bool sawDoctype = false;
    bool tooDeep = false;
    bool finished = false;
    int depth = 0;
};

void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* state = static_cast<ParseState*>(data);
    if (++state->depth > kMaxDepth) {
        state->tooDeep = true;
        XML_StopParser(state->parser, XML_FALSE);
        return;
    }
    state->handler->Start(XmlName::Split(name), XmlAttributes(attributes));
    if (state->handler->Finished()) {
        state->finished = true;
        XML_StopParser(state->parser, XML_FALSE);
    }
}

void OnEnd(void* data, const XML_Char* name) {
    auto* state = static_cast<ParseState*>(data);
    --state->depth;
    state->handler->End(XmlName::Split(name));
}

void OnText(void* data, const XML_Char* text, int length) {
    static_cast<ParseState*>(data)->handler->Text(std::string_view(text, static_cast<std::size_t>(length)));
}

void OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto* state = static_cast<ParseState*>(data);
    state->sawDoctype = true;
    XML_StopParser(state->parser, XML_FALSE);
}

}  // namespace

XmlName XmlName::Split(const char* expanded) {
    const std::string_view whole(expanded);
    const auto cut = whole.find(kNamespaceSeparator);
    if (cut == std::string_view::npos) return {{}, whole};
    return {whole.substr(0, cut), whole.substr(cut + 1)};
}

const char* XmlAttributes::Get(std::string_view ns, std::string_view local) const {
    for (const char** pair = pairs_; pair[0] != nullptr; pair += 2) {
        if (XmlName::Split(pair[0]).Is(ns, local)) return pair[1];
    }
    return nullptr;
}

const char* XmlAttributes::GetLocal(std::string_view local) const {
    for (const char** pair = pairs_; pair[0] != nullptr; pair += 2) {
        if (XmlName::Split(pair[0]).local == local) return pair[1];
    }
    return nullptr;
}

Status ParseXmlPart(ZipArchive& archive, std::string_view part, XmlHandler& handler) {
    const Result<std::uint64_t> size = archive.DeclaredSize(part);
    if (!size) return size.status();
    const auto partBytes = static_cast<std::size_t>(*size);  // within the unpack budget, far below INT_MAX
    ParserMemory memory{0, BufferBytesFor(partBytes) + kParserWorkBudget};
    const MemoryScope scope(memory);  // declared first: the parser is freed within it
    const XML_Memory_Handling_Suite counted{CountedMalloc, CountedRealloc, CountedFree};
    const XML_Char separator[] = {kNamespaceSeparator, '\0'};
    std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate_MM(nullptr, &counted, separator));
    if (!parser) return Status::Error("cannot be read: out of memory");
    ParseState state{parser.get(), &handler};
    XML_SetUserData(parser.get(), &state);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser.get(), OnText);
    XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);

    const std::string tooLarge = "needs far more memory to read than any workbook (its part " + std::string(part) + ")";
    // The part goes to expat whole: fed in pieces, expat reads a token that
    // spans them again with every piece, so one huge tag costs minutes.
    auto* buffer = static_cast<char*>(XML_GetBuffer(parser.get(), static_cast<int>(partBytes)));
    if (buffer == nullptr) return Status::Error(tooLarge);
    std::size_t filled = 0;
    bool longer = false;
    const Status streamed = archive.Stream(part, [&](std::string_view chunk) {
        longer = chunk.size() > partBytes - filled;
        if (longer) return false;
        std::memcpy(buffer + filled, chunk.data(), chunk.size());
        filled += chunk.size();
        return true;
    });
    if (!streamed) return streamed;
    if (longer) return Status::Error(DamagedBecause("its part " + std::string(part) + " unpacks to more than it declares"));
    const bool malformed = XML_ParseBuffer(parser.get(), static_cast<int>(filled), XML_TRUE) != XML_STATUS_OK;
    if (state.finished && !state.sawDoctype) return Status::Ok();
    if (malformed && XML_GetErrorCode(parser.get()) == XML_ERROR_NO_MEMORY) return Status::Error(tooLarge);
    if (malformed || state.sawDoctype || state.tooDeep) return Status::Error(std::string(kDamaged) + " (its part " + std::string(part) + " is not plain XML)");
    return Status::Ok();
}

}  // namespace corvane::detail
