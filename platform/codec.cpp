// CP932 <-> UTF-8. Decoding is table-driven because loading a database decodes every listed field
// of every record (the pairs' table is made at build time); encoding runs only on edits and goes
// straight through iconv.
#include "platform/codec.h"

#include "platform/cp932table.h"
#include "platform/utf8.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace talik {
namespace {

constexpr const char* Cp932Name = "CP932"; // Windows' code page; "SHIFT_JIS" maps 0x5C to a yen sign
constexpr const char* Utf8Name = "UTF-8";

// An open iconv conversion descriptor, closed on scope exit.
class Converter
{
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in` onto the end of `out`, consuming what it converted. Returns false when it stops
    // at a sequence it cannot convert; `in` then starts with that sequence.
    bool convert(std::string_view& in, std::string& out)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        while (!in.empty()) {
            const std::size_t done = out.size();
            out.resize(done + in.size() * 3 + 4); // room for the largest growth, one byte to three
            char* inPtr = const_cast<char*>(in.data());
            std::size_t inLeft = in.size();
            char* outPtr = out.data() + done;
            std::size_t outLeft = out.size() - done;
            const std::size_t result = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.resize(static_cast<std::size_t>(outPtr - out.data()));
            in.remove_prefix(in.size() - inLeft);
            if (result != static_cast<std::size_t>(-1)) {
                return true;
            }
            if (error != E2BIG) {
                return false;
            }
        }
        return true;
    }

private:
    iconv_t m_cd;
};

} // namespace

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

namespace {

bool IsEscape(char32_t code)
{
    return code >= EscapeBase + 0x80 && code <= EscapeBase + 0xFF;
}

constexpr char32_t HalfKanaBase = 0xFF61; // U+FF61 is byte 0xA1

// `utf8` holds one character of at most three bytes.
Utf8Unit UnitOf(std::string_view utf8)
{
    Utf8Unit unit;
    std::copy(utf8.begin(), utf8.end(), unit.bytes.begin());
    unit.length = static_cast<unsigned char>(utf8.size());
    return unit;
}

Utf8Unit UnitOf(char32_t code)
{
    std::string utf8;
    AppendUtf8(utf8, code);
    return UnitOf(utf8);
}

// The UTF-8 form of each byte 0x80-0xFF taken alone: half-width katakana or an escape. With the
// pairs' table, all decoding needs: it never calls iconv.
using SingleByteTable = std::array<Utf8Unit, 0x80>;

SingleByteTable BuildSingleByteTable()
{
    SingleByteTable single{};
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
        const bool halfKana = b >= 0xA1 && b <= 0xDF;
        single[b - 0x80] = UnitOf(halfKana ? HalfKanaBase + (b - 0xA1) : EscapeBase + b);
    }
    return single;
}

// The decoded pair at `bytes[0..1]`, or nullptr when the bytes do not form one.
const Utf8Unit* FindPair(const unsigned char* bytes, const unsigned char* end)
{
    if (end - bytes < 2 || !IsLeadByte(bytes[0]) || bytes[1] < Cp932TrailFirst || bytes[1] > Cp932TrailLast) {
        return nullptr;
    }
    const Utf8Unit& unit = Cp932Pairs[Cp932PairIndex(bytes[0], bytes[1])];
    return unit.length != 0 ? &unit : nullptr;
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Converts a run of well-formed characters, none of them escapes; what CP932 lacks becomes "?".
void EncodePlainRun(Converter& toCp932, std::string_view run, std::string& out)
{
    while (!toCp932.convert(run, out)) {
        out += '?';
        run.remove_prefix(DecodeUtf8(run).length);
    }
}

} // namespace

std::size_t Utf8CharLength(std::string_view utf8)
{
    return utf8.empty() ? 0 : DecodeUtf8(utf8).length;
}

char* DecodeCp932Into(char* dst, std::string_view bytes)
{
    static const SingleByteTable single = BuildSingleByteTable();
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = src + bytes.size();
    while (src < end) {
        if (*src < 0x80) {
            *dst++ = static_cast<char>(*src++);
            continue;
        }
        const Utf8Unit* pair = FindPair(src, end);
        const Utf8Unit& unit = pair != nullptr ? *pair : single[*src - 0x80];
        std::copy(unit.bytes.begin(), unit.bytes.end(), dst);
        dst += unit.length;
        src += pair != nullptr ? 2 : 1;
    }
    return dst;
}

void AppendFromCp932(std::string& out, std::string_view bytes)
{
    if (IsAscii(bytes)) {
        out.append(bytes);
        return;
    }
    // Write straight into room for the longest outcome (one byte -> three), then cut to size.
    const std::size_t start = out.size();
    out.resize(start + bytes.size() * MaxUtf8PerCp932Byte);
    char* dst = DecodeCp932Into(out.data() + start, bytes);
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

std::string FromCp932(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    AppendFromCp932(out, bytes);
    return out;
}

std::string ToCp932(std::string_view utf8)
{
    if (IsAscii(utf8)) {
        return std::string(utf8);
    }
    Converter toCp932(Cp932Name, Utf8Name);
    std::string out;
    out.reserve(utf8.size());
    std::size_t runStart = 0; // the well-formed characters since runStart are not converted yet
    std::size_t i = 0;
    while (i < utf8.size()) {
        const Utf8Char c = DecodeUtf8(utf8.substr(i));
        if (c.code != MalformedUtf8 && !IsEscape(c.code)) {
            i += c.length;
            continue;
        }
        EncodePlainRun(toCp932, utf8.substr(runStart, i - runStart), out);
        out += c.code == MalformedUtf8 ? '?' : static_cast<char>(c.code - EscapeBase);
        i += c.length;
        runStart = i;
    }
    EncodePlainRun(toCp932, utf8.substr(runStart), out);
    return out;
}

long AnsiLen(std::string_view utf8)
{
    return static_cast<long>(ToCp932(utf8).size());
}

std::string AnsiMid(std::string_view utf8, long start, long length)
{
    const std::string bytes = ToCp932(utf8);
    const long size = static_cast<long>(bytes.size());
    if (length <= 0 || start > size) {
        return {};
    }
    // Bytes before the first one are not there to take; start + length cannot overflow when start < 1.
    const long first = std::max(start, 1L);
    const long wanted = start < 1 ? start + length - 1 : length;
    const long taken = std::min(wanted, size - first + 1);
    if (taken <= 0) {
        return {};
    }
    return FromCp932(
        std::string_view(bytes).substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(taken)));
}

} // namespace talik
