#include "print/drawfailure.h"

#include <string>
#include <string_view>

#include "listwin/appstate.h"

namespace talik {
namespace {

constexpr std::string_view PrinterProblem = "プリンタ、または、フォント設定に問題があります。";

} // namespace

bool DrawOrTell(PrintJob& job, const std::function<void()>& draw)
{
    try {
        if (job.target.preview != nullptr) {
            job.target.preview->clear();
        }
        draw();
        return true;
    } catch (const std::exception&) {
        job.state.ui.message(std::string(PrinterProblem), MessageIcon::None);
        return false;
    }
}

} // namespace talik
