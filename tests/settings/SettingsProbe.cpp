// A helper that the settings tests run as another user: it saves the default settings into the
// file it is given and prints "ok", or the failure's message.
#include <iostream>

#include "Settings.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cout << "usage: settings_probe INI-PATH";
        return 0;
    }
    try {
        WriteSettingsTo(argv[1], TStoredSettings{});
        std::cout << "ok";
    } catch (const std::exception& failure) {  // the test that runs us reads the message
        std::cout << failure.what();
    }
    return 0;
}
