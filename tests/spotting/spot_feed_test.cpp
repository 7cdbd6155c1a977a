// Received text of every source: the monitor, the TNC line assembly with its
// duplicate filter, Telnet chunks and packet engine frames.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <optional>
#include <vector>

#include "spotting/dx_spot_lines.h"
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

TEST(PacketLines, TextWaitsForItsLineEnd) {
    Feed f;
    f.feed.ReceiveTnc(u"cmd:");
    EXPECT_EQ(f.monitor(), "");
    // A CR ends the line at once; the LF that may follow is shown when it comes.
    f.feed.ReceiveTnc(u"\r");
    EXPECT_EQ(f.monitor(), "cmd:\r");
    f.feed.ReceiveTnc(QStringLiteral("\n") + kSpot1.left(20));
    EXPECT_EQ(f.monitor(), "cmd:\r\n");
    EXPECT_TRUE(f.posted.empty());
    EXPECT_EQ(f.feed.TNCReceiveBuffer, kSpot1.left(20));
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

TEST(PacketLines, ATncThatNeverEndsALineDoesNotGrowTheBufferWithoutEnd) {
    Feed f;
    // Lines ended by CR alone are taken as they come; nothing waits.
    QString crLines;
    int lines = 0;
    for (; crLines.size() <= SpotFeed::kMaxPending; ++lines)
        crLines += QString(kSpot1).replace("\r\n", "\r").replace("KL7SB", QStringLiteral("K%1ZZ").arg(lines));
    f.feed.ReceiveTnc(crLines);
    EXPECT_EQ(f.posted.size(), static_cast<size_t>(lines));
    EXPECT_EQ(f.feed.TNCReceiveBuffer, "");
    // Text with neither CR nor LF is flushed as one line when it passes the bound.
    Feed g;
    g.feed.ReceiveTnc(QString(5000, u'x'));
    EXPECT_EQ(g.feed.TNCReceiveBuffer, "");
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

// Both sources cut what they receive into lines by the same rules, wherever
// the TNC's reads or the cluster's chunks happen to end: a line ends at CR LF,
// CR or LF; CR, LF and BEL before a line's text are passed over; a spot line's
// own opening "DX de " starts a line even when a prompt without a line end
// stands before it, and no other "DX" does (a call or a comment may begin
// with "DX").
TEST(FeedLines, BothSourcesPostTheSameSpotsWhereverTheTextIsCut) {
    const QString s1 = QString(kSpot1).chopped(2);
    const QString s2 = QString(kSpot2).chopped(2);
    const QString s3 = QString::fromLatin1(testing_support::kDxSpotLines[1]);
    const QString dxCall = QString(s1).replace("KL7SB ", "DX1ABC");
    const QString dxComment = QString::fromLatin1(testing_support::kDxSpotLines[3])
                                  .replace("op. Marc; tnx QSO!", "DXCC needed, tnx! ");
    struct Case {
        const char* name;
        QString text;
        QStringList spots;  // the spot lines, in order
        QString tncShown = {};  // the TNC's monitor, when its duplicate filter drops a line
    };
    const Case cases[] = {
        {"lines ended CR LF", "Hello K9ZZZ\r\n" + s1 + "\r\n" + s2 + "\r\n", {s1, s2}},
        {"lines ended LF CR", "Hello K9ZZZ\n\r" + s1 + "\n\r" + s2 + "\n\r", {s1, s2}},
        {"a prompt before each spot", "Hello K9ZZZ\r\ncmd:" + s1 + "\r\ncmd:" + s2 + "\r\n", {s1, s2},
         "Hello K9ZZZ\r\ncmd:" + s1 + "\r\n" + s2 + "\r\n"},
        {"a bell before each spot", "Hello K9ZZZ\r\n\a" + s1 + "\r\n\a" + s2 + "\r\n", {s1, s2}},
        {"lines ended CR alone", "Hello K9ZZZ\r" + s1 + "\r" + s2 + "\r" + s3 + "\r", {s1, s2, s3}},
        {"a call and a comment that begin with DX",
         "Hello K9ZZZ\r\nK9ZZZ de DXSPIDER >" + dxCall + "\r\n" + dxComment + "\n", {dxCall, dxComment}},
    };
    enum class Source { Tnc, Telnet };
    for (const Case& c : cases) {
        // The received text in two pieces cut at every position, then one
        // character at a time.
        std::vector<QStringList> cuts;
        for (qsizetype cut = 0; cut <= c.text.size(); ++cut)
            cuts.push_back({c.text.first(cut), c.text.sliced(cut)});
        cuts.push_back(c.text.split(QString(), Qt::SkipEmptyParts));
        for (Source source : {Source::Tnc, Source::Telnet}) {
            for (bool dxOnly : {false, true}) {
                for (const QStringList& pieces : cuts) {
                    SCOPED_TRACE(testing::Message()
                                 << c.name << (source == Source::Tnc ? ", TNC" : ", Telnet")
                                 << (dxOnly ? ", List DX Only" : "") << ", " << pieces.size()
                                 << " pieces, the first of " << pieces.front().size());
                    Feed f;
                    f.feed.listDxOnly = dxOnly;
                    for (const QString& piece : pieces) {
                        if (source == Source::Tnc)
                            f.feed.ReceiveTnc(piece);
                        else
                            f.feed.ReceiveTelnet(piece);
                    }
                    ASSERT_EQ(f.posted.size(), static_cast<size_t>(c.spots.size()));
                    for (qsizetype i = 0; i < c.spots.size(); ++i) {
                        const std::optional<SpotLine> want = spotting::ParseSpotLine(c.spots[i]);
                        ASSERT_TRUE(want);
                        const SpotLine& got = f.posted[static_cast<size_t>(i)];
                        EXPECT_EQ(got.call, want->call);
                        EXPECT_EQ(got.frequency, want->frequency);
                        // The record up to its line end (CR, LF or CR LF, as the pieces brought it).
                        EXPECT_EQ(got.record.section(QRegularExpression("[\r\n]"), 0, 0), want->record);
                        // The operator sees every spot line, ticked or not.
                        EXPECT_TRUE(f.monitor().contains(c.spots[i]));
                    }
                    if (dxOnly)
                        EXPECT_FALSE(f.monitor().contains("Hello K9ZZZ"));
                    else if (source == Source::Tnc && !c.tncShown.isEmpty())
                        EXPECT_EQ(f.monitor(), c.tncShown);
                    else
                        EXPECT_EQ(f.monitor(), c.text);  // shown as received
                }
            }
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
