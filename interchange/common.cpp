#include "interchange/common.h"

#include <algorithm>
#include <cstdio>

#include "platform/codec.h"

namespace talik {

std::string_view WithoutBom(std::string_view file)
{
    return file.starts_with(Utf8Bom) ? file.substr(Utf8Bom.size()) : file;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return false;
    }
    bytes.clear();
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), in)) > 0) {
        bytes.append(buffer, got);
    }
    bool ok = std::ferror(in) == 0;
    std::fclose(in);
    return ok;
}

void PutBytes(std::span<char> field, std::string_view cp932)
{
    std::size_t keep = 0;
    while (keep < cp932.size()) {
        const std::size_t step = IsLeadByte(static_cast<unsigned char>(cp932[keep])) ? 2 : 1;
        if (keep + step > field.size() || keep + step > cp932.size()) {
            break;
        }
        keep += step;
    }
    std::copy_n(cp932.data(), keep, field.data());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(keep), field.end(), ' ');
}

} // namespace talik
