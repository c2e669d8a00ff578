#pragma once
// Every field of an address by its name, for the programs and exports that address fields by name.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "store/record.h"

namespace talik {

enum class FieldKind
{
    Text,    // fixed-width text, read through CleanFixed
    Flags,   // fixed-width text whose positions matter (the check items): read uncut, untrimmed
    Long,    // 4-byte number
    Integer, // 2-byte number
};

struct FieldInfo
{
    std::string_view name;
    FieldKind kind;
    bool inExtra; // the field lives in the extra record
    std::size_t offset;
    std::size_t width;
};

// The fields of AddressRecord, then those of ExtraRecord, in their stored order (reserved bytes left out).
std::span<const FieldInfo> AllFields();
const FieldInfo* FindField(std::string_view name);

// A text field's value as shown (Text: cleaned; Flags: every position, NUL as blank).
std::string FieldText(const FieldInfo& field, const AddressRecord& rec, const ExtraRecord& extra);
// A number field's value as the program reads it (print options and phone kinds out of range -> 0).
long FieldNumber(const FieldInfo& field, const AddressRecord& rec, const ExtraRecord& extra);

void SetFieldText(const FieldInfo& field, AddressRecord& rec, ExtraRecord& extra, std::string_view utf8);
void SetFieldNumber(const FieldInfo& field, AddressRecord& rec, ExtraRecord& extra, long value);

} // namespace talik
