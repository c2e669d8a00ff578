#include "dbadmin/dbpassword.h"

#include "platform/codec.h"
#include "store/headerupdate.h"
#include "store/record.h"
#include "store/state.h"

namespace talik {

std::optional<std::string> PasswordProblem(const std::string& password)
{
    for (unsigned char c : password) {
        if (c < 0x20 || c == 0x7F) {
            return "パスワードに制御文字は使えません。";
        }
    }
    if (FromCp932(ToCp932(password)) != password) {
        return "パスワードに使えない文字が含まれています。";
    }
    if (AnsiLen(password) > PasswordMaxBytes) {
        return "パスワードは半角" + std::to_string(PasswordMaxBytes) + "文字（全角" +
               std::to_string(PasswordMaxBytes / 2) + "文字）以内で入力してください。";
    }
    return std::nullopt;
}

bool SetDatabasePassword(StoreState& state, const std::string& password)
{
    if (auto problem = PasswordProblem(password)) {
        state.ui.message(*problem, MessageIcon::Exclamation);
        return false;
    }
    auto header = UpdateMainHeader(state, [&](MainHeader& onDisk) {
        // A file emptied or of the earlier layout since the load gets its header as opening makes it.
        BringUpHeader(onDisk);
        SetPassword(onDisk, password, state.clock.now().second % 10);
    });
    if (!header) {
        return false;
    }
    state.Header = *header;
    return true;
}

} // namespace talik
