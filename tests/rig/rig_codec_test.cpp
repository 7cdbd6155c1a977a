// The radio families' bytes: reply parsers over whole, split and garbage
// replies, the poll bytes, and the frequency and mode commands.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <span>

#include "rig/band_plan.h"
#include "rig/rig_codec.h"
#include "rig/rig_settings.h"
#include "support/qstring_printer.h"

using namespace rig;

namespace {

QByteArray hex(const char* spaced) { return SpacedHexToBytes(QString::fromLatin1(spaced)); }

const PollStrings kKenwoodPolls{"FA;", "MD;"};
const PollStrings kIcomPolls{"FE FE 64 E0 03 FD", "FE FE 64 E0 04 FD"};
const PollStrings kFtdxPolls{"FA;", "MD0;"};

struct ReplyCase {
    const char* what;
    const char* rigType;
    QByteArray reply;
    bool modePollDue;  // true: the frequency poll went out last
    float mhz;         // expected; -1 = unchanged
    const char* mode;  // expected; nullptr = unchanged
    int vfo = 10;
    PollStrings polls = kKenwoodPolls;
};

// Each reply parsed over a reading of `before` and `beforeMode`.
void ExpectReadings(std::span<const ReplyCase> cases, float before, const QString& beforeMode) {
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.what);
        RigReading r{before, beforeMode, 10};
        ParseReply(c.rigType, c.reply, c.polls, c.modePollDue, r);
        EXPECT_FLOAT_EQ(r.frequencyMHz, c.mhz < 0 ? before : c.mhz);
        EXPECT_EQ(r.mode, c.mode ? QString(c.mode) : beforeMode);
        EXPECT_EQ(r.activeVFO, c.vfo);
    }
}

}  // namespace

