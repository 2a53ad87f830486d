#include "model/Codabar.h"

namespace {

// Each character's seven elements, bar first, '1' for a wide one.
struct Pattern {
    char character;
    const char* widths;
};
constexpr Pattern Patterns[] = {
    {'0', "0000011"}, {'1', "0000110"}, {'2', "0001001"}, {'3', "1100000"}, {'4', "0010010"},
    {'5', "1000010"}, {'6', "0100001"}, {'7', "0100100"}, {'8', "0110000"}, {'9', "1001000"},
    {'-', "0001100"}, {'$', "0011000"}, {':', "1000101"}, {'/', "1010001"}, {'.', "1010100"},
    {'+', "0010101"}, {'A', "0011010"}, {'B', "0101001"}, {'C', "0001011"}, {'D', "0001110"},
};

const char* widthsOf(QChar c) {
    const char ascii = c.toUpper().toLatin1();
    for (const Pattern& p : Patterns)
        if (p.character == ascii) return p.widths;
    return nullptr;
}

} // namespace

namespace Codabar {

bool isStartStop(QChar c) {
    const QChar u = c.toUpper();
    return u >= u'A' && u <= u'D';
}

bool isDataCharacter(QChar c) {
    return !isStartStop(c) && widthsOf(c) != nullptr;
}

std::optional<std::vector<Element>> encode(const QString& data) {
    if (data.size() < 2 || !isStartStop(data.front()) || !isStartStop(data.back()))
        return std::nullopt;
    for (qsizetype i = 1; i + 1 < data.size(); ++i)
        if (!isDataCharacter(data[i])) return std::nullopt;
    std::vector<Element> elements;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0) elements.push_back({false, false}); // the gap between characters
        const char* widths = widthsOf(data[i]);
        for (int k = 0; k < 7; ++k)
            elements.push_back({k % 2 == 0, widths[k] == '1'});
    }
    return elements;
}

} // namespace Codabar
