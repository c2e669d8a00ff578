#include "store/fields.h"

#include <cstring>

#include "platform/codec.h"

namespace talik {
namespace {

#define TALIK_MAIN_FIELD(name, kind)                                                                                   \
    {                                                                                                                  \
#name, kind, false, offsetof(AddressRecord, name), sizeof(AddressRecord::name)                                 \
    }
#define TALIK_EXTRA_FIELD(name)                                                                                        \
    {                                                                                                                  \
#name, FieldKind::Text, true, offsetof(ExtraRecord, name), sizeof(ExtraRecord::name)                           \
    }

constexpr FieldInfo Fields[] = {
    TALIK_MAIN_FIELD(KanaName, FieldKind::Text),
    TALIK_MAIN_FIELD(KanjiName, FieldKind::Text),
    TALIK_MAIN_FIELD(EMail, FieldKind::Text),
    TALIK_MAIN_FIELD(Address1, FieldKind::Text),
    TALIK_MAIN_FIELD(PostCode1, FieldKind::Text),
    TALIK_MAIN_FIELD(Tel1, FieldKind::Text),
    TALIK_MAIN_FIELD(Fax1, FieldKind::Text),
    TALIK_MAIN_FIELD(Address2, FieldKind::Text),
    TALIK_MAIN_FIELD(PostCode2, FieldKind::Text),
    TALIK_MAIN_FIELD(Tel2, FieldKind::Text),
    TALIK_MAIN_FIELD(Fax2, FieldKind::Text),
    TALIK_MAIN_FIELD(Birthday, FieldKind::Long),
    TALIK_MAIN_FIELD(PrintOptions, FieldKind::Integer),
    TALIK_MAIN_FIELD(Company, FieldKind::Text),
    TALIK_MAIN_FIELD(Department, FieldKind::Text),
    TALIK_MAIN_FIELD(Remarks, FieldKind::Text),
    TALIK_MAIN_FIELD(CheckItems, FieldKind::Flags),
    TALIK_MAIN_FIELD(ClassCode, FieldKind::Text),
    TALIK_MAIN_FIELD(Honorific, FieldKind::Text),
    TALIK_MAIN_FIELD(PhoneKinds, FieldKind::Integer),
    TALIK_MAIN_FIELD(SenderChoice, FieldKind::Text),
    TALIK_EXTRA_FIELD(RemarksExtra),
    TALIK_EXTRA_FIELD(RelatedInfo),
};

#undef TALIK_MAIN_FIELD
#undef TALIK_EXTRA_FIELD

const char* FieldBytes(const FieldInfo& field, const AddressRecord& rec, const ExtraRecord& extra)
{
    const char* base = field.inExtra ? reinterpret_cast<const char*>(&extra) : reinterpret_cast<const char*>(&rec);
    return base + field.offset;
}

char* FieldBytes(const FieldInfo& field, AddressRecord& rec, ExtraRecord& extra)
{
    char* base = field.inExtra ? reinterpret_cast<char*>(&extra) : reinterpret_cast<char*>(&rec);
    return base + field.offset;
}

} // namespace

std::span<const FieldInfo> AllFields()
{
    return Fields;
}

const FieldInfo* FindField(std::string_view name)
{
    for (const auto& field : Fields) {
        if (field.name == name) {
            return &field;
        }
    }
    return nullptr;
}

std::string FieldText(const FieldInfo& field, const AddressRecord& rec, const ExtraRecord& extra)
{
    std::string_view bytes(FieldBytes(field, rec, extra), field.width);
    if (field.kind == FieldKind::Flags) {
        std::string positions(bytes);
        for (char& c : positions) {
            c = c == '\0' ? ' ' : c;
        }
        return FromCp932(positions);
    }
    return FromCp932(CleanFixedBytes(bytes));
}

long FieldNumber(const FieldInfo& field, const AddressRecord& rec, const ExtraRecord& extra)
{
    if (field.name == "PrintOptions") {
        return PrintOptionsValue(rec);
    }
    if (field.name == "PhoneKinds") {
        return PhoneKindsValue(rec);
    }
    const char* bytes = FieldBytes(field, rec, extra);
    if (field.kind == FieldKind::Long) {
        return GetLong(*reinterpret_cast<const LongField*>(bytes));
    }
    return GetInteger(*reinterpret_cast<const IntegerField*>(bytes));
}

void SetFieldText(const FieldInfo& field, AddressRecord& rec, ExtraRecord& extra, std::string_view utf8)
{
    SetText(std::span<char>(FieldBytes(field, rec, extra), field.width), utf8);
}

void SetFieldNumber(const FieldInfo& field, AddressRecord& rec, ExtraRecord& extra, long value)
{
    char* bytes = FieldBytes(field, rec, extra);
    if (field.kind == FieldKind::Long) {
        SetLong(*reinterpret_cast<LongField*>(bytes), static_cast<std::int32_t>(value));
    } else {
        SetInteger(*reinterpret_cast<IntegerField*>(bytes), static_cast<std::int16_t>(value));
    }
}

} // namespace talik
