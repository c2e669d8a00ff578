#pragma once
// The number boxes of the small print dialogs: they take only backspace, "-", "." and the digits
// (editing and moving keys pass), and select their whole text when entered.
class QLineEdit;

namespace talik {

void MakeNumberBox(QLineEdit* box);

} // namespace talik
