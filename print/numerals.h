#pragma once
// Numbers of an address or a name written in kanji, in the style the user chose.
#include <string>
#include <string_view>

namespace talik {

enum class NumeralStyle
{
    DigitByDigit, // "一二三": 10 -> 一〇
    Spoken,       // "十の位": 23 -> 二十三
    BlockWords,   // "丁目・番・号": 1-2-3 after a town -> 一丁目二番三号
};

// The captions of the styles, in the order of their stored numbers.
inline constexpr std::string_view NumeralStyleCaptions[] = {"一二三", "十の位", "丁目・番・号"};

// The style a stored number means; an unknown number means digit by digit.
NumeralStyle NumeralStyleOf(int stored);

// A number of up to four digits as it is read ("二千二十四"); longer numbers digit by digit.
std::string SpokenNumber(std::string_view digits);

// Every digit of the text in kanji in the style; a dash between two digits becomes "－" (it stands
// as a stroke in vertical text), while the long-vowel mark of katakana is left as it is.
std::string KanjiNumerals(std::string_view text, NumeralStyle style);

// Dashes between digits made "－", the katakana long-vowel mark left alone; digits kept.
std::string MarkNumberDashes(std::string_view text);

} // namespace talik
