// Windows-1252 text shown as UTF-8.
#pragma once

#include <string>
#include <string_view>

std::string cp1252_to_utf8(std::string_view bytes);
