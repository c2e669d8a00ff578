#pragma once
// Text crosses the file boundary here: inside the program text is UTF-8, in every stored file it is
// CP932 (Shift-JIS as Windows writes it), converted as glibc's iconv converts it.
//
// Bytes that are not valid CP932 (a lone lead byte at the end of a cut field, 0x80, 0xA0,
// 0xFD-0xFF, a lead byte with a bad trail byte) decode to the private-use characters
// U+F780..U+F7FF (0xF700 + byte) and encode back to the same byte, so such text survives a
// read-modify-write unchanged. CP932 itself maps no character into that range.
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/utf8.h"

namespace talik {

// First code point of the escape range; byte b (0x80..0xFF) decodes to EscapeBase + b.
inline constexpr char32_t EscapeBase = 0xF700;

// CP932 bytes -> UTF-8. Never fails: undecodable bytes are escaped as described above.
std::string FromCp932(std::string_view bytes);
// Appends the decoded form of `bytes` to `out` (the fast path used when loading tables).
void AppendFromCp932(std::string& out, std::string_view bytes);
// A CP932 byte decodes to at most this many bytes of UTF-8.
inline constexpr std::size_t MaxUtf8PerCp932Byte = 3;
// Writes the decoded form of `bytes` at `dst`, which has room for MaxUtf8PerCp932Byte bytes per
// byte, and returns the end of what it wrote.
char* DecodeCp932Into(char* dst, std::string_view bytes);

// UTF-8 -> CP932. Escaped bytes come back as themselves; a character CP932 cannot hold becomes
// "?" as Windows does; malformed UTF-8 bytes become "?" too.
std::string ToCp932(std::string_view utf8);

// The number of bytes of the UTF-8 character that `utf8` starts with: 0 for an empty text, 1 for a
// byte that does not start a well-formed character.
std::size_t Utf8CharLength(std::string_view utf8);

// Whether one UTF-8 character is an escape of a stored byte (U+F780..U+F7FF: EF 9E xx, EF 9F xx).
inline bool IsByteEscape(std::string_view utf8Char)
{
    return utf8Char.size() == 3 && utf8Char[0] == '\xEF' && (utf8Char[1] == '\x9E' || utf8Char[1] == '\x9F');
}

// True when `b` starts a double-byte character in CP932.
constexpr bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The number of bytes of the text in CP932.
long AnsiLen(std::string_view utf8);
// Bytes start .. start+length-1 (1-based) of the text's CP932 form, converted back to text. A cut
// through a double-byte character keeps the half it took (escaped).
std::string AnsiMid(std::string_view utf8, long start, long length);

} // namespace talik
