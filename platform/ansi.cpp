#include "platform/ansi.h"

#include <array>

namespace plat {
namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F; 0 marks the five
// unassigned bytes, which map to the C1 control of the same number.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t ToUnicode(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) {
        const char16_t u = kHigh[b - 0x80];
        return u ? u : char16_t(b);
    }
    return char16_t(b);
}

char FromUnicode(char16_t u) {
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return char(u);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == u || (kHigh[i] == 0 && u == 0x80 + i))
            return char(0x80 + i);
    return '?';
}

} // namespace

QString FromAnsi(std::string_view text) {
    QString out;
    out.resize(qsizetype(text.size()));
    for (size_t i = 0; i < text.size(); ++i)
        out[qsizetype(i)] = QChar(ToUnicode(static_cast<unsigned char>(text[i])));
    return out;
}

std::string ToAnsi(const QString& text) {
    std::string out;
    out.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i; // one '?' for the whole pair
        out.push_back(FromUnicode(c.unicode()));
    }
    return out;
}

char AnsiUpperChar(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'a' && b <= 'z')
        return char(b - 0x20);
    if (b >= 0xE0 && b <= 0xFE && b != 0xF7)
        return char(b - 0x20);
    switch (b) {
    case 0x9A:
        return char(0x8A); // š
    case 0x9C:
        return char(0x8C); // œ
    case 0x9E:
        return char(0x8E); // ž
    case 0xFF:
        return char(0x9F); // ÿ
    default:
        return c;
    }
}

char AnsiLowerChar(char c) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 'A' && b <= 'Z')
        return char(b + 0x20);
    if (b >= 0xC0 && b <= 0xDE && b != 0xD7)
        return char(b + 0x20);
    switch (b) {
    case 0x8A:
        return char(0x9A);
    case 0x8C:
        return char(0x9C);
    case 0x8E:
        return char(0x9E);
    case 0x9F:
        return char(0xFF);
    default:
        return c;
    }
}

std::string AnsiUpper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = AnsiUpperChar(c);
    return out;
}

std::string AnsiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = AnsiLowerChar(c);
    return out;
}

int AnsiCompareText(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(AnsiUpperChar(a[i]));
        const auto cb = static_cast<unsigned char>(AnsiUpperChar(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool AnsiSameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}

} // namespace plat
