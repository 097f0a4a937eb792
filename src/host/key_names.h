#pragma once
#include <cstdint>
#include <string>

// A Windows virtual-key code as the key reads on a keyboard: "Numpad 5", "Page Up", "F7", "A".
// Codes a keyboard may send under another name from layout to layout (punctuation, the OEM
// keys) read as "key code N".
std::string keyName(std::uint32_t code);
