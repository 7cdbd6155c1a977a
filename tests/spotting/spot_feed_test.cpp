// Received text of every source: the monitor, the TNC line assembly with its
// duplicate filter, Telnet chunks and packet engine frames.
#include <gtest/gtest.h>

#include <vector>

#include "spotting/spot_feed.h"
#include "spotting/spot_store.h"
#include "support/fake_clock.h"
#include "support/qstring_printer.h"

namespace {

using spotting::SpotFeed;
using spotting::SpotLine;

const QString kSpot1 = QStringLiteral(
    "DX de S53M:       7064.6  KL7SB        rtty, ufb sig                  0302Z\r\n");
const QString kSpot2 = QStringLiteral(
    "DX de KM3T-2-#:  14100.0  CS3B           CW    24 dB  22 WPM  NCDXF B 2259Z\r\n");

struct Feed {
    std::vector<SpotLine> posted;
    SpotFeed feed{[this](const SpotLine& spot) { posted.push_back(spot); }};
    const QString& monitor() const { return feed.monitor.text(); }
};

TEST(PacketLines, ASpotLineInTwoArbitraryPiecesIsShownAndPostedOnceIntoSlot49) {
    for (qsizetype cut = 0; cut <= kSpot1.size(); ++cut) {
        Feed f;
        spotting::DXSpotStore store;
        testing_support::FakeClock clock;
        f.feed.ReceiveTnc(QStringView(kSpot1).first(cut));
        f.feed.ReceiveTnc(QStringView(kSpot1).sliced(cut));
        ASSERT_EQ(f.posted.size(), 1u) << cut;
        EXPECT_EQ(f.monitor(), kSpot1);
        const SpotLine& s = f.posted[0];
        const auto row = spotting::FileSpot(store, s.call, s.frequency, s.record, clock, 5,
                                            [](const QString&) { return QString(); });
        ASSERT_TRUE(row);
        EXPECT_EQ(store.DXSpotCall[49], "KL7SB");
        EXPECT_FLOAT_EQ(store.DXSpotFreq[49], 7.0646f);
        EXPECT_EQ(store.DXSpotCall[48], "");
        EXPECT_EQ(row->cells[0], "KL7SB");
        EXPECT_EQ(row->cells[1], "7.0646");
        EXPECT_EQ(row->cells[4], "de S53M:  rtty, ufb sig");
        EXPECT_EQ(row->cells[6], "0302");
    }
}

TEST(PacketLines, TextWaitsForItsLineFeed) {
    Feed f;
    f.feed.ReceiveTnc(u"cmd:\r");
    EXPECT_EQ(f.monitor(), "");
    f.feed.ReceiveTnc(QStringLiteral("\n") + kSpot1.left(20));
    EXPECT_EQ(f.monitor(), "cmd:\r\n");
    EXPECT_TRUE(f.posted.empty());
    EXPECT_EQ(f.feed.TNCReceiveBuffer, "\n" + kSpot1.left(20));
}

TEST(PacketLines, ARepeatWithinTheLast800MonitorCharactersIsDropped) {
    Feed f;
    f.feed.ReceiveTnc(kSpot1);
    f.feed.ReceiveTnc(QString(kSpot1).replace("DX de", "dx DE"));  // letter case aside the same
    EXPECT_EQ(f.posted.size(), 1u);
    EXPECT_EQ(f.monitor(), kSpot1);
    // A repeated beacon line is shown once too.
    f.feed.ReceiveTnc(u"K9ZZZ-1 beacon\r\nK9ZZZ-1 beacon\r\n");
    EXPECT_EQ(f.monitor().count("beacon"), 1);
    // Once the monitor has grown past 800 characters the same line is new.
    for (int i = 0; i < 10; ++i)
        f.feed.ReceiveTnc(QStringLiteral("line %1 %2\r\n").arg(i).arg(QString(90, u'.')));
    f.feed.ReceiveTnc(kSpot1);
    EXPECT_EQ(f.posted.size(), 2u);
}

TEST(PacketLines, ListDxOnlyHidesOtherLinesButPostsSpots) {
    Feed f;
    f.feed.listDxOnly = true;
    f.feed.ReceiveTnc(QStringLiteral("Welcome to the node\r\n") + kSpot1 + kSpot2);
    EXPECT_EQ(f.monitor(), kSpot1 + kSpot2);
    EXPECT_EQ(f.posted.size(), 2u);
    f.feed.listDxOnly = false;
    f.feed.ReceiveTnc(u"73\r\n");
    EXPECT_TRUE(f.monitor().endsWith("73\r\n"));
}

TEST(PacketLines, ATncThatNeverSendsLineFeedsDoesNotGrowTheBufferWithoutEnd) {
    Feed f;
    // Lines ended by CR alone: held while short, taken line by line at CR once
    // more than 4096 characters wait.
    QString crLines;
    for (int i = 0; crLines.size() <= SpotFeed::kMaxPending; ++i)
        crLines += QString(kSpot1).replace("\r\n", "\r").replace("KL7SB", QStringLiteral("K%1ZZ").arg(i));
    f.feed.ReceiveTnc(crLines);
    EXPECT_FALSE(f.posted.empty());
    EXPECT_LE(f.feed.TNCReceiveBuffer.size(), SpotFeed::kMaxPending + 1);
    EXPECT_TRUE(f.feed.TNCReceiveBuffer.startsWith(u'\n'));
    // Text with neither CR nor LF is flushed as one line when it passes the bound.
    Feed g;
    g.feed.ReceiveTnc(QString(5000, u'x'));
    EXPECT_EQ(g.feed.TNCReceiveBuffer, "\n");
    EXPECT_EQ(g.monitor().size(), 5000);
}

TEST(Monitor, KeepsItsLast9000CharactersPast10000) {
    spotting::SpotMonitor m;
    m.Append(QString(10000, u'a'));
    m.Trim();
    EXPECT_EQ(m.text().size(), 10000);
    m.Append(u"b");
    m.Trim();
    EXPECT_EQ(m.text().size(), 9000);
    EXPECT_TRUE(m.text().endsWith(u"ab"));

    // Through the feed: a long run of lines never leaves more than 10000.
    Feed f;
    for (int i = 0; i < 400; ++i) f.feed.ReceiveTnc(QStringLiteral("beacon %1 ....................\r\n").arg(i));
    EXPECT_LE(f.monitor().size(), 10000);
    EXPECT_GE(f.monitor().size(), 9000);
    EXPECT_TRUE(f.monitor().endsWith("beacon 399 ....................\r\n"));
}

TEST(TelnetChunks, EveryLineIsPostedAndLinesSplitAcrossChunksAreJoined) {
    Feed f;
    const QString text = QStringLiteral("login: K9ZZZ\r\nHello\r\n") + kSpot1 + kSpot2 + QStringLiteral("K9ZZZ de NODE >\r\n");
    for (qsizetype cut = 0; cut <= text.size(); cut += 7) {
        Feed g;
        g.feed.ReceiveTelnet(QStringView(text).first(cut));
        g.feed.ReceiveTelnet(QStringView(text).sliced(cut));
        ASSERT_EQ(g.posted.size(), 2u) << cut;
        EXPECT_EQ(g.posted[0].call, "KL7SB");
        EXPECT_EQ(g.posted[1].call, "CS3B");
        EXPECT_EQ(g.monitor(), text);  // shown as received
    }
    // The same spot twice is posted twice on this source.
    f.feed.ReceiveTelnet(kSpot1 + kSpot1);
    EXPECT_EQ(f.posted.size(), 2u);
    // List DX Only: only the spot lines reach the monitor.
    Feed d;
    d.feed.listDxOnly = true;
    d.feed.ReceiveTelnet(QStringLiteral("Hello\r\n") + kSpot1);
    EXPECT_EQ(d.monitor(), kSpot1);
}

TEST(TelnetChunks, PromptsWithoutLineEndAndLinesEndedLfCrLoseNoSpot) {
    const QString spot1 = QString(kSpot1).chopped(2);
    const QString spot2 = QString(kSpot2).chopped(2);
    struct Case {
        const char* name;
        QStringList chunks;
    };
    const Case cases[] = {
        {"a prompt without line end before each spot",
         {"dxspider >", spot1 + "\r\n", "dxspider >", spot2 + "\r\n"}},
        {"lines ended LF CR", {"Hello K9ZZZ\n\r", spot1 + "\n\r", spot2 + "\n\r"}},
        {"lines ended LF CR in one chunk", {"Hello K9ZZZ\n\r" + spot1 + "\n\r" + spot2 + "\n\r"}},
        {"a bell before each spot", {"\a" + spot1 + "\r\n\a" + spot2 + "\r\n"}},
        {"a prompt, then a spot ended LF CR", {"K9ZZZ de NODE >", "\r" + spot1 + "\n\r", spot2 + "\n"}},
    };
    for (const Case& c : cases) {
        for (bool dxOnly : {false, true}) {
            SCOPED_TRACE(c.name);
            SCOPED_TRACE(dxOnly);
            Feed f;
            f.feed.listDxOnly = dxOnly;
            for (const QString& chunk : c.chunks) f.feed.ReceiveTelnet(chunk);
            ASSERT_EQ(f.posted.size(), 2u);
            EXPECT_EQ(f.posted[0].call, "KL7SB");
            EXPECT_EQ(f.posted[0].frequency, "7064.6");
            EXPECT_EQ(f.posted[1].call, "CS3B");
            EXPECT_TRUE(f.posted[1].record.startsWith("de KM3T-2-#:  14100.0  CS3B"));
            if (!dxOnly) EXPECT_EQ(f.monitor(), c.chunks.join(QString()));
            else EXPECT_EQ(f.monitor().count("DX de"), 2);
        }
    }
}

TEST(AgwFrames, MonitoredFramesShowTheHeaderAndPostSpotsFromTheSecondLine) {
    Feed f;
    // A monitored UI frame: the engine's header line, then the info field.
    const QString header = QStringLiteral(" 1:Fm K9ZZZ-1 To DX <UI pid=F0 Len=74 >[18:00:00]\r");
    f.feed.ShowAgwFrame(u'U', "K9ZZZ-1", header + QString(kSpot1).replace("\r\n", "\r"), {});
    ASSERT_EQ(f.posted.size(), 1u);
    EXPECT_EQ(f.posted[0].frequency, "7064.6");
    EXPECT_EQ(f.posted[0].call, "KL7SB");
    // The same frame again within 800 characters is neither shown nor posted.
    const QString before = f.monitor();
    f.feed.ShowAgwFrame(u'U', "K9ZZZ-1", header + QString(kSpot1).replace("\r\n", "\r"), {});
    EXPECT_EQ(f.posted.size(), 1u);
    EXPECT_EQ(f.monitor(), before);
    // A frame that is no spot shows its header line.
    f.feed.ShowAgwFrame(u'U', "W9XG", " 1:Fm W9XG To BEACON <UI pid=F0 Len=5 >\rhello\r", {});
    EXPECT_TRUE(f.monitor().endsWith("UW9XG  1:Fm W9XG To BEACON <UI pid=F0 Len=5 >\r\nhello\r\n"));
}

TEST(AgwFrames, DxAtTheSecondPositionKeepsEveryColumnAndEverySpotLineIsPosted) {
    Feed f;
    // Connected: the frame's text is the body; "DX" after one leading character.
    f.feed.ShowAgwFrame(u'D', "K9ZZZ", QStringLiteral(">") + kSpot1 + kSpot2, "K9ZZZ");
    ASSERT_EQ(f.posted.size(), 2u);
    EXPECT_EQ(f.posted[0].frequency, "7064.6");
    EXPECT_EQ(f.posted[0].call, "KL7SB");
    EXPECT_EQ(f.posted[1].frequency, "14100.0");
    EXPECT_EQ(f.monitor().count("KL7SB"), 1);  // the frame is shown once
    // A connected frame whose spot line follows a greeting is shown once too.
    f.feed.ShowAgwFrame(u'D', "K9ZZZ", QStringLiteral("Hello K9ZZZ\r") + kSpot2, "K9ZZZ");
    EXPECT_EQ(f.posted.size(), 3u);
    EXPECT_EQ(f.monitor().count("Hello K9ZZZ"), 1);
    // Connected traffic other than spots is shown as it came.
    f.feed.ShowAgwFrame(u'D', "K9ZZZ", "Bye K9ZZZ\r", "K9ZZZ");
    EXPECT_TRUE(f.monitor().endsWith("Bye K9ZZZ\r\n"));
    // A frame of another station while connected is not shown.
    const QString before = f.monitor();
    f.feed.ShowAgwFrame(u'd', "W9XG", "*** DISCONNECTED\r", "K9ZZZ");
    EXPECT_EQ(f.monitor(), before);
}

}  // namespace
