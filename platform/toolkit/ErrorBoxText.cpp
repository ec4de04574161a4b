#include "ErrorBoxText.h"

std::string ErrorBoxText(const std::string& message)
{
    if (message.empty())
        return message;
    // Every byte of a multi-byte character is above 127, so its last byte decides as well.
    const unsigned char last = static_cast<unsigned char>(message.back());
    return last > '.' ? message + "." : message;
}

std::string ReportLineText(const std::string& title, const std::string& text)
{
    std::string line = title + ": ";
    for (const char c : text) {
        if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else
            line += c;
    }
    return line + "\n";
}
