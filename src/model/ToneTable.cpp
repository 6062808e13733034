#include "model/ToneTable.h"

#include <array>
#include <cstdio>
#include <vector>

#include "model/Edition.h"

namespace corvane {
namespace {

// Built on first use so that no static initialisation order can bite.
const std::array<std::string, kCtcssCodeCount>& CtcssLabels() {
    static const std::array<std::string, kCtcssCodeCount> labels = {
        "[00] OFF", "[01] C67.0", "[02] C71.9", "[03] C74.4", "[04] C77.0", "[05] C79.7", "[06] C82.5", "[07] C85.4",
        "[08] C88.5", "[09] C91.5", "[10] C94.8", "[11] C97.4", "[12] C100.0", "[13] C103.5", "[14] C107.2", "[15] C110.9",
        "[16] C114.8", "[17] C118.8", "[18] C123.0", "[19] C127.3", "[20] C131.8", "[21] C136.5", "[22] C141.3", "[23] C146.2",
        "[24] C151.4", "[25] C156.7", "[26] C162.2", "[27] C167.9", "[28] C173.8", "[29] C179.9", "[30] C186.2", "[31] C192.8",
        "[32] C203.5", "[33] C210.7", "[34] C218.1", "[35] C225.7", "[36] C233.6", "[37] C241.8", "[38] C250.3", "[39] C69.3",
        "[40] C159.8", "[41] C183.5", "[42] C189.9", "[43] C196.6", "[44] C199.5", "[45] C206.5", "[46] C229.1", "[47] C254.1",
        "[48] C165.5", "[49] C171.3", "[50] C177.3", "[51] C60.7", "[52] C62.5", "[53] C64.9", "[54] C40.8", "[55] C51.0",
        "[56] C61.0", "[57] C71.2", "[58] C80.8", "[59] C91.1", "[60] C101.3", "[61] C110.7", "[62] C120.0", "[63] C130.9",
        "[64] C141.1", "[65] C150.7", "[66] C160.8", "[67] C171.4", "[68] C181.4", "[69] C190.6", "[70] C201.3", "[71] C211.6",
        "[72] C221.5", "[73] C230.3",
    };
    return labels;
}

// The 104 DCS codes in each edition's code order.
const std::array<std::string_view, kDcsNormalCount> kDcsOrderPmrLpd = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071",
    "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145",
    "152", "155", "156", "162", "165", "172", "174", "205", "212", "223", "225", "226", "243",
    "244", "245", "246", "251", "252", "255", "261", "263", "265", "266", "271", "274", "306",
    "311", "315", "325", "331", "332", "343", "346", "351", "356", "364", "365", "371", "411",
    "412", "413", "423", "431", "432", "445", "446", "452", "454", "455", "462", "464", "465",
    "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624", "627",
    "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754",};

// Ascending codes first, then the codes added later, in the order the radio knows them.
const std::array<std::string_view, kDcsNormalCount> kDcsOrderKorea = {
    "023", "025", "026", "031", "032", "043", "047", "051", "054", "065", "071", "072", "073",
    "074", "114", "115", "116", "125", "131", "132", "134", "143", "152", "155", "156", "162",
    "165", "172", "174", "205", "223", "226", "243", "244", "245", "251", "261", "263", "265",
    "271", "306", "311", "315", "331", "343", "346", "351", "364", "365", "371", "411", "412",
    "413", "423", "431", "432", "445", "464", "465", "466", "503", "506", "516", "532", "546",
    "565", "606", "612", "624", "627", "631", "632", "654", "662", "664", "703", "712", "723",
    "731", "732", "734", "743", "754", "036", "053", "122", "145", "212", "225", "246", "252",
    "255", "266", "274", "325", "332", "356", "446", "452", "454", "455", "462", "523", "526",};

std::string DcsEntry(int code, std::string_view form, std::string_view dcs) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "[%03d] %.*s%.*s", code, static_cast<int>(form.size()), form.data(),
                  static_cast<int>(dcs.size()), dcs.data());
    return buffer;
}

std::vector<std::string> BuildDcsList(const std::array<std::string_view, kDcsNormalCount>& order) {
    std::vector<std::string> list;
    list.reserve(kDcsCodeCount);
    list.emplace_back(kDcsOff);
    for (int k = 1; k <= kDcsNormalCount; ++k) list.push_back(DcsEntry(k, "D", order[k - 1]));
    for (int k = 1; k <= kDcsNormalCount; ++k) list.push_back(DcsEntry(k + kDcsNormalCount, "ED", order[k - 1]));
    return list;
}

int FindLabel(std::span<const std::string> list, std::string_view label) {
    for (std::size_t code = 0; code < list.size(); ++code) {
        if (list[code] == label) return static_cast<int>(code);
    }
    return 0;
}

}  // namespace

std::span<const std::string> CtcssList() { return CtcssLabels(); }

std::span<const std::string> DcsListPmrLpd() {
    static const std::vector<std::string> list = BuildDcsList(kDcsOrderPmrLpd);
    return list;
}

std::span<const std::string> DcsListKorea() {
    static const std::vector<std::string> list = BuildDcsList(kDcsOrderKorea);
    return list;
}

std::span<const std::string> DcsListFor(int16_t edition) {
    return edition == kEditionPmrLpd ? DcsListPmrLpd() : DcsListKorea();
}

std::string CtcssLabel(int code) {
    if (code < 1 || code >= kCtcssCodeCount) return std::string(kCtcssOff);
    return CtcssLabels()[code];
}

int CtcssCode(std::string_view label) { return FindLabel(CtcssList(), label); }

std::string DcsLabel(int code, int16_t edition) {
    if (code < 1 || code >= kDcsCodeCount) return std::string(kDcsOff);
    return DcsListFor(edition)[code];
}

int DcsCode(std::string_view label, int16_t edition) { return FindLabel(DcsListFor(edition), label); }

DecodedTone DecodeToneNumber(int toneNumber) {
    DecodedTone tone;
    if (toneNumber > kToneNumberDcsOffset) {
        tone.dcsCode = toneNumber - kToneNumberDcsOffset;
    } else if (toneNumber > 0) {
        tone.ctcssCode = toneNumber;
    }
    return tone;
}

int ToneNumberCtcssFirst(std::string_view ctcssLabel, std::string_view dcsLabel, int16_t edition) {
    if (const int ctcss = CtcssCode(ctcssLabel); ctcss != 0) return ctcss;
    if (const int dcs = DcsCode(dcsLabel, edition); dcs != 0) return dcs + kToneNumberDcsOffset;
    return 0;
}

int ToneNumberDcsFirst(std::string_view ctcssLabel, std::string_view dcsLabel, int16_t edition) {
    if (const int dcs = DcsCode(dcsLabel, edition); dcs != 0) return dcs + kToneNumberDcsOffset;
    return CtcssCode(ctcssLabel);
}

}  // namespace corvane