TEST(RigReplies, EveryFamilyReadsItsRepliesAndLeavesWhatItCannotRead) {
    // The values before the reply: a reply that cannot be read leaves them.
    const float before = 7.0f;
    const QString beforeMode = "XX";
    const QByteArray if3 = "IF00007025000" + QByteArray(16, '0') + "31;";
    const ReplyCase cases[] = {
        {"Kenwood", "Kenwood", "FA00014025000;MD3;", false, 14.025f, "CW"},
        {"Kenwood phone", "Kenwood", "FA00014025000;MD1;", false, 14.025f, "PH"},
        {"Kenwood reverse CW", "Kenwood", "FA00014025000;MD7;", false, 14.025f, "CW"},
        {"Kenwood last digit not yet here", "Kenwood", "FA0001402500", false, -1, nullptr},
        {"Kenwood split: digits without the ;", "Kenwood", "FA00014025000", false, -1, nullptr},
        {"Kenwood MD without digit", "Kenwood", "MD", false, -1, nullptr},
        {"Kenwood two replies: the first counts", "Kenwood", "FA00014025000;FA00007000000;", false, 14.025f,
         nullptr},
        {"Kenwood poll box FA only", "Kenwood", "FA00014025000;", false, -1, nullptr, 10, {"FA", ""}},
        {"Kenwood poll box FB;", "Kenwood", "FA00014025000;FB00007025000;", false, 7.025f, nullptr, 10,
         {"FB;", ""}},
        {"Kenwood garbage digits", "Kenwood", "FA0001402x000;", false, -1, nullptr},
        {"Elecraft", "Elecraft", "FA00007040000;MD3;", false, 7.04f, "CW"},
        {"Kenwood 2 IF", "Kenwood 2", if3, false, 7.025f, "CW", 1},
        {"Kenwood 2 IF reverse CW", "Kenwood 2", "IF00007025000" + QByteArray(16, '0') + "70;", false, 7.025f,
         "CW", 0},
        {"Kenwood 2 cut after 20 characters", "Kenwood 2", if3.left(20), false, 7.025f, nullptr},
        {"Kenwood 2 mode but no VFO", "Kenwood 2", if3.left(30), false, 7.025f, "CW"},
        {"FTdx9000", "Yaesu FTdx9000", "FA14025000;MD03;", false, 14.025f, "CW", 10, kFtdxPolls},
        {"FTdx9000 phone", "Yaesu FTdx9000", "FA14025000;MD02;", false, 14.025f, "PH", 10, kFtdxPolls},
        {"FTdx9000 letter mode", "Yaesu FTdx9000", "FA14025000;MD0A;", false, 14.025f, "PH", 10, kFtdxPolls},
        {"FTdx9000 reverse CW", "Yaesu FTdx9000", "MD07;", false, -1, "CW", 10, kFtdxPolls},
        {"FTdx9000 one digit missing", "Yaesu FTdx9000", "FA1402500", false, -1, nullptr, 10, kFtdxPolls},
        // An empty mode box is found at the first character: the fourth is the mode.
        {"FTdx9000 empty mode box, fourth character 3", "Yaesu FTdx9000", "xx3FA14025000;", false, 14.025f, "PH",
         10, {"FA;", ""}},
        {"FTdx9000 empty mode box, fourth character 3", "Yaesu FTdx9000", "MD03;FA14025000;", false, 14.025f, "CW",
         10, {"FA;", ""}},
        {"FTdx9000 empty mode box, three characters", "Yaesu FTdx9000", "MD0", false, -1, nullptr, 10, {"FA;", ""}},
        {"Orion", "Ten Tec Orion", "junk@AF14025000\r@RMM3", false, 14.025f, "CW"},
        {"Orion phone", "Ten Tec Orion", "@AF7040000\r@RMM1", false, 7.04f, "PH"},
        {"Orion no CR yet", "Ten Tec Orion", "@AF14025000", false, -1, nullptr},
        {"Orion mode digit not yet here", "Ten Tec Orion", "@RMM", false, -1, nullptr},
        {"Icom echo and answer", "Icom", hex("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 02 14 00 FD"), true,
         14.025f, nullptr},
        {"Icom 735 four bytes", "Icom 735", hex("FE FE E0 64 03 00 50 02 14 FD"), true, 14.025f, nullptr},
        {"Icom mode CW", "Icom", hex("FE FE 64 E0 04 FD FE FE E0 64 04 03 01 FD"), false, -1, "CW"},
        {"Icom mode phone", "Icom", hex("FE FE E0 64 04 01 01 FD"), false, -1, "PH"},
        {"Icom reverse CW", "Icom", hex("FE FE E0 64 04 07 01 FD"), false, -1, "CW"},
        {"Icom without FE", "Icom", hex("00 50 02 14 00 FD"), true, -1, nullptr},
        {"Icom header cut in the addresses", "Icom", hex("FE FE E0"), true, -1, nullptr},
        {"Icom only the echo", "Icom", hex("FE FE 64 E0 03 FD"), true, -1, nullptr},
        {"Omni VI", "Ten Tec Omni VI", hex("FE FE E0 04 03 00 50 02 14 00 FD"), true, 14.025f, nullptr},
        {"Yaesu CW", "Yaesu", hex("01 40 25 00 02"), false, 14.025f, "CW"},
        {"Yaesu phone", "Yaesu", hex("01 40 25 00 01"), false, 14.025f, "PH"},
        {"Yaesu 82", "Yaesu", hex("01 40 25 00 82"), false, 14.025f, "CW"},
        {"Yaesu letter mode", "Yaesu", hex("01 40 25 00 0A"), false, 14.025f, nullptr},
        {"Yaesu half MHz", "Yaesu", hex("00 05 00 00 01"), false, 0.5f, "PH"},
        {"Yaesu four bytes", "Yaesu", hex("01 40 25 00"), false, -1, nullptr},
        {"Yaesu garbage BCD", "Yaesu", hex("0A 40 25 00 01"), false, -1, nullptr},
        {"757 GX II", "Yaesu 757 GX II", hex("00 00 00 00 00 00 25 40 01 02"), false, 14.025f, "CW"},
        {"757 GX II AM", "Yaesu 757 GX II", hex("00 00 00 00 00 00 25 40 01 04"), false, 14.025f, "AM"},
        {"757 GX II nine bytes", "Yaesu 757 GX II", hex("00 00 00 00 00 00 25 40 01"), false, -1, nullptr},
        // 1 402 500 tens of Hz = 0x156684.
        {"890", "Yaesu 890", hex("00 00 15 66 84 00 00 02"), false, 14.025f, "CW"},
        {"890 five bytes keep the mode", "Yaesu 890", hex("00 00 15 66 84"), false, 14.025f, nullptr},
        {"990", "Yaesu 990", hex("00 15 66 84 00 00 00 01"), false, 14.025f, "PH"},
        {"1000 D", "Yaesu 1000 D", hex("00 15 66 84 00 00 00 02"), false, 14.025f, "CW"},
        {"1000", "Yaesu 1000", hex("00 01 56 68 40 00 00 02"), false, 14.025f, "CW"},
        {"990 letter mode", "Yaesu 990", hex("00 15 66 84 00 00 00 0B"), false, 14.025f, nullptr},
        // 14 025 000 Hz = 0xD60128.
        {"920", "Yaesu 920", hex("00 00 D6 01 28 00 00 01"), false, 14.025f, "CW"},
        {"920 other digit", "Yaesu 920", hex("00 00 D6 01 28 00 00 0E"), false, 14.025f, "PH"},
        {"920 six bytes", "Yaesu 920", hex("00 00 D6 01 28 00"), false, 14.025f, nullptr},
        {"Ten-Tec frequency", "Ten Tec Fnt Pnl", hex("41 00 D6 01 28 0D"), true, 14.025f, nullptr},
        {"Ten-Tec four bytes", "Ten Tec Fnt Pnl", hex("41 00 D6 01"), true, -1, nullptr},
        {"Ten-Tec reply not starting with A", "Ten Tec Fnt Pnl", hex("4D 00 D6 01 28 0D"), true, -1, nullptr},
        {"Ten-Tec mode CW", "Ten Tec Fnt Pnl", hex("4D 33 0D"), false, -1, "CW"},
        {"Ten-Tec mode phone", "Ten Tec Fnt Pnl", hex("4D 31 0D"), false, -1, "PH"},
        {"Other has no parser", "Other", "FA00014025000;MD3;", false, -1, nullptr},
    };
    ExpectReadings(cases, before, beforeMode);
}

