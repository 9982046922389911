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

// An item size property: the I4 carries the size's unsigned 32 bits, so sizes of 2 GiB and more
// show whole rather than negative.
std::string SizeText(int32_t value);

}  // namespace ulmarsh
