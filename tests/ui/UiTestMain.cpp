// The window tests share one Qt application on the offscreen platform, made before any test.
#include <QApplication>

#include <cstdio>

#include <gtest/gtest.h>

namespace {

// Qt's notes on what the offscreen platform lacks would mix with the program's own stderr
// lines, which some tests read.
void DropQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    std::fputs((message.toStdString() + "\n").c_str(), stderr);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(DropQtNotes);
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
