#pragma once

#include <string>
#include <string_view>

// Texts of the program and of disk sets are Windows-1252 bytes; host names and the
// toolkit speak UTF-8 / Unicode. These convert at that boundary.
namespace torvanik {

// The Unicode code point of one Windows-1252 byte. 0x80-0x9F follow the Windows table;
// its five unassigned bytes map to the C1 control of the same value, as Windows does.
char32_t Cp1252ToUnicode(unsigned char byte);

std::string Cp1252ToUtf8(std::string_view cp1252);

// A character that Windows-1252 cannot hold, or a malformed UTF-8 sequence, becomes '_'.
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace torvanik
