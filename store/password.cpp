#include "store/record.h"

#include <cstring>

#include "platform/codec.h"

namespace talik {
namespace {

constexpr std::size_t PasswordDigitRoom = sizeof(MainHeader::PasswordField) - 2;

char HexDigit(int value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

int HexValue(char digit)
{
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    return digit - 'A' + 10;
}

// The hexadecimal digits of each character's CP932 code, one character after the other. A
// single-byte code always takes two digits so that the pairs can be read back.
std::string HexDigitsOf(std::string_view password)
{
    std::string cp932 = ToCp932(password);
    std::string digits;
    for (unsigned char b : cp932) {
        digits += HexDigit(b >> 4);
        digits += HexDigit(b);
    }
    return digits;
}

} // namespace

std::string EncodePassword(std::string_view password, int secondsUnits)
{
    std::string digits = HexDigitsOf(password).substr(0, PasswordDigitRoom);
    std::string stored;
    stored += static_cast<char>(secondsUnits);
    stored += static_cast<char>(digits.size());
    for (char d : digits) {
        stored += static_cast<char>(HexValue(d) + secondsUnits);
    }
    return stored;
}

std::string DecodePassword(std::span<const char> passwordField)
{
    if (passwordField.size() < 2) {
        return {};
    }
    auto k = static_cast<unsigned char>(passwordField[0]);
    std::size_t n = std::min<std::size_t>(static_cast<unsigned char>(passwordField[1]), passwordField.size() - 2);
    std::string bytes;
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        int high = (static_cast<unsigned char>(passwordField[2 + i]) - k) & 0xF;
        int low = (static_cast<unsigned char>(passwordField[3 + i]) - k) & 0xF;
        bytes += static_cast<char>((high << 4) | low);
    }
    return FromCp932(bytes);
}

bool HasPassword(std::span<const char> passwordField)
{
    return passwordField.size() >= 2 && passwordField[1] != '\0';
}

void SetPassword(MainHeader& header, std::string_view password, int secondsUnits)
{
    std::memset(header.PasswordField, ' ', sizeof(header.PasswordField));
    if (password.empty()) {
        header.PasswordField[0] = '\0';
        header.PasswordField[1] = '\0';
        return;
    }
    std::string stored = EncodePassword(password, secondsUnits);
    std::memcpy(header.PasswordField, stored.data(), stored.size());
}

} // namespace talik
