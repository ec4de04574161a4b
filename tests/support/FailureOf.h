// The message a call fails with, for tests that compare the text the user would read.
#pragma once

#include <string>

// The message of the failure that the call throws as E, or a note that it threw nothing.
template <typename E, typename F>
std::string FailureOf(F&& call)
{
    try {
        call();
    } catch (const E& failure) {  // the message is what the test compares
        return failure.what();
    }
    return "(no failure)";
}
