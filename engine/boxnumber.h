#pragma once
// Numbers typed into the windows' boxes, read by one rule in every locale.
//
// A box's whole text, blanks around it allowed, must be one number in the box's form, or it is
// refused: nothing is read up to the first stray character. A "," is taken as the decimal point
// wherever a "." may stand, so that "2,5" typed on a German desktop is 2.5; a text holding both
// ("1,234.5") is ambiguous and refused. No exponent, no "inf" or "nan", no digit separators.

#include <optional>
#include <string>
#include <string_view>

namespace engine {

enum class NumberForm {
    // An optional sign and digits with at most one decimal point: "2.5", "-1,5", ",5", "+3".
    Decimal,
    // An optional sign and digits: "-1", "11".
    Whole,
    // Degrees, a point, minutes below 60 and, after a second point, decimals of a minute, then
    // the hemisphere letter in either case: "50.45.00N" (50 degrees 45 minutes), "50.3s"
    // (50 degrees 3 minutes south), "1,30W". South and west are negative.
    Latitude,
    Longitude,
};

// The number a box's text holds in its form; nothing when the text is anything else, or empty.
std::optional<double> ReadBoxNumber(std::string_view text, NumberForm form);
// The same for a box whose emptiness (blanks only) stands for a number: `empty`.
std::optional<double> ReadBoxNumber(std::string_view text, NumberForm form, double empty);

// What a box of the form takes, for a refusal: "a number such as 2.5 or -1,5".
std::string NumberFormText(NumberForm form);

// The refusal of a box's text, naming the box: "Z0 must be a number such as 2.5 or -1,5" (no
// full stop, so that a window may go on).
std::string NumberFormFault(std::string_view box, NumberForm form);

}  // namespace engine
