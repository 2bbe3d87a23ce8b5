// UTF-8 and UTF-16 conversion for the W functions of the platform.
#pragma once

#include <string>
#include <string_view>

// Invalid sequences become U+FFFD; use these for the program's own texts.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
