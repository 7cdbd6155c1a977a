// The voice navigation prompts shipped in data/: one playable wave file for
// every prompt name the program asks for.
#include <QFile>
#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "platform/wave_player.h"

TEST(PromptFiles, EveryPromptIsAShortPcmWaveFile) {
    for (const char* name :
         {"Call", "SPC", "County", "RstRcvd", "RstSnt", "Dupe", "NavDis", "NavEn"}) {
        SCOPED_TRACE(name);
        const QString path = QStringLiteral(OSTREL_DATA_DIR) + "/" + name + ".wav";
        std::optional<QByteArray> bytes = platform::ReadWholeFile(path);
        ASSERT_TRUE(bytes);
        EXPECT_LT(bytes->size(), 100 * 1024);
        std::optional<platform::WaveLayout> layout = platform::ParseWaveHeader(*bytes);
        ASSERT_TRUE(layout);
        const platform::WaveFormat& format = layout->format;
        EXPECT_EQ(format.channels, 1);
        EXPECT_EQ(format.bitsPerSample, 16);
        EXPECT_EQ(format.sampleRate, 16000);
        // The whole data chunk is in the file.
        EXPECT_EQ(layout->dataOffset + format.dataBytes, bytes->size());
        EXPECT_GE(format.DurationMs(), 200);
        EXPECT_LE(format.DurationMs(), 3000);
        // Not silence: some sample stands well above the noise floor.
        int loudest = 0;
        for (qsizetype at = layout->dataOffset; at + 1 < bytes->size(); at += 2) {
            const auto sample = static_cast<std::int16_t>(
                static_cast<quint8>((*bytes)[at]) | static_cast<quint8>((*bytes)[at + 1]) << 8);
            loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
        }
        EXPECT_GT(loudest, 3000);
    }
}
