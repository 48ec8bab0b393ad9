#pragma once
// Text fields of the record files are Windows-1252 on disk and UTF-8 in the program.

#include <string>
#include <string_view>

namespace engine {

std::string Cp1252ToUtf8(std::string_view bytes);
// Characters that Windows-1252 cannot hold become "?"; `lossless` (when given) tells whether
// every character could be kept.
std::string Utf8ToCp1252(std::string_view utf8, bool* lossless = nullptr);
bool FitsCp1252(std::string_view utf8);
// Windows-1252 bytes with the capital letters turned to small ones (A-Z, À-Þ but ×, Š Œ Ž Ÿ).
std::string LowerCp1252(std::string bytes);

}  // namespace engine
