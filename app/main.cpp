#include <QApplication>

#include "Process.h"

int main(int argc, char** argv)
{
    InitProcess(argc, argv);
    QApplication application(argc, argv);
    return 0;
}
