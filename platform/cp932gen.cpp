// Writes the C++ source of the tables of CP932: every lead/trail pair's UTF-8 form, as this system's
// iconv decodes the pair, and every character's CP932 bytes, as it encodes the character. The build
// runs it, so that no program has to ask iconv while it runs.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <string>

#include "platform/codec.h"
#include "platform/cp932table.h"
#include "platform/utf8.h"

namespace {

// The pair as one UTF-8 character of at most three bytes; empty when iconv does not decode it so.
std::string DecodePair(iconv_t toUtf8, unsigned char lead, unsigned char trail)
{
    char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    char out[8];
    char* inPtr = in;
    std::size_t inLeft = sizeof in;
    char* outPtr = out;
    std::size_t outLeft = sizeof out;
    iconv(toUtf8, nullptr, nullptr, nullptr, nullptr);
    if (iconv(toUtf8, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
        return {};
    }
    const auto length = static_cast<std::size_t>(outPtr - out);
    if (length == 0 || length > 3 || talik::ValidUtf8Length(std::string_view(out, length)) != length) {
        return {};
    }
    return std::string(out, length);
}

// The character's CP932 bytes as one number (a lone byte, or lead * 256 + trail); 0 when iconv does
// not encode it.
unsigned EncodeCharacter(iconv_t toCp932, char32_t code)
{
    std::string utf8;
    talik::AppendUtf8(utf8, code);
    char out[8];
    char* inPtr = utf8.data();
    std::size_t inLeft = utf8.size();
    char* outPtr = out;
    std::size_t outLeft = sizeof out;
    iconv(toCp932, nullptr, nullptr, nullptr, nullptr);
    if (iconv(toCp932, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
        return 0;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(out);
    switch (outPtr - out) {
    case 1:
        return bytes[0];
    case 2:
        return bytes[0] * 256u + bytes[1];
    default:
        return 0;
    }
}

std::string EncodingSource(iconv_t toCp932)
{
    std::string source = "const std::array<std::uint16_t, Cp932EncodedCount> Cp932Encodings = {{\n";
    for (char32_t code = 0; code < talik::Cp932EncodedCount; ++code) {
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        char entry[16];
        std::snprintf(entry, sizeof entry, "%u,%s", code < 0x80 || surrogate ? 0u : EncodeCharacter(toCp932, code),
                      code % 16 == 15 ? "\n" : "");
        source += entry;
    }
    return source + "}};\n\n";
}

void AppendEntry(std::string& source, const std::string& utf8)
{
    char entry[48];
    unsigned char b[3] = {};
    std::memcpy(b, utf8.data(), utf8.size());
    std::snprintf(entry, sizeof entry, "{{'\\x%02X','\\x%02X','\\x%02X'},%zu},\n", b[0], b[1], b[2], utf8.size());
    source += entry;
}

std::string TableSource(iconv_t toUtf8, iconv_t toCp932)
{
    std::string source = "// Made by cp932gen from this system's iconv: do not edit.\n"
                         "#include \"platform/cp932table.h\"\n\n"
                         "namespace talik {\n\n"
                         "const std::array<Utf8Unit, Cp932PairCount> Cp932Pairs = {{\n";
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!talik::IsLeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (unsigned trail = talik::Cp932TrailFirst; trail <= talik::Cp932TrailLast; ++trail) {
            AppendEntry(source,
                        DecodePair(toUtf8, static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)));
        }
    }
    return source + "}};\n\n" + EncodingSource(toCp932) + "} // namespace talik\n";
}

// Written beside and renamed into place: a build stopped halfway leaves no half a table.
bool WriteWhole(const std::string& path, const std::string& text)
{
    const std::string partial = path + ".partial";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written && std::rename(partial.c_str(), path.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp\n", argv[0]);
        return 2;
    }
    iconv_t toUtf8 = iconv_open("UTF-8", "CP932");
    iconv_t toCp932 = iconv_open("CP932", "UTF-8");
    if (toUtf8 == reinterpret_cast<iconv_t>(-1) || toCp932 == reinterpret_cast<iconv_t>(-1)) {
        std::fprintf(stderr, "cp932gen: iconv cannot convert CP932: %s\n", std::strerror(errno));
        return 1;
    }
    const std::string source = TableSource(toUtf8, toCp932);
    iconv_close(toUtf8);
    iconv_close(toCp932);
    if (!WriteWhole(argv[1], source)) {
        std::fprintf(stderr, "cp932gen: cannot write %s: %s\n", argv[1], std::strerror(errno));
        return 1;
    }
    return 0;
}
