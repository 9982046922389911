// Forced into every Windows object. libstdc++ declares its std::string instantiation extern,
// so any use links its whole prebuilt copy, one section for all members (about 60 KB with
// unwind tables). Without the declaration each object instantiates just the members it
// uses, one section each, and the shipped link keeps only those.
#pragma once
#ifdef __cplusplus
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
// -1: no extern std::string instantiation; the library's other extern templates stay.
#define _GLIBCXX_EXTERN_TEMPLATE -1
#endif
