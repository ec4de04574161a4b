// The text the error box shows for a failure's message.
#pragma once

#include <string>

// The message with "." appended when it is not empty and its last character's code is above
// that of "."; a multi-byte last character always counts as above.
std::string ErrorBoxText(const std::string& message);
