#pragma once
// The editor's postal code help: "〒→住所" (also when a changed code box is left) and "住所→〒" for
// each of the two addresses, with the company name offered for a large office's code.
#include <QObject>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "postal/postalindex.h"

class QLineEdit;
class QPushButton;

namespace talik {

struct StoreState;

struct PostalEntryControls
{
    std::array<QLineEdit*, 2> codes;
    std::array<QLineEdit*, 2> addresses;
    QLineEdit* company;
    std::array<QPushButton*, 2> toAddress; // "〒→住所"
    std::array<QPushButton*, 2> toCode;    // "住所→〒"
};

class PostalEntry : public QObject
{
    Q_OBJECT
public:
    // `active`: the editor changes a record (not shown only, not search conditions).
    PostalEntry(QObject* parent, StoreState& state, const PostalEntryControls& controls, bool active);

    // A code box was left (Tab, Enter or a click elsewhere): its address when the user changed it.
    void codeLeft(QLineEdit* box);
    // "〒→住所" of address `slot`. Only the button tells the user why nothing happens (no code, no
    // list, no place); a box left with such a code stays as it is without a word.
    void fillAddress(int slot, bool fromButton);
    // "住所→〒" of address `slot`.
    void fillCode(int slot);

private:
    // The index, mapped on first use and kept for the editor's life; `tell`: say so when it is missing.
    const PostalIndex* index(bool tell);
    std::optional<PostalPlace> choose(const std::vector<PostalPlace>& places, const std::string& title);
    // Puts `text` into `box` as OfferFor says: false when the user declined.
    bool offer(QLineEdit* box, const std::string& text, const std::string& question);
    void offerCompany(const PostalPlace& place);

    StoreState& m_state;
    PostalEntryControls m_controls;
    bool m_active;
    bool m_opened = false;
    std::optional<PostalIndex> m_index;
};

} // namespace talik
