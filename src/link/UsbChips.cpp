#include "link/UsbChips.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace corvane {
namespace {

struct Maker {
    uint16_t vendor;
    std::string_view name;
};

struct Chip {
    uint16_t vendor;
    uint16_t product;
    std::string_view name;
};

constexpr uint16_t kFtdi = 0x0403;
constexpr uint16_t kProlific = 0x067b;
constexpr uint16_t kWch = 0x1a86;
constexpr uint16_t kSiliconLabs = 0x10c4;

constexpr std::array kMakers = {
    Maker{kFtdi, "FTDI"},
    Maker{kProlific, "Prolific"},
    Maker{kWch, "WCH"},
    Maker{kSiliconLabs, "Silicon Labs"},
};

constexpr std::array kChips = {
    Chip{kFtdi, 0x6001, "FT232R"},        Chip{kFtdi, 0x6010, "FT2232"},       Chip{kFtdi, 0x6011, "FT4232"},
    Chip{kFtdi, 0x6014, "FT232H"},        Chip{kFtdi, 0x6015, "FT-X"},         Chip{kProlific, 0x2303, "PL2303"},
    Chip{kProlific, 0x23a3, "PL2303GC"},  Chip{kProlific, 0x23b3, "PL2303GB"}, Chip{kProlific, 0x23c3, "PL2303GT"},
    Chip{kProlific, 0x23d3, "PL2303GL"},  Chip{kProlific, 0x23e3, "PL2303GE"}, Chip{kProlific, 0x23f3, "PL2303GS"},
    Chip{kWch, 0x7523, "CH340"},          Chip{kWch, 0x7522, "CH340K"},        Chip{kWch, 0x5523, "CH341"},
    Chip{kWch, 0x55d3, "CH343"},          Chip{kWch, 0x55d4, "CH9102"},        Chip{kSiliconLabs, 0xea60, "CP210x"},
    Chip{kSiliconLabs, 0xea70, "CP2105"}, Chip{kSiliconLabs, 0xea71, "CP2108"},
};

}  // namespace

std::string UsbChipName(uint16_t vendor, uint16_t product) {
    for (const Maker& maker : kMakers) {
        if (maker.vendor != vendor) continue;
        for (const Chip& chip : kChips) {
            if (chip.vendor == vendor && chip.product == product) {
                return std::string(maker.name) + ' ' + std::string(chip.name);
            }
        }
        return std::string(maker.name);
    }
    return {};
}

std::string UsbCableText(uint16_t vendor, uint16_t product) {
    char ids[16];
    std::snprintf(ids, sizeof ids, "%04x:%04x", vendor, product);
    const std::string chip = UsbChipName(vendor, product);
    return (chip.empty() ? std::string() : chip + ", ") + "USB " + ids;
}

}  // namespace corvane