TEST(RigReplies, DigitsWithAnExponentAStrayByteOrAnAbsurdSizeKeepTheEarlierFrequency) {
    // Each parser takes decimal digits only, and a frequency a radio can
    // have; anything else ends it with the earlier values kept.
    const float before = 14.025f;
    const QString beforeMode = "CW";
    const ReplyCase cases[] = {
        {"Elecraft exponent", "Elecraft", "FA00000001E40;MD1;", false, -1, "PH"},
        {"Kenwood exponent", "Kenwood", "FA00000001E40;", false, -1, nullptr},
        {"Kenwood sign", "Kenwood", "FA-0014025000;", false, -1, nullptr},
        {"Kenwood zero", "Kenwood", "FA00000000000;", false, -1, nullptr},
        {"Kenwood 2 exponent: mode and VFO stay too", "Kenwood 2", "IF00000001E40" + QByteArray(16, '0') + "21;",
         false, -1, nullptr},
        {"FTdx9000 exponent", "Yaesu FTdx9000", "FA0001E400;MD02;", false, -1, "PH", 10, kFtdxPolls},
        {"Orion exponent", "Ten Tec Orion", "@AF1E40\r", false, -1, nullptr},
        {"Orion 400 digits", "Ten Tec Orion", "@AF" + QByteArray(400, '9') + "\r", false, -1, nullptr},
        {"Orion point", "Ten Tec Orion", "@AF14.025\r", false, -1, nullptr},
        // 50 in the second frequency byte turned into E1: 14.02E100.
        {"Icom stray byte", "Icom", hex("FE FE E0 64 03 00 E1 02 14 00 FD"), true, -1, nullptr},
        {"Icom 735 stray byte", "Icom 735", hex("FE FE E0 64 03 00 E1 02 14 FD"), true, -1, nullptr},
        {"Omni VI stray byte", "Ten Tec Omni VI", hex("FE FE E0 04 03 00 E1 02 14 00 FD"), true, -1, nullptr},
        {"Yaesu zero", "Yaesu", hex("00 00 00 00 01"), false, -1, nullptr},
        {"990 zero", "Yaesu 990", hex("00 00 00 00 00 00 00 01"), false, -1, nullptr},
        {"Pegasus exponent", "Ten Tec Pegasus", "1E40\r\nUSB\r\n", false, -1, nullptr},
    };
    ExpectReadings(cases, before, beforeMode);
}

