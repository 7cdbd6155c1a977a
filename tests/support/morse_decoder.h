#pragma once
// Reads keyed Morse back: the on/off record of a keying line, element by
// element, and the element string as text. The table here is the test's
// own, written from International Morse code, not the program's.
#include <QString>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// One setting of the keying line: when, and whether it was keyed.
struct LineSetting {
    std::int64_t at;
    bool on;
};

// The element string ("1" keyed, "0" released, one per unit) of a record
// that ends at `endAt`. Each setting must last a whole number of units; a
// stretch that does not gives "?".
inline std::string ElementsOf(const std::vector<LineSetting>& settings, std::int64_t endAt,
                              double unitMs) {
    std::string elements;
    for (std::size_t i = 0; i < settings.size(); ++i) {
        const std::int64_t until = i + 1 < settings.size() ? settings[i + 1].at : endAt;
        const double units = static_cast<double>(until - settings[i].at) / unitMs;
        const double whole = std::round(units);
        if (std::abs(units - whole) > 0.02 || whole < 0) return elements + "?";
        elements.append(static_cast<std::size_t>(whole), settings[i].on ? '1' : '0');
    }
    return elements;
}

// Dots and dashes back to text: a gap of 3 units ends a letter, 7 or more
// also a word (a blank). A pattern the table lacks shows as "<.-..->".
inline QString DecodeMorse(const std::string& elements) {
    static const std::map<std::string, char> letters = {
        {".-", 'A'},    {"-...", 'B'},  {"-.-.", 'C'},  {"-..", 'D'},   {".", 'E'},
        {"..-.", 'F'},  {"--.", 'G'},   {"....", 'H'},  {"..", 'I'},    {".---", 'J'},
        {"-.-", 'K'},   {".-..", 'L'},  {"--", 'M'},    {"-.", 'N'},    {"---", 'O'},
        {".--.", 'P'},  {"--.-", 'Q'},  {".-.", 'R'},   {"...", 'S'},   {"-", 'T'},
        {"..-", 'U'},   {"...-", 'V'},  {".--", 'W'},   {"-..-", 'X'},  {"-.--", 'Y'},
        {"--..", 'Z'},  {"-----", '0'}, {".----", '1'}, {"..---", '2'}, {"...--", '3'},
        {"....-", '4'}, {".....", '5'}, {"-....", '6'}, {"--...", '7'}, {"---..", '8'},
        {"----.", '9'}, {"..--..", '?'}, {"-..-.", '/'}, {"-...-", '='}, {".-.-.-", '.'},
    };
    QString text;
    std::string letter;
    auto flush = [&] {
        if (letter.empty()) return;
        const auto it = letters.find(letter);
        text += it != letters.end() ? QString(QChar::fromLatin1(it->second))
                                    : QStringLiteral("<%1>").arg(QString::fromStdString(letter));
        letter.clear();
    };
    std::size_t i = 0;
    while (i < elements.size()) {
        std::size_t run = 1;
        while (i + run < elements.size() && elements[i + run] == elements[i]) ++run;
        if (elements[i] == '1') {
            letter += run == 1 ? "." : run == 3 ? "-" : "?";
        } else if (run >= 3) {
            flush();
            if (run >= 7) text += u' ';
        }
        i += run;
    }
    flush();
    return text;
}

}  // namespace testing_support
