// A two-state check box whose arrow keys move the focus along the window's focus chain.
#pragma once

#include <QCheckBox>

class TFocusCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit TFocusCheckBox(QWidget* parent = nullptr);
    explicit TFocusCheckBox(const QString& text, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
