#pragma once
#include <optional>
#include <string>
#include <string_view>

// The byte-order marks Notepad begins a file with: "UTF-8 with BOM", "Unicode" (UTF-16 little
// endian) and "Unicode big endian".
inline constexpr std::string_view UTF8_MARK = "\xEF\xBB\xBF";
inline constexpr std::string_view UTF16LE_MARK = "\xFF\xFE";
inline constexpr std::string_view UTF16BE_MARK = "\xFE\xFF";

// The UTF-16 code units of the bytes (after any mark), in the byte order given; an odd last
// byte is dropped, as Windows does.
std::u16string utf16Units(std::string_view bytes, bool bigEndian);

// A text that begins with a UTF-16 mark, as the UTF-8 it stands for (the mark dropped), and
// which of the two it was; empty for any other text. A surrogate without its partner becomes
// U+FFFD, the replacement character.
struct Utf16Decoded {
    std::string utf8;
    const char* encoding;  // "UTF-16 LE" or "UTF-16 BE"
};
std::optional<Utf16Decoded> decodeMarkedUtf16(std::string_view bytes);
