#pragma once
// Entry boxes that take only what the file they are stored in can give back.
#include <cstddef>

class QLineEdit;

namespace talik {

// Refuses every edit after which the box's text would need more than `bytes` bytes in CP932, or
// would hold a character CP932 lacks.
void LimitToCp932Bytes(QLineEdit* box, std::size_t bytes);
// Lets only digits, "-", "." and Backspace be typed into the box (editing keys still work).
void AcceptDigitKeysOnly(QLineEdit* box);
// The box selects its whole text whenever it gets the focus.
void SelectAllOnFocus(QLineEdit* box);

} // namespace talik
