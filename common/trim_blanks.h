// Removes leading and trailing space characters (only ' ', not tabs) in place.
#pragma once

#include <string>

void TrimBlanks(std::string& text);
void TrimBlanks(char* text);  // NUL-terminated buffer; null is ignored
