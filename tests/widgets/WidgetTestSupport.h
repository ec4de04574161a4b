// Small helpers for driving the controls offscreen.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QString>
#include <QTest>
#include <QWidget>

// Shows the window and waits until it is the active one, so that focus changes behave as on a
// desktop.
inline bool ShowActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Types each character as a key press carrying that text, as a keyboard layout would deliver it;
// QTest::keyClicks only manages Latin-1.
inline void TypeText(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

// Sends a key to whatever receives keys now: an open popup, else the focus widget.
inline void PressKeyWhereFocused(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(static_cast<QWidget*>(nullptr), key, modifiers);
}

// The hint tip on screen, if one is.
inline QLabel* VisibleHintTip()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->windowType() == Qt::ToolTip && window->isVisible()) {
            if (auto* label = qobject_cast<QLabel*>(window))
                return label;
        }
    }
    return nullptr;
}

// Opens the edit's context menu and takes its paste entry; false when there is no such entry.
inline bool PasteByContextMenu(QWidget* edit)
{
    QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(2, 2), edit->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(edit, &request);
    QMenu* menu = edit->findChild<QMenu*>();
    if (menu == nullptr)
        return false;
    QAction* paste = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(QLatin1String("&Paste")))
            paste = action;
    }
    if (paste != nullptr)
        paste->trigger();
    menu->close();
    return paste != nullptr;
}
