#pragma once
// A workspace with every image field set to a distinct value, and the image
// it must build into, computed by hand from the layout.
#include <string>

#include "image/MemoryImage.h"
#include "model/GroupTable.h"
#include "model/ToneTable.h"
#include "model/Workspace.h"

namespace corvane::testing {

inline void SetFlags(Workspace& ws, int c, bool scan, bool wide, bool high, bool scr, bool comp) {
    ws.channels.SetCell(c, ColScan, std::string(scan ? kYes : kNo));
    ws.channels.SetCell(c, ColBand, std::string(wide ? kWide : kNarrow));
    ws.channels.SetCell(c, ColPower, std::string(high ? kHigh : kLow));
    ws.channels.SetCell(c, ColScrambler, std::string(scr ? kOn : kOff));
    ws.channels.SetCell(c, ColCompander, std::string(comp ? kOn : kOff));
}

inline void SetTones(Workspace& ws, int c, const std::string& ctcss, const std::string& dcs) {
    ws.channels.SetCell(c, ColCtcss, ctcss);
    ws.channels.SetCell(c, ColDcs, dcs);
}

// Every channel carries the decoder's canonical texts, so the workspace can
// travel through an image and come back equal.
inline Workspace RichWorkspace(int16_t edition) {
    Workspace ws;
    ws.edition = edition;
    ws.channelMode = kModeCustom;
    SettingsRecord& s = ws.settings;
    s.FunctionFlags1 = 0xA5;
    s.FunctionFlags2 = 0x5A;
    s.VoxLevel = 3;
    s.ScanDelayTime = 9;
    s.ScanStayTime = 10;
    s.TotalTime = 7;
    s.ResumeTime = 6;
    s.HiddenSetting8 = 8;
    s.PowerSaveOffTime = 5;
    s.PriChannel = "17";
    s.PowerControl = 1;
    s.BacklightOnTime = 8;
    s.PowerSaveOnTime = 4;
    s.NameId = "KZ";
    s.VoxAttackTime = 10;
    s.VoxReleaseTime = 6;
    s.HiddenSetting23 = 23;
    s.KeyP1Side = 3;
    s.KeyP2Left = 2;
    s.KeyP3Center = 1;
    s.KeyP4Right = 0;
    s.CallTone = 5;
    s.DtmfGenerationTime = 9;
    s.DtmfPauseTime = 1;
    s.DtmfDelayTime = 7;
    s.DtmfId = "90817";
    s.Bclo = 3;
    s.BacklightType = 1;
    s.SqTail = 0;
    s.BandSelect = kBandPmrLpd;
    s.Squelch = 4;

    ws.groups.GroupSize = {3, 0, 2, 0, 0, 0, 0, 0, 0, 4};
    ws.groups.GroupsEnabled = 9;
    FillGroupColumn(ws.groups, ws.channels);

    for (int c = 1; c <= kChannelCount; ++c) {
        SetTones(ws, c, std::string(kCtcssOff), std::string(kDcsOff));
        SetFlags(ws, c, false, false, false, false, false);
    }
    ws.channels.SetFrequencyCell(446.00625, 1, ColRxFreq);
    ws.channels.SetFrequencyCell(446.00625, 1, ColTxFreq);
    SetTones(ws, 1, "[12] C100.0", std::string(kDcsOff));
    SetFlags(ws, 1, true, true, true, true, true);

    ws.channels.SetFrequencyCell(420.0, 2, ColRxFreq);
    ws.channels.SetFrequencyCell(450.0, 2, ColTxFreq);
    SetTones(ws, 2, std::string(kCtcssOff), DcsLabel(1, edition));

    // Only a transmit frequency: sent, but not counted.
    ws.channels.SetFrequencyCell(433.075, 3, ColTxFreq);
    SetTones(ws, 3, CtcssLabel(5), std::string(kDcsOff));
    SetFlags(ws, 3, true, true, false, false, false);

    ws.channels.SetFrequencyCell(449.99375, 255, ColRxFreq);
    SetTones(ws, 255, std::string(kCtcssOff), DcsLabel(208, edition));
    SetFlags(ws, 255, true, false, true, false, true);
    return ws;
}

// The bytes RichWorkspace must give in the standard layout.
inline MemoryImage RichImage(int16_t edition) {
    MemoryImage m{};
    const uint8_t header[64] = {
        1, 0xA5, 0x5A, 3, 9, 10, 7, 6, 8, 5,           // 0..9
        17, 1, 8, 4, static_cast<uint8_t>(edition), 0, 0, 21, 36, 10,  // 10..19
        6, 0, 0, 23, 3, 2, 1, 0, 5, 0,                  // 20..29
        0, 0, 9, 1, 7, 5, 9, 0, 8, 1,                   // 30..39
        7, 3, 1, 0, 2, 4, 0, 0, 3, 0,                   // 40..49
        2, 0, 0, 0, 0, 0, 0, 4, 0, 0,                   // 50..59
        9, 3, 0, 3};                                    // 60..63
    for (int i = 0; i < 64; ++i) m[i] = header[i];
    // Receive codes: 446.00625 -> 5825, 420 -> 1664, 449.99375 -> 6463.
    m[66] = 0xC1; m[67] = 0x16;
    m[68] = 0x80; m[69] = 0x06;
    m[574] = 0x3F; m[575] = 0x19;
    // Transmit codes: 446.00625, 450 -> 6464, 433.075 -> 3756.
    m[578] = 0xC1; m[579] = 0x16;
    m[580] = 0x40; m[581] = 0x19;
    m[582] = 0xAC; m[583] = 0x0E;
    // Tones: CTCSS 12, DCS 1 -> 74, CTCSS 5, DCS 208 -> 281.
    m[1090] = 12;
    m[1092] = 74;
    m[1094] = 5;
    m[1598] = 0x19; m[1599] = 0x01;
    // Flags.
    m[1601] = 0x1F;
    m[1603] = 0x03;
    m[1855] = 0x15;
    // Group slots A(1..3), C(4..5), J(6..9).
    m[1856] = 1; m[1857] = 4; m[1858] = 6;
    m[1872] = 4; m[1873] = 6; m[1874] = 10;
    m[1888] = 0; m[1889] = 2; m[1890] = 9;
    return m;
}

}  // namespace corvane::testing
