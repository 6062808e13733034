// .ods: the first table of content.xml. Cells keep their value in attributes
// (office:value, office:string-value, ...), formulas included; repeated rows
// and cells are spelled out only within the area read.
#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>
#include <vector>

#include "store/workbook/DateSerial.h"
#include "store/workbook/WorkbookReaders.h"
#include "store/workbook/XmlStream.h"

namespace corvane::detail {
namespace {

constexpr std::string_view kContentPart = "content.xml";
constexpr std::string_view kOfficeNs = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr std::string_view kTableNs = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr std::string_view kTextNs = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr std::string_view kCalcExtNs = "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0";

int RepeatCount(const char* value) {
    int count = 1;
    if (value == nullptr || std::from_chars(value, value + std::strlen(value), count).ec != std::errc() || count < 1) return 1;
    return count;
}

// What a cell's attributes say; the paragraph text completes it at its end.
struct PendingCell {
    std::string valueType;  // office:value-type, empty when absent
    std::string value;      // the attribute that goes with the type
    bool hasStringValue = false;
    bool hasFormula = false;
    bool isError = false;  // calcext:value-type="error"

    CellValue Finish(const std::string& paragraphs) const {
        if (isError) return CellValue::Error(paragraphs);
        if (valueType.empty()) {
            if (hasFormula) return CellValue::Uncomputed();
            return paragraphs.empty() ? CellValue() : CellValue::Text(paragraphs);
        }
        if (valueType == "float" || valueType == "percentage" || valueType == "currency") {
            const auto number = ParseStoredNumber(value);
            return number ? CellValue::Number(*number) : CellValue::Error(value);
        }
        if (valueType == "boolean") return CellValue::Boolean(value == "true" || value == "1");
        if (valueType == "string") return CellValue::Text(hasStringValue ? value : paragraphs);
        // A number shown as a date or time counts as its serial number, as in .xlsx and .xls.
        const auto serial = valueType == "date" ? DateTimeSerial(value) : valueType == "time" ? DurationSerial(value) : std::nullopt;
        if (serial) return CellValue::Number(*serial);
        return value.empty() ? CellValue::Text(paragraphs) : CellValue::Text(value);
    }
};

class ContentHandler : public XmlHandler {
public:
    explicit ContentHandler(ReadArea area) : area_(area) {}
    Workbook book;

    void Start(const XmlName& name, const XmlAttributes& attributes) override {
        if (name.Is(kTableNs, "table")) {
            ++tableDepth_;
            if (tableDepth_ == 1) ++tablesSeen_;
        }
        if (!InFirstTable()) return;
        if (name.Is(kTableNs, "table-row")) {
            rowRepeat_ = RepeatCount(attributes.Get(kTableNs, "number-rows-repeated"));
            col_ = 1;
            rowCells_.clear();
        } else if (name.Is(kTableNs, "table-cell") || name.Is(kTableNs, "covered-table-cell")) {
            StartCell(attributes);
        } else if (inCell_ && name.Is(kOfficeNs, "annotation")) {
            ++annotationDepth_;
        } else if (inCell_ && annotationDepth_ == 0) {
            StartInText(name, attributes);
        }
    }

    void End(const XmlName& name) override {
        if (name.Is(kTableNs, "table")) {
            --tableDepth_;
            return;
        }
        if (!InFirstTable()) return;
        if (name.Is(kTableNs, "table-cell") || name.Is(kTableNs, "covered-table-cell")) {
            FinishCell();
        } else if (name.Is(kTableNs, "table-row")) {
            FinishRow();
        } else if (name.Is(kOfficeNs, "annotation")) {
            --annotationDepth_;
        } else if (name.Is(kTextNs, "p")) {
            inParagraph_ = false;
        }
    }

    void Text(std::string_view text) override {
        if (inParagraph_ && annotationDepth_ == 0 && cellWanted_) paragraphs_.append(text);
    }

    // Past the area read, or past the first table.
    bool Finished() const override { return row_ >= area_.rows || tablesSeen_ > 1; }

private:
    bool InFirstTable() const { return tableDepth_ == 1 && tablesSeen_ == 1; }

