#include "sync/conflictmerge.h"

namespace talik {

std::vector<ConflictField> Differences(const SyncConflict& conflict)
{
    std::vector<ConflictField> differences;
    for (const FieldInfo& field : AllFields()) {
        if (field.kind != FieldKind::Text) {
            continue;
        }
        std::string ours = FieldText(field, conflict.oursRec, conflict.oursExtra);
        std::string theirs = FieldText(field, conflict.theirsRec, conflict.theirsExtra);
        if (ours != theirs) {
            differences.push_back({&field, ours, theirs});
        }
    }
    return differences;
}

void MergeFields(const SyncConflict& conflict,
                 const std::vector<std::string>& takeTheirs,
                 AddressRecord& rec,
                 ExtraRecord& extra)
{
    rec = conflict.oursRec;
    extra = conflict.oursExtra;
    for (const std::string& name : takeTheirs) {
        const FieldInfo* field = FindField(name);
        if (field == nullptr) {
            continue;
        }
        if (field->kind == FieldKind::Text || field->kind == FieldKind::Flags) {
            SetFieldText(*field, rec, extra, FieldText(*field, conflict.theirsRec, conflict.theirsExtra));
        } else {
            SetFieldNumber(*field, rec, extra, FieldNumber(*field, conflict.theirsRec, conflict.theirsExtra));
        }
    }
}

} // namespace talik
