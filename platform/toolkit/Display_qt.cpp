#include "Display.h"

#include <QGuiApplication>
#include <QScreen>

int DisplayColorBits()
{
    static const int bits = [] {
        const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                    ? QGuiApplication::primaryScreen()
                                    : nullptr;
        return screen ? screen->depth() : 24;
    }();
    return bits;
}
