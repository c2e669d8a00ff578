#pragma once
// The notice as a real message box.
#include "dialler/notice.h"

class QWidget;

namespace talik::dialler {

class QtNotice final : public Notice
{
public:
    // The box is shown over `owner` (may be null) and carries the window caption as its title.
    explicit QtNotice(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }
    void show(std::string_view text) override;

private:
    QWidget* m_owner;
};

} // namespace talik::dialler
