// .xlsx: the first sheet and the shared strings it uses, found through the
// package relationships (relative or absolute targets, as writers differ).
#include <charconv>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "store/workbook/DateSerial.h"
#include "store/workbook/OoxmlText.h"
#include "store/workbook/WorkbookReaders.h"
#include "store/workbook/XmlStream.h"

namespace corvane::detail {
namespace {

constexpr std::string_view kRootRelationships = "_rels/.rels";
constexpr std::string_view kDefaultWorkbookPart = "xl/workbook.xml";
constexpr std::string_view kOfficeDocumentType = "/officeDocument";
constexpr std::string_view kSharedStringsType = "/sharedStrings";
constexpr int kColumnLetters = 26;

struct Relationship {
    std::string type;
    std::string target;
};

// Relationship targets are relative to the folder of their source part
// unless they start with "/" (the package root).
std::string ResolvePart(std::string_view sourcePart, std::string_view target) {
    std::filesystem::path joined = target.starts_with('/')
                                       ? std::filesystem::path(target.substr(1))
                                       : std::filesystem::path(sourcePart).parent_path() / std::filesystem::path(target);
    return joined.lexically_normal().generic_string();
}

std::string RelationshipsPartOf(std::string_view part) {
    const std::filesystem::path path(part);
    return (path.parent_path() / "_rels" / (path.filename().string() + ".rels")).generic_string();
}

class RelationshipsHandler : public XmlHandler {
public:
    std::map<std::string, Relationship> byId;

    void Start(const XmlName& name, const XmlAttributes& attributes) override {
        if (name.local != "Relationship") return;
        const char* id = attributes.GetLocal("Id");
        const char* type = attributes.GetLocal("Type");
        const char* target = attributes.GetLocal("Target");
        const char* mode = attributes.GetLocal("TargetMode");
        if (id == nullptr || type == nullptr || target == nullptr) return;
        if (mode != nullptr && std::string_view(mode) == "External") return;
        byId.emplace(id, Relationship{type, target});
    }
    void End(const XmlName&) override {}

    const Relationship* OfType(std::string_view suffix) const {
        for (const auto& [id, relationship] : byId) {
            if (std::string_view(relationship.type).ends_with(suffix)) return &relationship;
        }
        return nullptr;
    }
};

// The relationship id of the first <sheet> listed in the workbook part.
class WorkbookHandler : public XmlHandler {
public:
    std::string firstSheetId;

    void Start(const XmlName& name, const XmlAttributes& attributes) override {
        if (name.local != "sheet" || !firstSheetId.empty()) return;
        if (const char* id = attributes.GetLocal("id")) firstSheetId = id;
    }
    void End(const XmlName&) override {}
};

// "BC12" -> (12, 55); false for anything else.
bool ParseCellReference(std::string_view ref, int& row, int& col) {
    std::size_t i = 0;
    long column = 0;
    for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) {
        column = column * kColumnLetters + (ref[i] - 'A' + 1);
        if (column > 1'000'000) return false;
    }
    int parsedRow = 0;
    const auto [end, ec] = std::from_chars(ref.data() + i, ref.data() + ref.size(), parsedRow);
    if (i == 0 || ec != std::errc() || end != ref.data() + ref.size() || parsedRow < 1) return false;
    row = parsedRow;
    col = static_cast<int>(column);
    return true;
}

struct SharedStringUse {
    int row;
    int col;
    long index;
};

// <row r="..."><c r="A1" t="s|str|inlineStr|b|e|n"><f/><v/><is/></c></row>
class SheetHandler : public XmlHandler {
public:
    explicit SheetHandler(ReadArea area) : area_(area) {}

    Workbook book;
    std::vector<SharedStringUse> sharedStrings;

    void Start(const XmlName& name, const XmlAttributes& attributes) override {
        const std::string_view local = name.local;
        if (local == "row") {
            int parsed = 0;
            const char* r = attributes.GetLocal("r");
            row_ = (r != nullptr && std::from_chars(r, r + std::strlen(r), parsed).ec == std::errc() && parsed > 0) ? parsed
                                                                                                                  : row_ + 1;
            nextCol_ = 1;
        } else if (local == "c") {
            StartCell(attributes);
        } else if (!inCell_) {
            return;
        } else if (local == "f") {
            hasFormula_ = true;
        } else if (local == "v") {
            hasValue_ = true;
            collecting_ = wanted_;
        } else if (local == "rPh") {
            inPhonetic_ = true;
        } else if (local == "t" && !inPhonetic_) {
            collecting_ = wanted_;
        }
    }

    void End(const XmlName& name) override {
        const std::string_view local = name.local;
        if (local == "c" && inCell_) {
            inCell_ = false;
            if (wanted_) FinishCell();
        } else if (local == "v" || local == "t") {
            collecting_ = false;
        } else if (local == "rPh") {
            inPhonetic_ = false;
        }
    }

    void Text(std::string_view text) override {
        if (collecting_) text_.append(text);
    }

    // Rows come in ascending order, as the format demands.
    bool Finished() const override { return row_ > area_.rows; }

private:
    void StartCell(const XmlAttributes& attributes) {
        int row = row_;
        int col = nextCol_;
        if (const char* ref = attributes.GetLocal("r")) ParseCellReference(ref, row, col);
        cellRow_ = row;
        cellCol_ = col;
        nextCol_ = col + 1;
        const char* type = attributes.GetLocal("t");
        type_ = type != nullptr ? type : "n";
        inCell_ = true;
        wanted_ = InArea(area_, row, col);
        hasFormula_ = hasValue_ = collecting_ = inPhonetic_ = false;
        text_.clear();
    }

