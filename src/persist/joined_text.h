#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

// The parts as one text. One call, where a chain of + inlines a string copy and its clean-up
// at every step: the log's lines stay small in the shipped .asi.
std::string joined(std::initializer_list<std::string_view> parts);
