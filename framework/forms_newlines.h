// Multi-line text boxes break lines only at CR LF; text from outside may use
// bare LF (or bare CR) line ends.
#pragma once

#include <string>

namespace forms {

std::string WithCrLf(const std::string& text);

}  // namespace forms