TEST(RigReplies, AReplyCutAnywhereGivesNothingOrItsTrueValue) {
    // A reply straddling two read ticks: every cut of it parses to nothing
    // or to the value the whole reply gives, never to a value of its own.
    struct Case {
        const char* rigType;
        QByteArray reply;
        bool modePollDue;
        float mhz;
    };
    const Case cases[] = {
        {"Kenwood", "FA00014025000;MD3;", false, 14.025f},
        {"Kenwood 2", "IF00014025000" + QByteArray(16, '0') + "31;", false, 14.025f},
        {"Yaesu FTdx9000", "FA14025000;MD03;", false, 14.025f},
        {"Ten Tec Orion", "@AF14025000\r@RMM3", false, 14.025f},
        {"Icom", hex("FE FE 64 E0 03 FD FE FE E0 64 03 00 50 02 14 00 FD"), true, 14.025f},
        {"Icom 735", hex("FE FE E0 64 03 00 50 02 14 FD"), true, 14.025f},
        {"Yaesu", hex("01 40 25 00 02"), false, 14.025f},
        {"Yaesu 757 GX II", hex("00 00 00 00 00 00 25 40 01 02"), false, 14.025f},
        {"Yaesu 990", hex("00 15 66 84 00 00 00 01"), false, 14.025f},
        {"Ten Tec Fnt Pnl", hex("41 00 D6 01 28 0D"), true, 14.025f},
    };
    for (const Case& c : cases) {
        for (qsizetype n = 0; n <= c.reply.size(); ++n) {
            RigReading r{0, QString(), 10};
            ParseReply(c.rigType, c.reply.left(n), kFtdxPolls, c.modePollDue, r);
            EXPECT_TRUE(r.frequencyMHz == 0 || r.frequencyMHz == c.mhz) << c.rigType << " cut at " << n;
        }
    }
    // Any family's reply fed to any other family's parser, cut anywhere,
    // reads only inside the buffer.
    for (const QString& type : RigTypeNames())
        for (const Case& c : cases)
            for (qsizetype n = 0; n <= c.reply.size(); ++n) {
                RigReading r{0, QString(), 10};
                ParseReply(type, c.reply.left(n), kFtdxPolls, n % 2 == 0, r);
                EXPECT_TRUE(std::isfinite(r.frequencyMHz));
            }
}

TEST(RigReplies, PegasusFileGivesFrequencyAndPhoneOrCW) {
    RigReading r{0, "", 10};
    PegasusData("7.04\r\nUSB\r\n", r);
    EXPECT_FLOAT_EQ(r.frequencyMHz, 7.04f);
    EXPECT_EQ(r.mode, "PH");
    PegasusData("14.025,\"CW\"\r\n", r);
    EXPECT_FLOAT_EQ(r.frequencyMHz, 14.025f);
    EXPECT_EQ(r.mode, "CW");
    PegasusData("21.1\r\n", r);  // no mode: the frequency stays updated
    EXPECT_FLOAT_EQ(r.frequencyMHz, 21.1f);
    EXPECT_EQ(r.mode, "CW");
}

