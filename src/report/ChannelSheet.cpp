#include "report/ChannelSheet.h"

#include <cstdio>

#include "image/ImageDigest.h"
#include "image/MemoryImage.h"
#include "model/AccessCode.h"
#include "model/ChannelTable.h"
#include "model/Edition.h"
#include "model/NumberParse.h"
#include "model/SetupForm.h"
#include "model/ToneTable.h"
#include "model/Workspace.h"

namespace corvane {
namespace {

// Grid columns of the sheet's columns; the tone column has none of its own.
constexpr std::array<int, kSheetColumnCount> kGridColumn = {
    ColLabel, ColGroup, ColRxFreq, ColTxFreq, -1, ColScan, ColBand, ColPower, ColScrambler, ColCompander};

// The settings a user checks on the radio itself, in the setup window's words.
constexpr std::array kListedSettings = {kListKeyP1, kListKeyP2, kListKeyP3, kListKeyP4, kListSquelch};

bool HasFrequency(const ChannelTable& table, int row) {
    return LenientNumber(table.GetCell(row, ColRxFreq)) != 0.0 || LenientNumber(table.GetCell(row, ColTxFreq)) != 0.0;
}

std::string SentTone(const ChannelTable& table, int row, int16_t edition) {
    const DecodedTone tone = DecodeToneNumber(
        ToneNumberCtcssFirst(table.GetCell(row, ColCtcss), table.GetCell(row, ColDcs), edition));
    if (tone.ctcssCode != 0) return CtcssLabel(tone.ctcssCode);
    if (tone.dcsCode != 0) return DcsLabel(tone.dcsCode, edition);
    return "OFF";
}

// The option text, or the stored index where the list has no such entry.
std::string OptionText(const SetupList& list, const SettingsRecord& settings) {
    const uint8_t index = settings.*list.field;
    const auto items = list.items();
    if (index < items.size()) return std::string(items[index]);
    return "(" + std::to_string(index) + ")";
}

std::vector<SheetSetting> ListedSettings(const SettingsRecord& settings) {
    std::vector<SheetSetting> listed{{std::string(kNameIdCaption), settings.NameId},
                                     {std::string(kDtmfIdCaption), settings.DtmfId}};
    for (const int index : kListedSettings) {
        const SetupList& list = SetupLists()[index];
        listed.push_back({list.label, OptionText(list, settings)});
    }
    return listed;
}

// A sheet line holds what cannot be sent, not the whole rule behind it: the
// refusal's reason after "cannot be sent: " stays with the program.
std::string ProblemHeadline(const std::string& message) {
    constexpr std::string_view kCannotBeSent = " cannot be sent";
    const std::size_t at = message.find(kCannotBeSent);
    return at == std::string::npos ? message : message.substr(0, at + kCannotBeSent.size());
}

}  // namespace

ChannelSheet BuildChannelSheet(const Workspace& ws, std::string date) {
    ChannelSheet sheet;
    sheet.program = std::string(kProgramTitle);
    sheet.edition = std::string(EditionName(ws.edition));
    sheet.mode = std::string(ModeName(ws.channelMode));
    sheet.date = std::move(date);
    if (const Result<MemoryImage> image = BuildImage(ws)) {
        sheet.fingerprint = ImageFingerprint(*image);
    } else {
        sheet.imageProblem = ProblemHeadline(image.message());
    }
    sheet.settings = ListedSettings(ws.settings);
    for (int column = 0; column < kSheetColumnCount; ++column) {
        const int grid = kGridColumn[column];
        sheet.headers[column] = grid < 0 ? std::string(kSheetToneHeader) : std::string(kColumnHeaders[grid]);
    }
    for (int row = 1; row <= kChannelCount; ++row) {
        if (!HasFrequency(ws.channels, row)) continue;
        SheetRow& line = sheet.rows.emplace_back();
        line.channel = row;
        for (int column = 0; column < kSheetColumnCount; ++column) {
            const int grid = kGridColumn[column];
            if (column == SheetChannel) {
                line.cells[column] = ChannelLabel(row);  // always this text, whatever filled the table
            } else {
                line.cells[column] = grid < 0 ? SentTone(ws.channels, row, ws.edition) : ws.channels.GetCell(row, grid);
            }
        }
    }
    return sheet;
}

std::string SheetDate(int year, int month, int day) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string SheetHeadline(const ChannelSheet& sheet) { return sheet.program + " - " + std::string(kSheetTitle); }

std::string SheetSetLine(const ChannelSheet& sheet) {
    std::string line = sheet.edition.empty() ? std::string("Unknown edition") : sheet.edition;
    return line + ", " + sheet.mode + " mode, " + sheet.date;
}

std::string SheetImageLine(const ChannelSheet& sheet) {
    if (!sheet.fingerprint.empty()) return "Image fingerprint " + sheet.fingerprint;
    return "No image: " + sheet.imageProblem;
}

}  // namespace corvane
