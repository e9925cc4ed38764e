// The two countdown lines shown while the engine is on.
#pragma once

#include <cstdint>
#include <string>

std::wstring FormatNextKeyText(uint64_t remainingMs);
std::wstring FormatAutoDeactivateText(int64_t now);
// The switch-off line for a given switch-off time; deactivateAt 0 means none.
std::wstring FormatDeactivateLine(int64_t deactivateAt, int64_t now);
