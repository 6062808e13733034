#pragma once
// Random edits of what the radio holds, each recorded as the field it
// changes with the text the program shows before and after.
#include <array>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <utility>

#include "image/ImageLayout.h"
#include "model/GroupTable.h"
#include "model/ToneTable.h"
#include "model/Workspace.h"

namespace corvane::testing {

class EditList {
public:
    using Key = std::pair<int, std::string>;  // channel (0: radio-wide), field

    EditList(Workspace& ws, unsigned seed) : ws_(ws), random_(seed) {}

    void ApplyOne() {
        switch (Pick(0, 8)) {
            case 0: Frequency(ColRxFreq, "RX"); break;
            case 1: Frequency(ColTxFreq, "TX"); break;
            case 2: Tone(); break;
            case 3: Flag(); break;
            case 4: ByteSetting(); break;
            case 5: Text(0, "NameId", ws_.settings.NameId, std::string{Letter(), Letter()}); break;
            case 6: Text(0, "DtmfId", ws_.settings.DtmfId, Digits()); break;
            case 7: GroupSize(); break;
            case 8: Text(0, "PriChannel", ws_.settings.PriChannel, std::to_string(Pick(0, 255))); break;
        }
    }

    // The fields whose last value differs from their first.
    std::map<Key, std::pair<std::string, std::string>> Changed() const {
        std::map<Key, std::pair<std::string, std::string>> changed;
        for (const auto& [key, values] : fields_) {
            if (values.first != values.second) changed.emplace(key, values);
        }
        return changed;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    char Letter() { return static_cast<char>('A' + Pick(0, 25)); }
    std::string Digits() {
        std::string digits;
        for (int n = Pick(0, 5); n > 0; --n) digits.push_back(static_cast<char>('0' + Pick(0, 9)));
        return digits;
    }

    void Record(int channel, const std::string& field, const std::string& before, const std::string& after) {
        auto [it, fresh] = fields_.try_emplace(Key{channel, field}, before, after);
        if (!fresh) it->second.second = after;
    }

    void Text(int channel, const std::string& field, std::string& value, const std::string& next) {
        Record(channel, field, value, next);
        value = next;
    }

    void Cell(int c, int col, const std::string& field, const std::string& next) {
        Record(c, field, ws_.channels.GetCell(c, col), next);
        ws_.channels.SetCell(c, col, next);
    }

    void Frequency(int col, const std::string& field) {
        const int c = Pick(1, kChannelCount);
        // 420..450 MHz on the 6.25 kHz raster, or an empty channel.
        const std::string next = Pick(0, 4) == 0 ? std::string() : FormatFrequency(420.0 + Pick(0, 4800) * 0.00625);
        Cell(c, col, field, next);
    }

    void Tone() {
        const int c = Pick(1, kChannelCount);
        const int kind = Pick(0, 2);
        Cell(c, ColCtcss, "CTCSS", kind == 1 ? CtcssLabel(Pick(1, kCtcssCodeCount - 1)) : std::string(kCtcssOff));
        Cell(c, ColDcs, "DCS", kind == 2 ? DcsLabel(Pick(1, kDcsCodeCount - 1), ws_.edition) : std::string(kDcsOff));
    }

    void Flag() {
        static const std::array<std::tuple<int, const char*, std::string_view, std::string_view>, 5> flags = {{
            {ColScan, "Scan", kYes, kNo},
            {ColBand, "Band", kWide, kNarrow},
            {ColPower, "Power", kHigh, kLow},
            {ColScrambler, "Scrambler", kOn, kOff},
            {ColCompander, "Compander", kOn, kOff},
        }};
        const auto& [col, name, set, clear] = flags[static_cast<std::size_t>(Pick(0, 4))];
        const int c = Pick(1, kChannelCount);
        Cell(c, col, name, std::string(ws_.channels.GetCell(c, col) == set ? clear : set));
    }

    void ByteSetting() {
        const image::ByteField& field = image::kByteFields[static_cast<std::size_t>(Pick(0, image::kByteFields.size() - 1))];
        uint8_t& value = ws_.settings.*field.field;
        const auto next = static_cast<uint8_t>(Pick(0, 5));
        Record(0, field.name, std::to_string(value), std::to_string(next));
        value = next;
    }

    void GroupSize() {
        const int g = Pick(0, kGroupCount - 1);
        uint8_t& size = ws_.groups.GroupSize[g];
        const auto next = static_cast<uint8_t>(Pick(0, 20));
        Record(0, std::string("group ") + GroupLetter(g) + " size", std::to_string(size), std::to_string(next));
        size = next;
        FillGroupColumn(ws_.groups, ws_.channels);
    }

    Workspace& ws_;
    std::mt19937 random_;
    std::map<Key, std::pair<std::string, std::string>> fields_;
};

}  // namespace corvane::testing
