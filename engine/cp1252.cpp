#include "engine/cp1252.h"

#include <cstdint>

namespace engine {

namespace {

// Code points of the bytes 0x80 to 0x9F; 0 where Windows-1252 has no character.
constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Next code point of a UTF-8 text; invalid bytes give U+FFFD.
char32_t nextCodePoint(std::string_view s, size_t& i) {
    auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (extra < 0) return 0xFFFD;
    char32_t cp = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

int toCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    // The five bytes without a character are read as the control codes of the same value:
    // they go back to the same byte.
    if (cp >= 0x80 && cp <= 0x9F && kHigh[cp - 0x80] == 0) return static_cast<int>(cp);
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == cp && cp != 0) return 0x80 + k;
    return -1;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        char32_t cp = b;
        if (b >= 0x80 && b <= 0x9F) cp = kHigh[b - 0x80] ? kHigh[b - 0x80] : b;
        appendUtf8(out, cp);
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8, bool* lossless) {
    std::string out;
    bool ok = true;
    size_t i = 0;
    while (i < utf8.size()) {
        int b = toCp1252(nextCodePoint(utf8, i));
        if (b < 0) {
            ok = false;
            b = '?';
        }
        out.push_back(static_cast<char>(b));
    }
    if (lossless) *lossless = ok;
    return out;
}

bool FitsCp1252(std::string_view utf8) {
    bool ok = false;
    Utf8ToCp1252(utf8, &ok);
    return ok;
}

std::string LowerCp1252(std::string bytes) {
    for (char& c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 0xC0 && b <= 0xDE && b != 0xD7))
            b = static_cast<unsigned char>(b + 0x20);
        else if (b == 0x8A || b == 0x8C || b == 0x8E) b = static_cast<unsigned char>(b + 0x10);  // Š Œ Ž
        else if (b == 0x9F) b = 0xFF;                                                            // Ÿ
        c = static_cast<char>(b);
    }
    return bytes;
}

}  // namespace engine
