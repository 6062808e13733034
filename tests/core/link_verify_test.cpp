// Verify after Write: the read-back that follows "DOWNLOAD COMPLETE", the
// field-by-field comparison it reports, and what it must leave alone.
#include <gtest/gtest.h>

#include "image/ImageCompare.h"
#include "image/ImageLayout.h"
#include "image/MemoryImage.h"
#include "link_harness.h"

namespace corvane::linktest {
namespace {

std::vector<uint8_t> BuiltBytes(const Workspace& ws) {
    const Result<MemoryImage> image = BuildImage(ws);
    EXPECT_TRUE(image.ok()) << image.message();
    return image.ok() ? std::vector<uint8_t>(image->begin(), image->end()) : std::vector<uint8_t>(kImageLength);
}

// A whole write with Verify after Write on, up to the read command of the
// read-back; the handshakes are answered.
void WriteUpToReadBack(LinkBench& bench) {
    bench.engine.SetVerifyAfterWrite(true);
    bench.Connect();
    ASSERT_TRUE(bench.engine.Connected());
    std::size_t before = bench.port.sent.size();
    bench.engine.RequestWrite();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.listener.messages.empty(); }, 60000));
    EXPECT_EQ(bench.listener.LastMessage(), "DOWNLOAD COMPLETE");
    // The toolbar and the port stay taken through the read-back.
    EXPECT_FALSE(bench.listener.transferButtons);
    EXPECT_TRUE(bench.listener.portInUse);
    // The read-back's handshake went out as the message returned.
    EXPECT_EQ(bench.port.sent.back().bytes, kConnReply);
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    before = bench.port.sent.size();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 2000));
    EXPECT_EQ(bench.port.sent.back().bytes, (std::vector<uint8_t>{0x02, 0x05, 'R', 0x00, 0x00, 0x03}));
}

void ReadBack(LinkBench& bench, const std::vector<uint8_t>& image) {
    bench.ReceiveStream(bench.LastSentAt() + 150, image, kLineByteMs);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return !bench.engine.PortInUse(); }, 20000));
}

std::size_t FileCount(const std::filesystem::path& folder) {
    std::error_code ec;
    std::size_t count = 0;
    for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator(); ++it) ++count;
    return count;
}

TEST(LinkVerify, MatchingReadBackCompletesAndChangesNothing) {
    LinkBench bench;
    bench.ws.channels.SetFrequencyCell(438.5, 12, ColRxFreq);
    const std::vector<uint8_t> sent = BuiltBytes(bench.ws);
    const Workspace before = bench.ws;
    WriteUpToReadBack(bench);
    ReadBack(bench, sent);

    ASSERT_EQ(bench.listener.messages.size(), 2u);
    EXPECT_EQ(bench.listener.LastMessage(), "VERIFY COMPLETE");
    EXPECT_EQ(bench.listener.messages.back().kind, MessageKind::Exclamation);
    EXPECT_EQ(bench.listener.imagesAccepted, 0);
    for (int row = 1; row <= kChannelCount; ++row) {
        for (int col = ColGroup; col < kColumnCount; ++col) ASSERT_EQ(bench.ws.channels.GetCell(row, col), before.channels.GetCell(row, col));
    }
    EXPECT_FALSE(std::filesystem::exists(bench.folder / "Port.txt"));  // a read would have written it
    EXPECT_EQ(FileCount(bench.folder / "Data" / "backups"), 2u);       // the write and its read-back
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_EQ(bench.listener.unlockedWithButtons, std::vector<bool>{true});
    EXPECT_EQ(bench.listener.Label(), "(COM5)  Connected ...");
}

TEST(LinkVerify, CorruptedReadBackNamesWhatDiffers) {
    LinkBench bench;
    const std::vector<uint8_t> sent = BuiltBytes(bench.ws);
    const Workspace before = bench.ws;
    std::vector<uint8_t> back = sent;
    back[image::WordAt(image::kRxFrequencies, 12)] ^= 0x01;
    image::PutWord(back, image::WordAt(image::kStandardAreas.tones, 40), 5);
    back[45] ^= 0x02;                                               // Squelch
    back[image::ByteAt(image::kStandardAreas.flags, 200)] ^= image::kFlagHigh;
    back[1900] = 0x77;                                              // carries nothing
    WriteUpToReadBack(bench);
    ReadBack(bench, back);

    EXPECT_EQ(bench.listener.LastMessage(), "Verify failed: Squelch, channel 12 RX, channel 40 CTCSS, channel 200 Power");
    EXPECT_EQ(bench.listener.messages.back().kind, MessageKind::Warning);
    EXPECT_EQ(bench.ws.channels.GetCell(12, ColRxFreq), before.channels.GetCell(12, ColRxFreq));
    EXPECT_EQ(bench.ws.settings.Squelch, before.settings.Squelch);
    EXPECT_EQ(FileCount(bench.folder / "Data" / "backups"), 2u);
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_FALSE(bench.engine.VerifyRunning());
}

TEST(LinkVerify, SilentRadioEndsTheReadBackAndFreesTheToolbar) {
    LinkBench bench;
    bench.engine.SetVerifyAfterWrite(true);
    bench.Connect();
    const std::size_t before = bench.port.sent.size();
    bench.engine.RequestWrite();
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.port.sent.size() > before; }, 500));
    bench.ReceiveAt(bench.LastSentAt() + 200, kConnReply);
    ASSERT_TRUE(bench.RunUntilTrue([&] { return bench.listener.messages.size() == 2; }, 62000));
    EXPECT_EQ(bench.listener.LastMessage(), "Connection Failure during handshake !!!");
    EXPECT_FALSE(bench.engine.PortInUse());
    EXPECT_TRUE(bench.listener.transferButtons);
    EXPECT_FALSE(bench.listener.portInUse);
}

TEST(ImageCompare, NamesFieldsInTheSentLayoutAndCapsTheList) {
    Workspace ws;
    ws.edition = ws.previousEdition = kEditionPmrLpd;
    ResetToEditionDefaults(ws);
    ws.settings.BandSelect = kBandLpd;
    const std::vector<uint8_t> sent = BuiltBytes(ws);
    EXPECT_TRUE(DifferingFields(sent, sent).empty());

    std::vector<uint8_t> back = sent;
    image::PutWord(back, image::WordAt(image::kLpdAreas.tones, 1), 74 + 3);   // a DCS code
    back[image::ByteAt(image::kLpdAreas.flags, 2)] ^= 0x80;                // a bit no column owns
    back[image::kGroupSlotEnd + 3] = 9;
    back[image::kGroupSlotLetter] = 9;
    back[image::kDtmfDigits + 4] = 9;
    back[image::kGroupSizes + 1] = 9;
    back[image::kStandardAreas.tones] = 0x33;  // standard tone area: unused in this layout
    EXPECT_EQ(DifferingFields(sent, back),
              (std::vector<std::string>{"DtmfId", "group B size", "channel 1 DCS", "channel 2 flags", "group slots"}));

    std::vector<std::string> many;
    for (int c = 1; c <= 20; ++c) many.push_back("channel " + std::to_string(c) + " RX");
    const std::string text = VerifyFailedText(many);
    EXPECT_TRUE(text.starts_with("Verify failed: channel 1 RX, channel 2 RX,")) << text;
    EXPECT_TRUE(text.ends_with("channel 12 RX, ... (8 more)")) << text;
}

}  // namespace
}  // namespace corvane::linktest