TEST(RigHexText, ConversionsBothWays) {
    EXPECT_EQ(HexDisplay(QByteArray("\x00\x0D", 2)), "00 0D ");
    EXPECT_EQ(HexDisplay(hex("FE FE E0 64 FD")), "FE FE E0 64 FD ");
    EXPECT_EQ(HexDisplay(""), "");
    EXPECT_EQ(SpacedHexToBytes("FE FE 64 E0 03 FD"), hex("FE FE 64 E0 03 FD"));
    EXPECT_EQ(SpacedHexToBytes("FE FE 64 E0 03 FD").size(), 6);
    EXPECT_EQ(SpacedHexToBytes("FE GG"), QByteArray());
    EXPECT_EQ(HexToBytes("FEFE64E0"), hex("FE FE 64 E0"));
    EXPECT_EQ(HexToBytes("FEF"), hex("FE 0F"));
    EXPECT_EQ(HexToBytes("FEXX"), QByteArray());
    EXPECT_EQ(BytesToHex(hex("01 4A FF")), "014AFF");
    EXPECT_EQ(HexDigit(16), "");
    EXPECT_EQ(HexDigit(11), "B");
}

TEST(RigPolls, EachFamilyWritesItsPollsAndAlternatesWhereItShould) {
    struct Case {
        const char* rigType;
        PollStrings polls;
        bool toHex;
        QByteArray first, second;  // two send ticks
    };
    const Case cases[] = {
        {"Kenwood", kKenwoodPolls, false, "FA;MD;", "FA;MD;"},
        {"Kenwood 2", {"IF;", ""}, false, "IF;", "IF;"},
        {"Icom", kIcomPolls, true, hex("FE FE 64 E0 03 FD"), hex("FE FE 64 E0 04 FD")},
        {"Icom", {"FE FE 64 E0 03", "FE FE 64 E0 04 FD"}, true, "", hex("FE FE 64 E0 04 FD")},
        {"Yaesu", {"00 00 00 00 03", "FF FF"}, true, hex("00 00 00 00 03"), hex("00 00 00 00 03")},
        {"Yaesu 1000", {"00 00 00 02 10", ""}, true, hex("00 00 00 02 10"), hex("00 00 00 02 10")},
        {"Yaesu FTdx9000", kFtdxPolls, false, "FA;", "MD0;"},
        {"Ten Tec Fnt Pnl", {"3F 41 0D", "3F 4D 0D"}, true, hex("3F 41 0D"), hex("3F 4D 0D")},
        {"Ten Tec Orion", {"?AF", "?RMM"}, false, "?AF\r?RMM\r", "?AF\r?RMM\r"},
        {"Other", kKenwoodPolls, false, "FA;MD;", "FA;MD;"},
        {"Other", {"FE FE 64 E0 03 FD", ""}, true, hex("FE FE 64 E0 03 FD"), hex("FE FE 64 E0 03 FD")},
        {"Ten Tec Pegasus", kKenwoodPolls, false, "", ""},
        {"None", kKenwoodPolls, false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rigType);
        bool modePollDue = false;
        EXPECT_EQ(PollBytes(c.rigType, c.polls, c.toHex, modePollDue).value_or("fail"), c.first);
        EXPECT_EQ(PollBytes(c.rigType, c.polls, c.toHex, modePollDue).value_or("fail"), c.second);
    }
    // A mistyped byte poll writes nothing, keeps the alternation and names
    // the string.
    bool modePollDue = false;
    QString bad;
    EXPECT_FALSE(PollBytes("Icom", {"FE FE 64 E0 0X FD", ""}, true, modePollDue, &bad).has_value());
    EXPECT_FALSE(modePollDue);
    EXPECT_EQ(bad, "FE FE 64 E0 0X FD");
    EXPECT_FALSE(PollBytes("Other", {"FA;", "FE GG"}, true, modePollDue, &bad).has_value());
    EXPECT_EQ(bad, "FE GG");
    // Nor can a byte poll typed without the blanks between its pairs, the
    // frequency poll or, in its turn, the mode poll.
    struct Unspaced {
        const char* rigType;
        PollStrings polls;
        bool modePollDue;
        const char* bad;
    };
    const Unspaced unspaced[] = {
        {"Ten Tec Fnt Pnl", {"3F410D", "3F 4D 0D"}, false, "3F410D"},
        {"Icom", {"FEFE64E003FD", "FE FE 64 E0 04 FD"}, false, "FEFE64E003FD"},
        {"Icom 735", {"FE FE 64 E0 03 FD", "FE FE 64 E004FD"}, true, "FE FE 64 E004FD"},
        {"Yaesu", {"0000000003", ""}, false, "0000000003"},
        {"Yaesu 1000", {"00 00 000210", ""}, false, "00 00 000210"},
    };
    for (const Unspaced& c : unspaced) {
        SCOPED_TRACE(c.bad);
        bool due = c.modePollDue;
        QString named;
        EXPECT_FALSE(PollBytes(c.rigType, c.polls, true, due, &named).has_value());
        EXPECT_EQ(named, QString(c.bad));
    }
    // A lone hex digit is a byte of its own: "3F 41 D" is 3F 41 0D.
    struct Lone {
        const char* rigType;
        PollStrings polls;
        QByteArray bytes;
    };
    const Lone lone[] = {
        {"Ten Tec Fnt Pnl", {"3F 41 D", "3F 4D 0D"}, hex("3F 41 0D")},
        {"Ten Tec Fnt Pnl", {"3F 41 D ", "3F 4D 0D"}, hex("3F 41 0D")},
    };
    for (const Lone& c : lone) {
        SCOPED_TRACE(c.polls.freq.toStdString());
        bool due = false;
        EXPECT_EQ(PollBytes(c.rigType, c.polls, true, due).value_or("fail"), c.bytes);
    }
}

