#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace terravue {

// Texts kept in the model and the settings (labels, comment, company, location) are Latin-1,
// one byte per character, so fixed widths and right-justification stay exact. The front ends
// and the console speak UTF-8.

// Nothing when the text is not valid UTF-8 or holds a character outside Latin-1.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);
std::string Latin1ToUtf8(std::string_view latin1);
// Characters in a UTF-8 text (bytes that continue a character are not counted).
std::size_t Utf8Length(std::string_view utf8);

}  // namespace terravue
