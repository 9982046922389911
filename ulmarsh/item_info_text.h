// Text forms of the unzip control's item information.
#pragma once

#include <cstdint>
#include <string>

namespace ulmarsh {

// Compression method code as its ZIP method name; unknown codes give "Unknown".
const char* MethodName(int32_t code);

// Eight letters "adv shr*L" order; "-" for each clear bit.
std::string AttributeText(int32_t attributes);

const char* PathTypeText(int32_t pathType);

// Plain signed decimal: minus sign when negative, no padding or separators.
std::string DecimalText(int64_t value);

}  // namespace ulmarsh
