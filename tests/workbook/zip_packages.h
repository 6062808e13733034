#pragma once
// Workbook packages written by hand, part by part, for what no writer at
// hand produces: hostile sizes, dates kept as dates, escapes.
#include <gtest/gtest.h>

#include <zip.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace corvane::testing {

using Entries = std::vector<std::pair<std::string, std::string>>;

inline void WriteZip(const std::filesystem::path& path, const Entries& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.string().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

// The smallest package that names its first sheet the usual way.
inline Entries OfficeOpenXmlPackage(std::string workbookXml, std::string sheetXml) {
    return {
        {"[Content_Types].xml", R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>)"},
        {"_rels/.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
        {"xl/workbook.xml", std::move(workbookXml)},
        {"xl/_rels/workbook.xml.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)"},
        {"xl/worksheets/sheet1.xml", std::move(sheetXml)},
    };
}

inline const std::string kWorkbookXml =
    R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
    R"(<sheets><sheet name="S" sheetId="1" r:id="rId1"/></sheets></workbook>)";

inline std::string SheetXml(const std::string& rows) {
    return R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" + rows +
           "</sheetData></worksheet>";
}

// An OpenDocument spreadsheet whose first table holds the given rows.
inline Entries OpenDocumentPackage(const std::string& rows) {
    return {
        {"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
        {"content.xml",
         R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" )"
         R"(xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" )"
         R"(xmlns:calcext="urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0">)"
         R"(<office:body><office:spreadsheet><table:table table:name="S">)" + rows +
             "</table:table></office:spreadsheet></office:body></office:document-content>"},
    };
}

}  // namespace corvane::testing
