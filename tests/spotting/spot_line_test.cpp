// Spot lines as clusters, skimmers and packet nodes send them.
#include <gtest/gtest.h>

#include "spotting/spot_line.h"
#include "support/qstring_printer.h"

namespace {

struct RealLine {
    const char* line;
    const char* frequency;
    const char* call;
};

// Lines heard on the air: cluster spots, skimmer spots ("-#" spotters) and
// spotter calls with SSIDs, portable and beacon calls.
const RealLine kRealLines[] = {
    {"DX de S53M:       7064.6  KL7SB        rtty, ufb sig                  0302Z", "7064.6", "KL7SB"},
    {"DX de CT7AUT:    28074.0  VK2JJM       ft8 tnx 73                     0305Z", "28074.0", "VK2JJM"},
    {"DX de N6DW:       3586.4  KE0L         WW RTTY                        0306Z", "3586.4", "KE0L"},
    {"DX de N9EN/4:    18077.0  OS5Z         op. Marc; tnx QSO!             1359Z", "18077.0", "OS5Z"},
    {"DX de DL3DTH-#:   1816.5  ON7PQ        CW 30 dB 23 WPM CQ             2201Z", "1816.5", "ON7PQ"},
    {"DX de KM3T-2-#:  14100.0  CS3B           CW    24 dB  22 WPM  NCDXF B 2259Z", "14100.0", "CS3B"},
    {"DX de KM3T-2-#:  28263.9  AB8Z/B         CW    15 dB  18 WPM  BEACON  2259Z", "28263.9", "AB8Z/B"},
    {"DX de W9XG-#:    14057.6  K7GT           CW     7 dB  21 WPM  CQ      2259Z", "14057.6", "K7GT"},
    {"DX de G0LUJ-#:   14100.1  CS3B           CW    18 dB  20 WPM  NCDXF B 2259Z", "14100.1", "CS3B"},
    {"DX de W1NT-6-#:  28222.9  N1NSP/B        CW     5 dB  15 WPM  BEACON  2259Z", "28222.9", "N1NSP/B"},
    {"DX de WE9V-#:    10118.0  N5JCB          CW    15 dB  10 WPM  CQ      2259Z", "10118.0", "N5JCB"},
    {"DX de DJ9IE-#:    7028.0  PT7KM          CW    15 dB  10 WPM  CQ      2259Z", "7028.0", "PT7KM"},
    {"DX de DE1LON-#:  14025.5  EI5JF          CW    13 dB  19 WPM  CQ      2259Z", "14025.5", "EI5JF"},
    {"DX de OH6BG-#:    3516.9  RA1AFT         CW    15 dB  25 WPM  CQ      2259Z", "3516.9", "RA1AFT"},
    {"DX de PJ2A-#:    14025.4  IP0TRC         CW    16 dB  31 WPM  CQ      1307Z", "14025.4", "IP0TRC"},
    {"DX de K2PO-#:     1823.4  HL5IV          CW     8 dB  22 WPM  CQ      1307Z", "1823.4", "HL5IV"},
};

TEST(SpotLine, RealClusterLinesGiveTheCallAndFrequencyAReaderSees) {
    for (const RealLine& r : kRealLines) {
        for (const QString& end : {QString(), QStringLiteral("\r\n"), QStringLiteral("\r")}) {
            const QString line = QString::fromLatin1(r.line) + end;
            const auto spot = spotting::ParseSpotLine(line);
            ASSERT_TRUE(spot) << r.line;
            EXPECT_EQ(spot->frequency, r.frequency) << r.line;
            EXPECT_EQ(spot->call, r.call) << r.line;
            EXPECT_EQ(spot->record, QString::fromLatin1(r.line).mid(3) + end) << r.line;
        }
    }
}

TEST(SpotLine, LowerCaseDxIsASpotLine) {
    const auto spot = spotting::ParseSpotLine(u"dx de S53M:       7064.6  KL7SB        rtty");
    ASSERT_TRUE(spot);
    EXPECT_EQ(spot->call, "KL7SB");
    EXPECT_EQ(spot->record, "de S53M:       7064.6  KL7SB        rtty");
}

TEST(SpotLine, ShortAndGarbledLinesPostNothing) {
    const char* lines[] = {
        "",
        "D",
        "DX",
        "DX ",
        "DX de S53M:",
        "DX de S53M:       7064.6",        // no call column
        "DX de S53M:       7064.6  \r\n",  // the call column holds only the line end
        "DX de S53M:       7064.6 K",      // column 27 not reached
        "DX de S53M:      garbage  KL7SB",  // frequency not a number
        "DXCC is counted here, not spotted",
        "WWV de W0MU <18>:   SFI=70, A=5, K=1, No Storms -> No Storms",
        "To ALL de K9ZZZ: DX de KL7SB on 20?",
    };
    for (const char* line : lines)
        EXPECT_FALSE(spotting::ParseSpotLine(QString::fromLatin1(line))) << line;
}

TEST(SpotLine, ColumnsNeverReachPastTheLine) {
    EXPECT_EQ(spotting::Columns(u"abc", 2, 5), u"bc");
    EXPECT_EQ(spotting::Columns(u"abc", 4, 1), u"");
    EXPECT_EQ(spotting::Columns(u"abc", 0, 2), u"");
    EXPECT_EQ(spotting::Columns(u"abc", 1, -1), u"");
    EXPECT_EQ(spotting::TrimSpaces(u"  a b \r "), u"a b \r");
}

}  // namespace
