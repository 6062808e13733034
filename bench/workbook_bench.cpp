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

#include "legacy_workbook_builder.h"
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

// An .xls whose first sheet names the last of a million shared strings, so
// the reader walks the whole table.
void WriteLargestStringTable(const fs::path& path) {
    using namespace corvane::testing;
    constexpr std::uint32_t kStrings = 1'000'000;
    constexpr std::size_t kStringsPerRecord = 2000;
    const std::string one = Biff8Text("x");
    std::vector<std::string> globals;
    for (std::uint32_t written = 0; written < kStrings; written += kStringsPerRecord) {
        std::string strings;
        for (std::size_t i = 0; i < kStringsPerRecord; ++i) strings += one;
        globals.push_back(Record(written == 0 ? biff::kSst : biff::kContinue, (written == 0 ? Le32(kStrings) + Le32(kStrings) : "") + strings));
    }
    const std::string cell = Record(biff::kLabelSst, CellHead(1, 1) + Le32(kStrings - 1));
    std::ofstream(path, std::ios::binary) << CompoundFile("Workbook", WorkbookStream(globals, {cell}));
}

// An .xls of 16 MB of number records, all but one outside the cells read.
void WriteLargestSheet(const fs::path& path) {
    using namespace corvane::testing;
    std::vector<std::string> sheet;
    std::string numbers;
    for (int row = 1000; numbers.size() < 15 * kMegabyte; ++row) numbers += Record(biff::kRk, CellHead(row, 1) + Le32(4u << 2 | 2));
    sheet.push_back(numbers);
    sheet.push_back(Record(biff::kRk, CellHead(257, 1) + Le32(3u << 2 | 2)));
    sheet.push_back(Record(biff::kLabel, CellHead(259, 1) + Biff8Text("x")));
    std::ofstream(path, std::ios::binary) << CompoundFile("Workbook", WorkbookStream({}, sheet));
}

double CpuSeconds(const rusage& usage) {
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// CPU time and wall time of the import alone (the process's start-up and
// the workspace's set-up are taken off), and the process's peak memory.
void Measure(const char* name, const fs::path& folder, const fs::path& book) {
    InChild([&] {
        corvane::Workspace ws;
        ws.programFolder = folder;
        ws.edition = ws.previousEdition = corvane::kEditionKorea;
        corvane::ResetToEditionDefaults(ws);
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        const auto start = std::chrono::steady_clock::now();
        const corvane::ImportResult result = corvane::ImportSpreadsheet(ws, book);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        std::printf("%-27s %6.0f KB file  %5.2f s CPU %5.2f s wall  peak %5.1f MB  %s\n", name,
                    static_cast<double>(fs::file_size(book)) / 1024, CpuSeconds(after) - CpuSeconds(before), wall,
                    static_cast<double>(after.ru_maxrss) / 1024, WithoutPath(result.message, book.string()).c_str());
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

    InChild([&] { WriteZip(book, Package(open + "<row a=\"" + std::string(30 * kMegabyte, 'v') + "\"/>" + close)); });
    Measure("one 30 MB attribute value", folder, book);

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

    InChild([&] {
        Entries many = Package(open + close);
        for (int i = 0; i < 180'000; ++i) many.emplace_back("e" + std::to_string(i), "");
        WriteZip(book, many);
    });
    Measure("180 000 empty parts", folder, book);

    const fs::path xls = folder / "Data" / "book.xls";
    InChild([&] { WriteLargestStringTable(xls); });
    Measure("1 M shared strings .xls", folder, xls);
    InChild([&] { WriteLargestSheet(xls); });
    Measure("15 MB of number cells .xls", folder, xls);

    fs::remove_all(folder);
    return 0;
}
