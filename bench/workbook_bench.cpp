// Time and peak memory of importing hostile workbooks, each in a child
// process of its own so the peaks do not mix. Not a test: it builds a
// 1 GiB deflate stream and takes a few seconds.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "model/ChannelDefaults.h"
#include "model/Edition.h"
#include "store/workbook/SpreadsheetImport.h"

namespace {

namespace fs = std::filesystem;
using Entries = std::vector<std::pair<std::string, std::string>>;

constexpr std::size_t kMegabyte = 1024 * 1024;

void WriteZip(const fs::path& path, const Entries& entries) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, content] : entries) {
        zip_file_add(archive, name.c_str(), zip_source_buffer(archive, content.data(), content.size(), 0), 0);
    }
    zip_close(archive);
}

Entries Package(std::string sheet) {
    const std::string rels = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    return {
        {"[Content_Types].xml", "<Types/>"},
        {"_rels/.rels", rels + R"(<Relationship Id="r" Type="x/officeDocument" Target="/xl/workbook.xml"/></Relationships>)"},
        {"xl/workbook.xml", R"(<workbook xmlns:r="r"><sheets><sheet r:id="s"/></sheets></workbook>)"},
        {"xl/_rels/workbook.xml.rels", rels + R"(<Relationship Id="s" Type="x/worksheet" Target="sheet.xml"/></Relationships>)"},
        {"xl/sheet.xml", std::move(sheet)},
    };
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Declares 1000 bytes for entry, whatever it holds.
void Understate(const fs::path& path, const std::string& entry) {
    std::string bytes = Bytes(path);
    for (std::size_t at = bytes.find(entry); at != std::string::npos; at = bytes.find(entry, at + 1)) {
        std::size_t field = std::string::npos;
        if (at >= 30 && bytes.compare(at - 30, 4, "PK\x03\x04") == 0) field = at - 30 + 22;
        if (at >= 46 && bytes.compare(at - 46, 4, "PK\x01\x02") == 0) field = at - 46 + 24;
        if (field == std::string::npos) continue;
        bytes[field] = static_cast<char>(0xE8);
        bytes[field + 1] = 0x03;
        bytes[field + 2] = bytes[field + 3] = 0;
    }
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs work in a child process, so what it allocates never shows in the
// peaks measured later.
void InChild(const std::function<void()>& work) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        work();
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

std::string WithoutPath(std::string message, const std::string& path) {
    for (std::size_t at = message.find(path); at != std::string::npos; at = message.find(path)) message.replace(at, path.size(), "book");
    return message;
}

void Measure(const char* name, const fs::path& folder, const fs::path& book) {
    InChild([&] {
        corvane::Workspace ws;
        ws.programFolder = folder;
        ws.edition = ws.previousEdition = corvane::kEditionKorea;
        corvane::ResetToEditionDefaults(ws);
        const auto start = std::chrono::steady_clock::now();
        const corvane::ImportResult result = corvane::ImportSpreadsheet(ws, book);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%-26s %7.0f KB file %6.2f s  peak %5.1f MB  %s\n", name, static_cast<double>(fs::file_size(book)) / 1024,
                    seconds, static_cast<double>(usage.ru_maxrss) / 1024, WithoutPath(result.message, book.string()).c_str());
    });
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / ("corvane-workbook-bench-" + std::to_string(getpid()));
    fs::create_directories(folder / "Data");
    const fs::path book = folder / "Data" / "book.xlsx";
    const std::string open = "<worksheet><sheetData>";
    const std::string close = "</sheetData></worksheet>";

    InChild([&] { WriteZip(book, Package(open + std::string(1024 * kMegabyte, ' ') + close)); });
    Measure("1 GiB, declared", folder, book);
    Understate(book, "xl/sheet.xml");
    Measure("1 GiB, declared 1000 B", folder, book);

    InChild([&] {
        std::string attributes = open + "<row";
        for (int i = 0; attributes.size() < 30 * kMegabyte; ++i) attributes += " a" + std::to_string(i) + "=\"\"";
        WriteZip(book, Package(attributes + "/>" + close));
    });
    Measure("30 MB of attribute names", folder, book);

    InChild([&] {
        std::string deep = open;
        while (deep.size() < 30 * kMegabyte) deep += "<a>";
        WriteZip(book, Package(deep));
    });
    Measure("30 MB of nesting", folder, book);

    InChild([&] {
        std::string cells = open;
        for (int row = 1; cells.size() < 30 * kMegabyte; ++row) {
            cells += "<row r=\"" + std::to_string(row) + "\"><c t=\"inlineStr\"><is><t>x</t></is></c></row>";
        }
        WriteZip(book, Package(cells + close));
    });
    Measure("30 MB of cells", folder, book);

    fs::remove_all(folder);
    return 0;
}
