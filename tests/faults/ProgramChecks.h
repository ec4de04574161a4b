// What every run of the real program must show, whatever it was given: it ended by itself with
// status 0 and nothing on stderr, or with status 1 and one line that is one of its messages.
#pragma once

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "ProgramRun.h"

// The error box's texts that a picture can lead to, as stderr lines.
inline bool IsMessageLine(const std::string& line)
{
    static const std::regex known(
        "velmora: (JPEG エラー #[0-9]+|メモリが足りません|システム リソースが足りません"
        "|メモリストリームの拡大中にメモリが足りなくなりました|ストリームからの読み込みエラー"
        "|切り抜きサイズ -?[0-9]+ × -?[0-9]+ の画像は作成できません"
        "|ファイル [^\n]+ (は開けません|の色形式には対応していません|を作成できません|に書き込めません"
        "|の画像 [0-9]+ × [0-9]+ は大きすぎて扱えません))\\.\n");
    return std::regex_match(line, known);
}

// "velmora: " and the error box's text: the message with "." appended, as the messages that
// the tests expect all end in a character that gets one.
inline std::string ErrorLine(const std::string& message) { return "velmora: " + message + ".\n"; }

// Ended by itself: no crash, no hang, no kill.
inline testing::AssertionResult EndedByItself(const TRunResult& run)
{
    if (run.exited && (run.exitStatus == 0 || run.exitStatus == 1))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << run.Describe();
}

// Status 0 with a clean stderr, or status 1 with exactly one known message line.
inline testing::AssertionResult EndedCleanly(const TRunResult& run)
{
    if (!EndedByItself(run))
        return EndedByItself(run);
    if (run.exitStatus == 0 && run.err.empty())
        return testing::AssertionSuccess();
    if (run.exitStatus == 1 && IsMessageLine(run.err))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << run.Describe();
}
