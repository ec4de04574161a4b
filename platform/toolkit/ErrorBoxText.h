// The text the error box shows for a failure's message.
#pragma once

#include <string>

// The message with "." appended when it is not empty and its last character's code is above
// that of "."; a multi-byte last character always counts as above.
std::string ErrorBoxText(const std::string& message);

// The one stderr line that carries a text for scripts: "title: text", with every line break
// in the text (a file name may hold one) written as "\n" or "\r", so it stays one line.
std::string ReportLineText(const std::string& title, const std::string& text);
