// Numbers in the ";"-separated data files: the text of a double as the
// export writes it, and the readers of a double and of a 32-bit integer as
// the import takes them.
//
// A double is written with at most 15 significant digits, without trailing
// zeros and without a trailing decimal separator, and without grouping. 0 and
// magnitudes from 0.00001 up to below 1E15 are written in fixed notation
// ("1234.5", "0.00001", "-0.5"); any other magnitude as a mantissa, "E", a
// "-" only for a negative exponent and the exponent without leading zeros
// ("1E15", "1.5E-6", "-2.5E20"). Negative zero is written "0". NaN and the
// infinities have no text: the export refuses them.
//
// The readers take exactly one number, nothing around it (no blanks). The
// double reader takes a sign, digits with at most one decimal separator and
// an exponent "E" or "e" with an optional sign, so it reads the writer's
// forms and C's ("1e+15", "1e-05"); it refuses an empty text, NaN, the
// infinities, the other separator ("1.5" under ",") and a value beyond the
// range of a double. The separator is the one of platform/numberformat.h
// unless one is passed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace books::exchange {

// The text of `value` with `separator` ("." or ","); nullopt for NaN and
// the infinities.
std::optional<std::string> FormatExportNumber(double value, char separator);
std::optional<std::string> FormatExportNumber(double value);

// The double in `text`, read with `separator`; nullopt when the text is no
// number in the forms above.
std::optional<double> ReadExportNumber(std::string_view text, char separator);
std::optional<double> ReadExportNumber(std::string_view text);

// The 32-bit integer in `text`: an optional sign and decimal digits, within
// the range of the type; nullopt otherwise.
std::optional<std::int32_t> ReadExportInteger(std::string_view text);

}  // namespace books::exchange
