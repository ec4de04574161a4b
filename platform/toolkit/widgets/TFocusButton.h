// A push button that is never a default button: Enter and Space press it only while it has the
// focus, and the arrow keys move the focus along the window's focus chain.
#pragma once

#include <QPushButton>

class TFocusButton : public QPushButton {
    Q_OBJECT
public:
    explicit TFocusButton(QWidget* parent = nullptr);
    explicit TFocusButton(const QString& text, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