TEST(RigFrequencyCommands, EveryFamilyAt14025) {
    struct Case {
        const char* rigType;
        PollStrings polls;
        int vfo;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"Kenwood", kKenwoodPolls, 10, "FA00014025000;"},
        {"Kenwood", {"FB;", ""}, 10, "FB00014025000;"},
        {"Elecraft", kKenwoodPolls, 10, "FA00014025000;"},
        {"Kenwood 2", {"IF;", ""}, 0, "FA00014025000;"},
        {"Kenwood 2", {"IF;", ""}, 1, "FB00014025000;"},
        {"Icom", kIcomPolls, 10, hex("FE FE 64 E0 05 00 50 02 14 00 FD")},
        {"Icom 735", kIcomPolls, 10, hex("FE FE 64 E0 05 00 50 02 14 FD")},
        {"Ten Tec Omni VI", {"FE FE 04 E0 03 FD", ""}, 10, hex("FE FE 04 E0 05 00 50 02 14 00 FD")},
        {"Ten Tec Fnt Pnl", {}, 10, hex("2A 41 00 D6 01 28 0D")},
        {"Ten Tec Orion", {}, 10, "*AF14.025\r"},
        {"Yaesu", {}, 10, hex("01 40 25 00 01")},
        {"Yaesu 757 GX II", {}, 10, hex("00 25 40 01 0A")},
        {"Yaesu 890", {}, 10, hex("00 25 40 01 0A")},
        {"Yaesu 1000", {}, 10, hex("00 25 40 01 0A")},
        {"Yaesu FTdx9000", kFtdxPolls, 10, "FA14025000;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rigType);
        EXPECT_EQ(FrequencyCommand(c.rigType, 14.025f, c.polls, c.vfo).value_or("none"), c.bytes);
    }
    EXPECT_EQ(*FrequencyCommand("Kenwood", 24.94f, kKenwoodPolls, 10), "FA00024940001;");
    EXPECT_EQ(*FrequencyCommand("Yaesu FTdx9000", 144.25f, kFtdxPolls, 10), "FA144250000;");
    EXPECT_EQ(*FrequencyCommand("Ten Tec Orion", 14.0f, {}, 10), "*AF14\r");
    // Nothing that would misframe the command, nothing for 0 or less.
    EXPECT_FALSE(FrequencyCommand("Yaesu", 1270.0f, {}, 10).has_value());
    EXPECT_FALSE(FrequencyCommand("Yaesu 990", 1000.0f, {}, 10).has_value());
    EXPECT_TRUE(FrequencyCommand("Yaesu", 999.99f, {}, 10).has_value());
    EXPECT_FALSE(FrequencyCommand("Icom 735", 144.2f, kIcomPolls, 10).has_value());
    EXPECT_TRUE(FrequencyCommand("Icom", 144.2f, kIcomPolls, 10).has_value());
    EXPECT_FALSE(FrequencyCommand("Kenwood", 0.0f, kKenwoodPolls, 10).has_value());
    EXPECT_FALSE(FrequencyCommand("Icom", -7.0f, kIcomPolls, 10).has_value());
    EXPECT_FALSE(FrequencyCommand("Other", 14.025f, {}, 10).has_value());
    // A frequency whose whole Hz would overflow, or whose text would need an
    // exponent, is refused by every family before it is converted.
    for (const QString& type : RigTypeNames())
        for (float mhz : {1e13f, 9.3e12f, 1e7f, 100000.0f, 1e-6f, INFINITY, NAN}) {
            EXPECT_FALSE(FrequencyFits(type, mhz)) << type.toStdString() << " " << mhz;
            EXPECT_FALSE(FrequencyCommand(type, mhz, kKenwoodPolls, 10).has_value()) << type.toStdString();
        }
    EXPECT_EQ(*FrequencyCommand("Kenwood", 99999.99f, kKenwoodPolls, 10), "FA99999992188;");
    EXPECT_EQ(*FrequencyCommand("Ten Tec Orion", 0.0001f, {}, 10), "*AF0.0001\r");
    EXPECT_EQ(WholeHz(144.2f), 144199997);
}

