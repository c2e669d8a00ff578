#include "postal/postalentryform.h"

#include <QLineEdit>
#include <QPushButton>

#include "platform/installpaths.h"
#include "postal/postalentry.h"
#include "postal/postaltext.h"
#include "store/state.h"

namespace talik {
namespace {

QString Qs(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string Us(const QString& text)
{
    return text.toStdString();
}

} // namespace

PostalEntry::PostalEntry(QObject* parent, StoreState& state, const PostalEntryControls& controls, bool active)
    : QObject(parent), m_state(state), m_controls(controls), m_active(active)
{
    for (int slot = 0; slot < 2; ++slot) {
        QPushButton* toAddress = m_controls.toAddress[slot];
        QPushButton* toCode = m_controls.toCode[slot];
        toAddress->setEnabled(active);
        toCode->setEnabled(active);
        connect(toAddress, &QPushButton::clicked, this, [this, slot] { fillAddress(slot, true); });
        connect(toCode, &QPushButton::clicked, this, [this, slot] { fillCode(slot); });
    }
}

const PostalIndex* PostalEntry::index(bool tell)
{
    if (!m_opened) {
        m_opened = true;
        std::string path = FindPostalIndex(m_state.ProgramFolder, InstalledDataFolder(m_state.ProgramFolder));
        std::string error;
        m_index = path.empty() ? std::nullopt : PostalIndex::Open(path, error);
    }
    if (!m_index && tell) {
        m_state.ui.message(std::string(NoPostalIndexMessage), MessageIcon::Exclamation);
    }
    if (!m_index) {
        return nullptr;
    }
    return &*m_index;
}

void PostalEntry::codeLeft(QLineEdit* box)
{
    // The editor closing, or another window taken up, is no leaving of the box by the user: the
    // code waits (still marked changed) until the box is really left.
    if (!box->isVisible() || !box->window()->isActiveWindow()) {
        return;
    }
    for (int slot = 0; slot < 2; ++slot) {
        if (box == m_controls.codes[slot] && box->isModified()) {
            box->setModified(false);
            // A box left half-typed is not a code yet: nothing to say until the user asks.
            if (NormalizePostalCode(Us(box->text()))) {
                fillAddress(slot, false);
            }
        }
    }
}

std::optional<PostalPlace> PostalEntry::choose(const std::vector<PostalPlace>& places, const std::string& title)
{
    if (places.size() == 1) {
        return places.front();
    }
    std::optional<std::size_t> picked = m_state.ui.chooseItem(title, PostalChoiceLabels(places));
    if (!picked || *picked >= places.size()) {
        return std::nullopt;
    }
    return places[*picked];
}

bool PostalEntry::offer(QLineEdit* box, const std::string& text, const std::string& question)
{
    BoxOffer kind = OfferFor(Us(box->text()), text);
    if (kind == BoxOffer::Keep) {
        return true;
    }
    if (kind == BoxOffer::Ask && !m_state.ui.askYesNo(question, MessageIcon::Question)) {
        return false;
    }
    box->setText(Qs(text));
    return true;
}

void PostalEntry::offerCompany(const PostalPlace& place)
{
    QLineEdit* company = m_controls.company;
    if (Us(company->text()) == place.office) {
        return;
    }
    if (m_state.ui.askYesNo(CompanyQuestion(place.office), MessageIcon::Question)) {
        company->setText(Qs(place.office));
    }
}

void PostalEntry::fillAddress(int slot, bool fromButton)
{
    if (!m_active) {
        return;
    }
    std::optional<std::string> code = NormalizePostalCode(Us(m_controls.codes[slot]->text()));
    if (!code) {
        if (fromButton) {
            m_state.ui.message(std::string(BadPostalCodeMessage), MessageIcon::Exclamation);
        }
        return;
    }
    const PostalIndex* postal = index(fromButton);
    if (postal == nullptr) {
        return;
    }
    std::vector<PostalPlace> places = postal->byCode(*code);
    if (places.empty()) {
        if (fromButton) {
            m_state.ui.message(NoAddressMessage(HyphenatedPostalCode(*code)), MessageIcon::Exclamation);
        }
        return;
    }
    std::optional<PostalPlace> place = choose(places, std::string(PostalChoiceTitle));
    if (!place) {
        return;
    }
    bool placed = offer(m_controls.addresses[slot], place->address(), ReplaceAddressQuestion(place->address()));
    if (placed && place->isOffice()) {
        offerCompany(*place);
    }
}

void PostalEntry::fillCode(int slot)
{
    if (!m_active) {
        return;
    }
    std::string address = Us(m_controls.addresses[slot]->text());
    const PostalIndex* postal = index(true);
    if (postal == nullptr) {
        return;
    }
    std::vector<PostalPlace> places = postal->byAddress(address);
    if (places.empty()) {
        m_state.ui.message(NoCodeMessage(address), MessageIcon::Exclamation);
        return;
    }
    std::optional<PostalPlace> place = choose(places, std::string(PostalCodeChoiceTitle));
    if (!place) {
        return;
    }
    QLineEdit* box = m_controls.codes[slot];
    std::string code = HyphenatedPostalCode(place->code);
    std::optional<std::string> current = NormalizePostalCode(Us(box->text()));
    if (current == place->code) {
        return;
    }
    if (!box->text().trimmed().isEmpty() && !m_state.ui.askYesNo(ReplaceCodeQuestion(code), MessageIcon::Question)) {
        return;
    }
    box->setText(Qs(code));
}

} // namespace talik
