#pragma once
// The USB serial chips programming cables are built on, by USB vendor and
// product ID: the port lists name the cable with them.
#include <cstdint>
#include <string>

namespace corvane {

// "FTDI FT232R"; the maker alone for an unknown product of a known maker
// ("FTDI"); "" for an unknown maker.
std::string UsbChipName(uint16_t vendor, uint16_t product);

// "FTDI FT232R, USB 0403:6001", or "USB 1234:5678" when the chip is unknown.
std::string UsbCableText(uint16_t vendor, uint16_t product);

}  // namespace corvane
