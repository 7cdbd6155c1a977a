// The spot store: filing, shifting, one live spot per call, the list row and
// the label texts of calls.
#include <gtest/gtest.h>

#include "spotting/spot_line.h"
#include "spotting/spot_store.h"
#include "support/fake_clock.h"
#include "support/qstring_printer.h"

namespace {

using spotting::DXSpotStore;
using testing_support::FakeClock;

QString NoCountry(const QString&) { return {}; }

// The fake clock's local time is UTC - 5 h; the station's offset agrees.
constexpr float kOffset = 5;

std::optional<spotting::SpotRow> File(DXSpotStore& store, FakeClock& clock, const QString& call,
                                      const QString& kHz, const QString& record = {}) {
    return spotting::FileSpot(store, call, kHz, record, clock, kOffset, NoCountry);
}

TEST(SpotStore, FiftyOneSpotsLeaveSlotsHoldingSpotsTwoToFiftyOne) {
    DXSpotStore store;
    FakeClock clock;
    for (int i = 1; i <= 51; ++i) {
        ASSERT_TRUE(File(store, clock, QStringLiteral("K%1ZZ").arg(i), QString::number(14000 + i)));
        clock.AdvanceMs(1000);
    }
    for (int slot = 0; slot <= 49; ++slot) {
        EXPECT_EQ(store.DXSpotCall[slot], QStringLiteral("K%1ZZ").arg(slot + 2));
        EXPECT_FLOAT_EQ(store.DXSpotFreq[slot], static_cast<float>((14000 + slot + 2) / 1000.0));
    }
    // Slots 50 and 51 are never written; times run forward with the slots.
    EXPECT_TRUE(store.DXSpotCall[50].isEmpty());
    EXPECT_EQ(store.DXSpotFreq[51], 0.0f);
    for (int slot = 1; slot <= 49; ++slot)
        EXPECT_LT(store.DXSpotTime[slot - 1], store.DXSpotTime[slot]);
}

TEST(SpotStore, TheSameCallTwiceKeepsOnlyTheNewerSpot) {
    DXSpotStore store;
    FakeClock clock;
    File(store, clock, "K9ZZZ", "14025.0");
    File(store, clock, "DL1AB", "7010");
    File(store, clock, "k9zzz", "21030.5");  // letter case does not matter
    EXPECT_EQ(store.DXSpotCall[47], "K9ZZZ");
    EXPECT_EQ(store.DXSpotFreq[47], 0.0f);  // superseded, but keeps its call and label
    EXPECT_EQ(store.DXSpotLabel[47], "K9");
    EXPECT_FLOAT_EQ(store.DXSpotFreq[48], 7.010f);
    EXPECT_FLOAT_EQ(store.DXSpotFreq[49], 21.0305f);
}

TEST(SpotStore, AnOlderSpotShiftedIntoSlotZeroIsNotSearched) {
    DXSpotStore store;
    FakeClock clock;
    File(store, clock, "K9ZZZ", "14025");
    for (int i = 0; i < 48; ++i) File(store, clock, QStringLiteral("W%1AA").arg(i), "7000");
    File(store, clock, "K9ZZZ", "14030");
    EXPECT_EQ(store.DXSpotCall[0], "K9ZZZ");
    EXPECT_FLOAT_EQ(store.DXSpotFreq[0], 14.025f);
    EXPECT_FLOAT_EQ(store.DXSpotFreq[49], 14.030f);
}

TEST(SpotStore, AFrequencyThatIsNoNumberLeavesTheStoreAlone) {
    DXSpotStore store;
    FakeClock clock;
    File(store, clock, "K9ZZZ", "14025");
    for (const char* bad : {"", "  ", "n/a", "14o25", "1e400", "inf", "nan", "1e50"}) {
        EXPECT_FALSE(File(store, clock, "DL1AB", bad)) << bad;
        EXPECT_EQ(store.DXSpotCall[49], "K9ZZZ") << bad;
        EXPECT_EQ(store.DXSpotCall[48], "") << bad;
    }
}

TEST(SpotStore, AgesCountOnTheMonotonicClockWhateverTheWallClockDoes) {
    DXSpotStore store;
    FakeClock clock;
    File(store, clock, "K9ZZZ", "14025");
    EXPECT_EQ(store.DXSpotTime[49], clock.utc);  // stored in UTC: local plus the offset
    clock.AdvanceMs(599'999);
    EXPECT_EQ(store.AgeSeconds(49, clock), 599);
    // The wall clock jumps an hour (a daylight-saving change or a hand set):
    // the spot does not age by it.
    clock.utc = clock.utc.addSecs(3600);
    clock.localOffsetSeconds += 3600;
    clock.AdvanceMs(1);
    EXPECT_EQ(store.AgeSeconds(49, clock), 600);
    EXPECT_EQ(store.AgeSeconds(-1, clock), 0);
    EXPECT_EQ(store.AgeSeconds(52, clock), 0);
    store.RemoveSpot(49);
    store.RemoveSpot(52);  // outside the store: nothing
    EXPECT_EQ(store.DXSpotFreq[49], 0.0f);
}

TEST(SpotStore, ListRowCellsComeFromTheRecordColumns) {
    DXSpotStore store;
    FakeClock clock;
    // A record with every column the row reads: positions 1-11, 35-59,
    // 62-66, 68-71 and 73-76.
    QString record(80, u' ');
    auto put = [&record](qsizetype position, const QString& text) {
        record.replace(position - 1, text.size(), text);
    };
    put(1, "de N0CALL:    14025.0  K9ZZZ");
    put(35, "CQ contest up 2 listening");
    put(60, "xx K9  ");
    put(68, "1234Z");
    put(73, "W9");
    record = record.trimmed() + "\rgarbage after the CR";
    const auto row = spotting::FileSpot(store, "K9ZZZ", "14025.0", record, clock, kOffset,
                                        [](const QString& call) { return "Country of " + call; });
    ASSERT_TRUE(row);
    EXPECT_EQ(row->cells[0], "K9ZZZ");
    EXPECT_EQ(row->cells[1], "14.025");
    EXPECT_EQ(row->cells[2], "Country of K9ZZZ");
    EXPECT_EQ(row->cells[3], "");
    EXPECT_EQ(row->cells[4], "de N0CALL:  CQ contest up 2 listening");
    EXPECT_EQ(row->cells[5], "K9");
    EXPECT_EQ(row->cells[6], "1234");
    EXPECT_EQ(row->cells[7], "W9");

    // A short record gives empty cells past its end; one decimal of kHz gives
    // four of MHz.
    const auto shortRow = File(store, clock, "DL1AB", "7064.6", "de S53M: 7064.6 DL1AB");
    ASSERT_TRUE(shortRow);
    EXPECT_EQ(shortRow->cells[1], "7.0646");
    EXPECT_EQ(shortRow->cells[4], "de S53M: 70  ");
    EXPECT_EQ(shortRow->cells[5], "");
    EXPECT_EQ(shortRow->cells[6], "");
    EXPECT_EQ(shortRow->cells[7], "");
}

TEST(SpotStore, FrequencyCellsArePlainDecimals) {
    struct Case {
        double mhz;
        const char* text;
    };
    for (const Case& c : {Case{14.025, "14.025"}, Case{14.0, "14"}, Case{7.0646, "7.0646"},
                          Case{28.2229, "28.2229"}, Case{0.000001, "0.000001"},
                          Case{1296.1, "1296.1"}})
        EXPECT_EQ(spotting::SpotFrequencyCell(c.mhz), c.text) << c.mhz;
}

TEST(SpotStore, LabelTexts) {
    struct Case {
        const char* call;
        const char* label;
    };
    const Case cases[] = {
        {"", ""},          {"K9", ""},        {"K9Z", "K9"},       {"K9ZZZ", "K9"},
        {"KL7SB", "KL7"},  {"DLZZZ", "DLZZZ"}, {"KL7/K9ZZZ", "KL7"}, {"K9ZZZ/KL7", "KL7"},
        {"K9ZZZ/4", "K4"}, {"K9ZZZ/P", "P"},  {"K9ZZZ/MMM", "MM"},  {"K9ZZZ/", ""},
        {"OH2/K9ZZZ", "OH2"}, {"VP2V/K9ZZZ/P", "P"},
    };
    for (const Case& c : cases) EXPECT_EQ(spotting::SpotLabelText(c.call), c.label) << c.call;
}

}  // namespace
