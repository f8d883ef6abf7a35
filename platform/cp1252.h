#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// The canvas and the disk sets speak Windows-1252 bytes; the program's catalogue of texts,
// host names and the toolkit UTF-8 / Unicode. These convert at that boundary.
namespace torvanik {

// The Unicode code point of one Windows-1252 byte. 0x80-0x9F follow the Windows table;
// its five unassigned bytes map to the C1 control of the same value, as Windows does.
char32_t Cp1252ToUnicode(unsigned char byte);

std::string Cp1252ToUtf8(std::string_view cp1252);

// A character that Windows-1252 cannot hold, or a malformed UTF-8 sequence, becomes '_'.
std::string Utf8ToCp1252(std::string_view utf8);

namespace cp1252_detail {

// Unicode for the bytes 0x80-0x9F.
inline constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr int UnicodeToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<int>(cp);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == cp) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

// Decodes one UTF-8 sequence at text[pos]; returns the code point or -1 when malformed,
// and advances pos past what it consumed.
constexpr long DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, least = 0x10000;
    } else {
        return -1;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
            return -1;
        }
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return -1;
    }
    return static_cast<long>(cp);
}

// Never defined: a text of the program's that Windows-1252 cannot hold does not build.
void NotWindows1252();

}  // namespace cp1252_detail

// UTF-8 texts of the program's own as Windows-1252 bytes, made when the program is built;
// each text stands in a row of its own and ends in a NUL, so that a printf format can be
// handed on as it is.
template <std::size_t Width, std::size_t Count>
struct Cp1252Texts {
    std::array<std::array<char, Width>, Count> rows{};
    std::array<std::size_t, Count> sizes{};

    constexpr std::string_view operator[](std::size_t i) const {
        return {rows[i].data(), sizes[i]};
    }
};

// A row wide enough for the longest of `texts` and its NUL: no text is longer in
// Windows-1252 than in UTF-8.
template <std::size_t Count>
consteval std::size_t Cp1252Room(const std::array<std::string_view, Count>& texts) {
    std::size_t widest = 0;
    for (const std::string_view text : texts) {
        widest = std::max(widest, text.size() + 1);
    }
    return widest;
}

template <std::size_t Width, std::size_t Count>
consteval Cp1252Texts<Width, Count> ToCp1252(const std::array<std::string_view, Count>& texts) {
    Cp1252Texts<Width, Count> out;
    for (std::size_t i = 0; i < Count; ++i) {
        std::size_t end = 0;
        for (std::size_t pos = 0; pos < texts[i].size();) {
            const long cp = cp1252_detail::DecodeUtf8(texts[i], pos);
            const int byte =
                cp < 0 ? -1 : cp1252_detail::UnicodeToCp1252(static_cast<char32_t>(cp));
            if (byte < 0) {
                cp1252_detail::NotWindows1252();
            }
            out.rows[i][end++] = static_cast<char>(byte);
        }
        out.sizes[i] = end;
    }
    return out;
}

}  // namespace torvanik
