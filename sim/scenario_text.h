#pragma once
// Reading a scenario's lines and the texts its commands carry.
#include <string>
#include <vector>

bool readWholeFile(const std::string& path, std::string& text);
// The lines of a text, without their line ends.
std::vector<std::string> linesOf(const std::string& text);
std::vector<std::string> readLines(const std::string& path, bool& ok);
std::string trim(const std::string& text);
std::string firstWord(const std::string& line);
// The words after the first n words, as written (spaces inside kept).
std::string restAfterWords(const std::string& line, int n);
// \n as a line end.
std::string unescapeNewlines(const std::string& text);
// \r, \n, \t, \\ and \xHH as the bytes they name; anything else as written.
std::string unescapeBytes(const std::string& text);
// The other way: bytes as unescapeBytes reads them, every byte outside printable ASCII named.
std::string escapeBytes(const std::string& bytes);
