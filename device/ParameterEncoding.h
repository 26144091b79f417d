#pragma once

#include <string>

// Encodes a user-typed value for a command URL query: letters and digits
// stay, space becomes "+", every other byte "%XX" in upper-case hex.
std::string EncodeParameter(const std::string& text);

// A typed value that goes into a command URL otherwise as it is: only the
// bytes that would end it or change another parameter ("&", "#", "%", "+")
// become "%XX", so a value can never add or change a parameter.
std::string KeepParameterWhole(const std::string& text);
