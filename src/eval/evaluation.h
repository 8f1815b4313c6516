// SPDX-License-Identifier: MIT
#pragma once
// The evaluation behind the button "肥満度計算": from the weight and height
// texts to the three laid-out results and their band colours, or a refusal.

#include "eval/bands.h"

#include <string>
#include <string_view>
#include <variant>

namespace taiju {

struct Results {
    std::u16string standardWeight; // laid out as the window shows it
    std::u16string obesityDegree;  // laid out, in percent
    std::u16string bmi;            // laid out
    Colour obesityColour;          // the obesity degree's band colour
    Colour bmiColour;              // the BMI's band colour
    int obesityBand;               // 1 to 4, the legend's row of the obesity degree
    int bmiBand;                   // 1 to 4, the legend's row of the BMI
};

// Which box an out-of-range input came from.
enum class Box { Weight, Height };

struct Refusal {
    Box box;
    std::u16string message;
};

inline constexpr char16_t kInputErrorTitle[] = u"入力ミス";
inline constexpr char16_t kHeightMessage[] = u"メートル単位で入力してください(cf.1.65)";
inline constexpr char16_t kWeightMessage[] = u"キログラム単位で入力してください(cf65.5)";

// Checks the height first (0.5 to 2.5 m), then the weight (3 to 200 kg).
std::variant<Results, Refusal> evaluate(std::u16string_view weightText,
                                        std::u16string_view heightText);

// The 19-character stamp MM-DD-YYYY HH:MM:SS, in ASCII digits.
std::u16string dateStamp(int month, int day, int year, int hour, int minute, int second);

} // namespace taiju
