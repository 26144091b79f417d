#pragma once

#include <string>

// Encodes a user-typed value for a command URL query: letters and digits
// stay, space becomes "+", every other byte "%XX" in upper-case hex.
std::string EncodeParameter(const std::string& text);
