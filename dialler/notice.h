#pragma once
// The dialler's one kind of dialog: a message with an OK button. Behind a seam so tests read the
// message instead of facing a modal box.
#include <string_view>

namespace talik::dialler {

class Notice
{
public:
    virtual ~Notice() = default;
    // Shows `text` and returns when the user has acknowledged it.
    virtual void show(std::string_view text) = 0;
};

} // namespace talik::dialler
