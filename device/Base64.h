#pragma once

#include <cstddef>
#include <string>

// RFC 4648 standard alphabet, "=" padding, no line breaks.
std::string Base64Encode(const unsigned char* bytes, std::size_t count);
std::string Base64Encode(const std::string& bytes);
