#include "sync/conflictmerge.h"

#include <utility>

namespace talik {

namespace {

// "住 所 １" and "名　　前" as a table cell: "住所１", "名前".
std::string WithoutSpacing(const std::string& caption)
{
    std::string packed;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == ' ') {
            continue;
        }
        if (caption.compare(i, 3, "\u3000") == 0) {
            i += 2;
            continue;
        }
        packed += caption[i];
    }
    return packed;
}

} // namespace

std::string FieldCaption(const FieldCaptions& captions, std::string_view name)
{
    const std::string first = "（" + WithoutSpacing(captions.address1) + "）";
    const std::string second = "（" + WithoutSpacing(captions.address2) + "）";
    const std::pair<std::string_view, std::string> named[] = {
        {"KanaName", WithoutSpacing(captions.kana)},
        {"KanjiName", WithoutSpacing(captions.name)},
        {"EMail", WithoutSpacing(captions.email)},
        {"Address1", WithoutSpacing(captions.address1)},
        {"PostCode1", WithoutSpacing(captions.postCode1) + first},
        {"Tel1", "ＴＥＬ１" + first},
        {"Fax1", "ＴＥＬ２" + first},
        {"Address2", WithoutSpacing(captions.address2)},
        {"PostCode2", WithoutSpacing(captions.postCode2) + second},
        {"Tel2", "ＴＥＬ１" + second},
        {"Fax2", "ＴＥＬ２" + second},
        {"Company", WithoutSpacing(captions.company)},
        {"Department", WithoutSpacing(captions.department)},
        {"Remarks", WithoutSpacing(captions.remarks)},
        {"ClassCode", WithoutSpacing(captions.classCode)},
        {"Honorific", "敬称"},
        {"SenderChoice", "差出人"},
        {"RemarksExtra", "追加データ"},
        {"RelatedInfo", "関連情報"},
    };
    for (const auto& [field, caption] : named) {
        if (field == name) {
            return caption;
        }
    }
    return std::string(name);
}

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