    void FinishCell() {
        if (hasFormula_ && (!hasValue_ || (text_.empty() && type_ != "str"))) {
            book.SetCell(cellRow_, cellCol_, CellValue::Uncomputed());
        } else if (type_ == "s") {
            long index = -1;
            std::from_chars(text_.data(), text_.data() + text_.size(), index);
            if (index >= 0) sharedStrings.push_back({cellRow_, cellCol_, index});
            else book.SetCell(cellRow_, cellCol_, CellValue::Error(text_));
        } else if (type_ == "inlineStr" || type_ == "str") {
            book.SetCell(cellRow_, cellCol_, CellValue::Text(DecodeOoxmlEscapes(text_)));
        } else if (type_ == "d") {
            const auto serial = DateTimeSerial(text_);
            book.SetCell(cellRow_, cellCol_, serial ? CellValue::Number(*serial) : CellValue::Text(text_));
        } else if (type_ == "b") {
            book.SetCell(cellRow_, cellCol_, CellValue::Boolean(text_ == "1" || text_ == "true"));
        } else if (type_ == "e") {
            book.SetCell(cellRow_, cellCol_, CellValue::Error(text_));
        } else if (hasValue_ && !text_.empty()) {
            const auto number = ParseStoredNumber(text_);
            book.SetCell(cellRow_, cellCol_, number ? CellValue::Number(*number) : CellValue::Text(text_));
        }
    }

    ReadArea area_;
    int row_ = 0;
    int nextCol_ = 1;
    int cellRow_ = 0;
    int cellCol_ = 0;
    std::string type_;
    bool inCell_ = false;
    bool wanted_ = false;
    bool hasFormula_ = false;
    bool hasValue_ = false;
    bool collecting_ = false;
    bool inPhonetic_ = false;
    std::string text_;
};

// Keeps only the shared strings the sheet's area uses, so a huge string
// table costs no memory.
class SharedStringsHandler : public XmlHandler {
public:
    explicit SharedStringsHandler(std::map<long, std::string>& wanted) : wanted_(wanted) {}

    void Start(const XmlName& name, const XmlAttributes&) override {
        if (name.local == "si") {
            ++index_;
            current_ = wanted_.find(index_);
        } else if (name.local == "rPh") {
            inPhonetic_ = true;
        } else if (name.local == "t" && !inPhonetic_ && current_ != wanted_.end()) {
            collecting_ = true;
        }
    }
    void End(const XmlName& name) override {
        if (name.local == "t") collecting_ = false;
        else if (name.local == "rPh") inPhonetic_ = false;
        else if (name.local == "si") current_ = wanted_.end();
    }
    void Text(std::string_view text) override {
        if (collecting_) current_->second.append(text);
    }
    long Count() const { return index_ + 1; }
    // Past the last string the sheet uses.
    bool Finished() const override { return !wanted_.empty() && index_ > wanted_.rbegin()->first; }

private:
    std::map<long, std::string>& wanted_;
    std::map<long, std::string>::iterator current_ = wanted_.end();
    long index_ = -1;
    bool inPhonetic_ = false;
    bool collecting_ = false;
};

std::string WorkbookPart(ZipArchive& archive) {
    RelationshipsHandler root;
    if (archive.Has(kRootRelationships) && ParseXmlPart(archive, kRootRelationships, root).ok()) {
        if (const Relationship* document = root.OfType(kOfficeDocumentType)) return ResolvePart("", document->target);
    }
    return std::string(kDefaultWorkbookPart);
}

}  // namespace

Result<Workbook> ReadOfficeOpenXml(ZipArchive& archive, ReadArea area) {
    const std::string workbookPart = WorkbookPart(archive);
    WorkbookHandler workbook;
    if (Status parsed = ParseXmlPart(archive, workbookPart, workbook); !parsed) return parsed;
    RelationshipsHandler relationships;
    if (Status parsed = ParseXmlPart(archive, RelationshipsPartOf(workbookPart), relationships); !parsed) return parsed;
    const auto sheet = relationships.byId.find(workbook.firstSheetId);
    if (sheet == relationships.byId.end()) return Status::Error("has no sheet");

    SheetHandler cells(area);
    if (Status parsed = ParseXmlPart(archive, ResolvePart(workbookPart, sheet->second.target), cells); !parsed) {
        return parsed;
    }
    if (!cells.sharedStrings.empty()) {
        std::map<long, std::string> wanted;
        for (const SharedStringUse& use : cells.sharedStrings) wanted.emplace(use.index, std::string());
        const Relationship* table = relationships.OfType(kSharedStringsType);
        if (table == nullptr) return Status::Error(std::string(kDamaged) + " (its shared strings are missing)");
        SharedStringsHandler strings(wanted);
        if (Status parsed = ParseXmlPart(archive, ResolvePart(workbookPart, table->target), strings); !parsed) return parsed;
        if (wanted.rbegin()->first >= strings.Count()) return Status::Error(std::string(kDamaged) + " (a shared string is missing)");
        for (const SharedStringUse& use : cells.sharedStrings) {
            cells.book.SetCell(use.row, use.col, CellValue::Text(DecodeOoxmlEscapes(wanted[use.index])));
        }
    }
    return std::move(cells.book);
}

}  // namespace corvane::detail
