#pragma once
// The text clipboard.
#include <string>

namespace platform {
void ClipboardClear();
void ClipboardSetText(const std::string& text);
std::string ClipboardText();
}  // namespace platform
