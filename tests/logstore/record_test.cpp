#include <gtest/gtest.h>

#include "logstore/record.h"

using logstore::RecordReader;
using logstore::RecordWriter;

namespace {
std::vector<QString> readAll(const QByteArray& text) {
    RecordReader reader(text);
    std::vector<QString> items;
    while (auto item = reader.ReadText()) items.push_back(*item);
    return items;
}
}  // namespace

TEST(RecordReader, ItemsEndAtCommasAndLineEndsButRecordsDoNot) {
    struct Case {
        const char* name;
        QByteArray text;
        std::vector<QString> items;
    };
    const Case cases[] = {
        {"quoted comma stays in its item", "\"a,b\",\"c\"\r\n", {"a,b", "c"}},
        {"a record over two lines", "\"N0CALL\",\"599\"\r\n\"WI\"\r\n", {"N0CALL", "599", "WI"}},
        {"LF line ends", "\"a\",\"b\"\n\"c\"\n", {"a", "b", "c"}},
        {"bare numbers and text", "\"WI\",44.5,89.5\r\n", {"WI", "44.5", "89.5"}},
        {"blank line is one empty item", "\"a\"\r\n\r\n\"b\"\r\n", {"a", "", "b"}},
        {"empty quoted items", "\"\",\"\",\"x\"", {"", "", "x"}},
        {"blanks around bare items", "  12 , \"x\"\r\n", {"12", "x"}},
        {"text after a closing quote is passed over", "\"a\"zz,\"b\"", {"a", "b"}},
        {"unclosed quote runs to the end", "\"abc", {"abc"}},
    };
    for (const Case& c : cases) EXPECT_EQ(readAll(c.text), c.items) << c.name;
}

TEST(RecordReader, NumbersAndEndOfFile) {
    RecordReader reader("0,abc,-5.5,\"7\",,1e3\r\n");
    auto n = reader.ReadNumber();
    ASSERT_TRUE(n);
    EXPECT_EQ(n->value, 0);
    EXPECT_TRUE(n->numeric);
    n = reader.ReadNumber();  // not a number: reads as 0
    ASSERT_TRUE(n);
    EXPECT_EQ(n->value, 0);
    EXPECT_FALSE(n->numeric);
    EXPECT_EQ(reader.ReadNumber()->value, -5.5);
    EXPECT_EQ(reader.ReadNumber()->value, 7);
    n = reader.ReadNumber();  // empty item
    EXPECT_TRUE(n->numeric);
    EXPECT_EQ(n->value, 0);
    EXPECT_EQ(reader.ReadNumber()->value, 1000);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.ReadNumber());
    EXPECT_FALSE(reader.ReadText());
}

TEST(RecordReader, BlankLinesLeftAtTheEnd) {
    RecordReader reader("\"a\"\r\n\r\n  \r\n");
    EXPECT_FALSE(reader.OnlyBlankLinesLeft());
    reader.ReadText();
    EXPECT_TRUE(reader.OnlyBlankLinesLeft());
    EXPECT_FALSE(reader.AtEnd());
}

TEST(RecordWriter, WritesTheFileConvention) {
    RecordWriter w;
    w.Text("N0CALL").Text("a\"b\r\nc").Number(0).Number(-5.5).Single(89.9f).Integer(255);
    EXPECT_EQ(w.Line(), "\"N0CALL\",\"abc\",0,-5.5,89.9,255\r\n");
}

TEST(RecordWriter, NumbersKeepTheirValueAndPoint) {
    struct Case {
        double value;
        const char* text;
    };
    const Case doubles[] = {{0, "0"}, {-0.0, "0"}, {5, "5"}, {0.25, "0.25"},
                            {-5.75, "-5.75"}, {123456789.5, "123456789.5"}, {1e20, "100000000000000000000"}};
    for (const Case& c : doubles) EXPECT_EQ(logstore::FormatNumber(c.value), c.text) << c.text;
    EXPECT_EQ(logstore::FormatSingle(0.1f), "0.1");
    EXPECT_EQ(logstore::FormatSingle(-89.9f), "-89.9");
    EXPECT_EQ(logstore::FormatSingle(3600.5f), "3600.5");
}