    void StartCell(const XmlAttributes& attributes) {
        inCell_ = true;
        cellRepeat_ = RepeatCount(attributes.Get(kTableNs, "number-columns-repeated"));
        cellWanted_ = row_ + 1 <= area_.rows && col_ <= area_.cols;
        paragraphs_.clear();
        paragraphCount_ = 0;
        cell_ = PendingCell{};
        if (!cellWanted_) return;
        const char* type = attributes.Get(kOfficeNs, "value-type");
        cell_.valueType = type != nullptr ? type : "";
        const char* value = nullptr;
        if (cell_.valueType == "boolean") value = attributes.Get(kOfficeNs, "boolean-value");
        else if (cell_.valueType == "date") value = attributes.Get(kOfficeNs, "date-value");
        else if (cell_.valueType == "time") value = attributes.Get(kOfficeNs, "time-value");
        else if (cell_.valueType == "string") value = attributes.Get(kOfficeNs, "string-value");
        else value = attributes.Get(kOfficeNs, "value");
        cell_.hasStringValue = cell_.valueType == "string" && value != nullptr;
        cell_.value = value != nullptr ? value : "";
        cell_.hasFormula = attributes.Get(kTableNs, "formula") != nullptr;
        const char* calcType = attributes.Get(kCalcExtNs, "value-type");
        cell_.isError = calcType != nullptr && std::string_view(calcType) == "error";
    }

    // Paragraphs, and the spaces, tabs and breaks spelled as elements.
    void StartInText(const XmlName& name, const XmlAttributes& attributes) {
        if (name.ns != kTextNs || !cellWanted_) return;
        if (name.local == "p") {
            if (paragraphCount_++ > 0) paragraphs_ += '\n';
            inParagraph_ = true;
        } else if (name.local == "s") {
            paragraphs_.append(static_cast<std::size_t>(std::min(RepeatCount(attributes.Get(kTextNs, "c")), kMaxSpaces)), ' ');
        } else if (name.local == "tab") {
            paragraphs_ += '\t';
        } else if (name.local == "line-break") {
            paragraphs_ += '\n';
        }
    }

    void FinishCell() {
        inCell_ = false;
        inParagraph_ = false;
        if (cellWanted_) {
            const CellValue value = cell_.Finish(paragraphs_);
            const long last = std::min<long>(static_cast<long>(col_) + cellRepeat_ - 1, area_.cols);
            for (int col = col_; col <= last; ++col) {
                if (!value.IsEmpty()) rowCells_.emplace_back(col, value);
            }
        }
        col_ = cellRepeat_ > area_.cols ? area_.cols + 1 : std::min(col_ + cellRepeat_, area_.cols + 1);
    }

    void FinishRow() {
        const int last = static_cast<int>(std::min<long>(static_cast<long>(row_) + rowRepeat_, area_.rows));
        for (int row = row_ + 1; row <= last; ++row) {
            for (const auto& [col, value] : rowCells_) book.SetCell(row, col, value);
        }
        row_ = static_cast<int>(std::min<long>(static_cast<long>(row_) + rowRepeat_, area_.rows + 1L));
        rowCells_.clear();
    }

    static constexpr int kMaxSpaces = 1024;
    ReadArea area_;
    int tableDepth_ = 0;
    int tablesSeen_ = 0;
    int annotationDepth_ = 0;
    int row_ = 0;  // rows finished so far
    int rowRepeat_ = 1;
    int col_ = 1;
    int cellRepeat_ = 1;
    bool inCell_ = false;
    bool cellWanted_ = false;
    bool inParagraph_ = false;
    int paragraphCount_ = 0;
    PendingCell cell_;
    std::string paragraphs_;
    std::vector<std::pair<int, CellValue>> rowCells_;
};

}  // namespace

Result<Workbook> ReadOpenDocument(ZipArchive& archive, ReadArea area) {
    ContentHandler content(area);
    if (Status parsed = ParseXmlPart(archive, kContentPart, content); !parsed) return parsed;
    return std::move(content.book);
}

}  // namespace corvane::detail
