#include <gtest/gtest.h>
#include <ostream>

#include "setup/key_filters.h"

namespace {

struct FilterCase {
    const char* filterName;
    void (*filter)(int&);
    int typed;
    int expected;
};

void PrintTo(const FilterCase& c, std::ostream* os) {
    *os << c.filterName << "(" << c.typed << ") -> " << c.expected;
}

class KeyFilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(KeyFilterTest, ChangesTheCodeInPlace) {
    int keyAscii = GetParam().typed;
    GetParam().filter(keyAscii);
    EXPECT_EQ(keyAscii, GetParam().expected);
}

FilterCase Cap(int typed, int expected) { return {"Cap", setup::Cap, typed, expected}; }
FilterCase NumOnly(int typed, int expected) { return {"NumOnly", setup::NumOnly, typed, expected}; }

// Cap: only a to z change; the neighbours ` and { of that range, capitals,
// digits, punctuation, control keys and accented letters pass.
INSTANTIATE_TEST_SUITE_P(Cap, KeyFilterTest,
                         testing::Values(Cap('a', 'A'), Cap('m', 'M'), Cap('z', 'Z'),
                                         Cap('A', 'A'), Cap('Z', 'Z'), Cap('0', '0'),
                                         Cap('9', '9'), Cap('/', '/'), Cap('`', '`'),
                                         Cap('{', '{'), Cap(8, 8), Cap(9, 9), Cap(13, 13),
                                         Cap(0xE9, 0xE9), Cap(0, 0)));

// NumOnly: digits and Backspace pass; the neighbours / and : of the digits,
// letters, hyphen, Space, Tab, Enter and Esc become 0.
INSTANTIATE_TEST_SUITE_P(NumOnly, KeyFilterTest,
                         testing::Values(NumOnly('0', '0'), NumOnly('5', '5'), NumOnly('9', '9'),
                                         NumOnly(8, 8), NumOnly('a', 0), NumOnly('Z', 0),
                                         NumOnly('-', 0), NumOnly(' ', 0), NumOnly('/', 0),
                                         NumOnly(':', 0), NumOnly(9, 0), NumOnly(13, 0),
                                         NumOnly(27, 0)));

}  // namespace
