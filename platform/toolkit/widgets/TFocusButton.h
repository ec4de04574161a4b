// A push button that is never a default button: Enter and Space press it only while it has the
// focus, and the arrow keys move the focus along the window's focus chain.
#pragma once

#include <QPushButton>

class TFocusButton : public QPushButton {
    Q_OBJECT
public:
    explicit TFocusButton(QWidget* parent = nullptr);
    explicit TFocusButton(const QString& text, QWidget* parent = nullptr);

signals:
    // The focus passed from this control to another control of the same window. It comes before
    // that control sees its focus, and not when the whole window loses or regains the focus, a
    // popup opens, or the window closes.
    void Exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
