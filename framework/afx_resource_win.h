// Reading the program's own resources without fixed-size buffers.
#pragma once

#include <windows.h>
#include <cstddef>
#include <string>

std::string ModuleFileName(HMODULE module);
// String-table entry; empty when missing.
std::string LoadResourceString(HINSTANCE instance, UINT id);

// Bytes of a resource in the loaded module (they live as long as the module).
struct ResourceBytes {
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};
ResourceBytes FindResourceBytes(HINSTANCE instance, UINT id, const char* type);
