#include "app/commandinfo.h"

#include "app/startup.h"

namespace talik {

std::string Talik32Usage()
{
    return "使い方: talik32 [-NN]\n"
           "住所録を起動します。\n"
           "  -NN        モード番号 (00〜99、既定 00)。モードごとに設定ファイル QXSCH.INI の\n"
           "             別のセクション (\"System\"、\"System_NN\") を使い、別々に起動できます。\n"
           "             同じモードを二つ目に起動すると、先に起動したウィンドウが前に出ます。\n"
           "  --help     この説明を表示して終了\n"
           "  --version  版数を表示して終了\n"
           "設定ファイルは $TALIK_WINDIR、なければ ~/.config/talik にあります。\n";
}

std::string Talik32Version()
{
    return "talik32 (" + std::string(ProductName) + ") " + std::string(AppVersion) + "\n";
}

std::optional<std::string> CommandInfo(const std::vector<std::string>& args)
{
    for (const auto& arg : args) {
        if (arg == "--help") {
            return Talik32Usage();
        }
        if (arg == "--version") {
            return Talik32Version();
        }
    }
    return std::nullopt;
}

} // namespace talik
