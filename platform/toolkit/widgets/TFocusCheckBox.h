// A two-state check box whose arrow keys move the focus along the window's focus chain.
#pragma once

#include <QCheckBox>

class TFocusCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TFocusCheckBox(QWidget* parent = nullptr);
    explicit TFocusCheckBox(const QString& text, QWidget* parent = nullptr);

signals:
    // The focus passed from this control to another control of the same window. It comes before
    // that control sees its focus, and not when the whole window loses or regains the focus, a
    // popup opens, or the window closes.
    void Exited();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};
