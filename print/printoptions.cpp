#include "print/printoptions.h"

#include "store/record.h"

namespace talik {

RecordPrintChoices UnpackPrintOptions(int value)
{
    if (value < 0 || value > 11111) {
        value = 0;
    }
    auto digit = [value](int place) { return (value / place) % 10 != 0; };
    RecordPrintChoices choices;
    choices.honorificOnlyAfterLast = digit(10000);
    choices.noHonorific = digit(1000);
    choices.address2 = digit(100);
    choices.company = digit(10);
    choices.department = digit(1);
    return choices;
}

int PackPrintOptions(const RecordPrintChoices& c)
{
    return (c.honorificOnlyAfterLast ? 10000 : 0) + (c.noHonorific ? 1000 : 0) + (c.address2 ? 100 : 0) +
           (c.company ? 10 : 0) + (c.department ? 1 : 0);
}

RecordPrintChoices ReadPrintChoices(const AddressRecord& rec)
{
    RecordPrintChoices choices = UnpackPrintOptions(GetInteger(rec.PrintOptions));
    choices.honorific = GetText(rec.Honorific);
    if (choices.honorific.empty()) {
        choices.honorific = DefaultHonorific;
    }
    choices.secondSender = rec.SenderChoice[0] == '1';
    return choices;
}

void WritePrintChoices(const RecordPrintChoices& choices, AddressRecord& rec)
{
    SetInteger(rec.PrintOptions, static_cast<std::int16_t>(PackPrintOptions(choices)));
    SetText(rec.Honorific, CleanFixed(choices.honorific));
    rec.SenderChoice[0] = choices.secondSender ? '1' : '0';
}

std::string PrintSettingsTitle(const AddressRecord& rec)
{
    return "印刷設定：" + GetText(rec.KanjiName);
}

} // namespace talik
