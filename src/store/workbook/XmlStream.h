#pragma once
// Streaming XML through expat: a handler sees start tags, end tags and text
// as the bytes arrive, so a large part never sits in memory as a tree.
#include <string_view>

#include "model/Status.h"
#include "store/workbook/ZipArchive.h"

namespace corvane::detail {

// An element or attribute name split into its namespace URI and local part.
struct XmlName {
    std::string_view ns;
    std::string_view local;

    static XmlName Split(const char* expanded);
    bool Is(std::string_view wantedNs, std::string_view wantedLocal) const { return local == wantedLocal && ns == wantedNs; }
};

class XmlAttributes {
public:
    explicit XmlAttributes(const char** pairs) : pairs_(pairs) {}
    // The value of the attribute, or nullptr when absent. Get matches the
    // namespace too; GetLocal takes the first attribute of that local name.
    const char* Get(std::string_view ns, std::string_view local) const;
    const char* GetLocal(std::string_view local) const;

private:
    const char** pairs_;
};

class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void Start(const XmlName& name, const XmlAttributes& attributes) = 0;
    virtual void End(const XmlName& name) = 0;
    virtual void Text(std::string_view /*text*/) {}
    // True once the handler has all it reads: the rest of the part is left
    // unparsed (a sheet's rows beyond the area read, for one).
    virtual bool Finished() const { return false; }
};

// Parses one part of the archive. A document type declaration is refused:
// no workbook needs one, and entities are the classic way to blow up a parser.
Status ParseXmlPart(ZipArchive& archive, std::string_view part, XmlHandler& handler);

}  // namespace corvane::detail