TEST(RigModeCommands, FamiliesAndNames) {
    struct Case {
        const char* rigType;
        const char* mode;
        QByteArray bytes;  // "none": nothing
    };
    const Case cases[] = {
        {"Kenwood", "USB", "MD2;"},
        {"Kenwood 2", "CW", "MD3;"},
        {"Elecraft", "FSK", "MD6;"},
        {"Kenwood", "CW-R", "none"},
        {"Kenwood", "usb", "none"},
        {"Yaesu FTdx9000", "USB", "MD02;"},
        {"Yaesu FTdx9000", "CW-R", "MD07;"},
        {"Yaesu", "USB", hex("01 00 00 00 07")},
        {"Yaesu", "PKT", hex("0C 00 00 00 07")},
        {"Yaesu 990", "USB", hex("00 00 00 01 0C")},
        {"Yaesu 757 GX II", "DIG", "none"},
        {"Icom", "USB", hex("FE FE 64 E0 06 01 FD")},
        {"Icom", "CW-R", hex("FE FE 64 E0 06 07 FD")},
        {"Ten Tec Omni VI", "RTTY-R", hex("FE FE 04 E0 06 08 FD")},
        {"Icom 735", "USB", "none"},
        {"Ten Tec Fnt Pnl", "USB", "none"},
        {"Ten Tec Orion", "USB", "none"},
        {"Other", "USB", "none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.rigType) + " " + c.mode);
        const PollStrings polls = QString(c.rigType) == "Ten Tec Omni VI" ? PollStrings{"FE FE 04 E0 03 FD", ""}
                                  : QString(c.rigType) == "Icom"          ? kIcomPolls
                                                                          : kFtdxPolls;
        EXPECT_EQ(ModeCommand(c.rigType, c.mode, polls).value_or("none"), c.bytes);
    }
}

TEST(RigModeByFrequency, SubBandsOpenAtTheirEdges) {
    const std::pair<float, const char*> cases[] = {
        {7.2f, "PH"}, {10.12f, "CW"}, {146.52f, "PH"}, {14.0f, ""}, {7.125f, ""}, {3.6f, ""},
        {1.84f, ""},  {10.2f, ""},    {222.1f, ""},    {14.025f, "CW"},
    };
    for (const auto& [mhz, mode] : cases) EXPECT_EQ(ModeByFrequency(mhz), mode) << mhz;
    EXPECT_EQ(FrequencyText(14.025f), "14.02500");
    EXPECT_EQ(FrequencyText(0.5f), ".50000");
}

TEST(BandPlan, ExtraRowsInFileOrderAndTheSidebandRule) {
    BandPlanTable table;
    table.Add({"160", "E", "CW", 1.8f, 2.0f});
    table.Add({"40", "E", "PH", 7.125f, 7.3f});
    table.Add({"20", "E", "CW", 14.0f, 14.15f});
    table.Add({"20", "E", "PH", 14.15f, 14.35f});
    table.Add({"60", "E", "USB", 5.3305f, 5.3335f});
    EXPECT_EQ(table.SidebandForFrequency(14.2f), "USB");
    EXPECT_EQ(table.SidebandForFrequency(7.2f), "LSB");
    EXPECT_EQ(table.SidebandForFrequency(14.025f), "CW");
    EXPECT_EQ(table.SidebandForFrequency(14.15f), "");
    EXPECT_EQ(table.SidebandForFrequency(1.9f), "");
    EXPECT_EQ(table.SidebandForFrequency(10.12f), "");
    EXPECT_EQ(table.SidebandForFrequency(5.332f), "USB");
    EXPECT_EQ(BandPlanTable().SidebandForFrequency(14.2f), "");
}

TEST(BandPlan, TheFileGivesItsExtraRowsOnlyAtMost200AndAMissingFileNone) {
    QTemporaryDir dir;
    const QString path = dir.filePath("BandPlan.txt");
    QByteArray text = "\"any text at all\"\r\n\"20\",\"O\",\"PH\",14,14.35\r\n\"20\",\"G\",\"PH\",14.225,14.35\r\n"
                      "\"20\",\"e\",\"CW\",14,14.15\r\n";
    for (int i = 0; i < 205; ++i) text += "\"X\",\"E\",\"CW\"," + QByteArray::number(100 + i) + ",99\r\n";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    const BandPlanTable table = BandPlanTable::Load(path);
    EXPECT_EQ(table.BandPlanCount(), 200);
    EXPECT_EQ(table.rows().front().lower, 100.0f);
    EXPECT_EQ(table.rows().back().lower, 299.0f);
    EXPECT_EQ(table.rows().front().upper, 99.0f);  // kept as read
    EXPECT_EQ(ReadBandPlanFile(path)->effectiveDate, "any text at all");
    EXPECT_EQ(BandPlanTable::Load(dir.filePath("missing.txt")).BandPlanCount(), 0);

    // The shipped plan: phone on 20 m is upper sideband, on 40 m lower.
    const BandPlanTable shipped = BandPlanTable::Load(QStringLiteral(OSTREL_DATA_DIR "/BandPlan.txt"));
    EXPECT_EQ(shipped.SidebandForFrequency(14.2f), "USB");
    EXPECT_EQ(shipped.SidebandForFrequency(7.2f), "LSB");
    EXPECT_EQ(shipped.SidebandForFrequency(14.025f), "CW");
    EXPECT_EQ(shipped.SidebandForFrequency(1.9f), "");
}
