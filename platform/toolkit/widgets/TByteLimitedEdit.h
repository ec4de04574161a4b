// A single-line edit field whose length limit counts bytes of the ANSI code page and binds only
// what the user enters; text set by the program shows whole.
#pragma once

#include <QLineEdit>

class TByteLimitedEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TByteLimitedEdit(QWidget* parent = nullptr);

    // 0 means no limit. Typing, pasting, dropping and input-method commits stop at the limit;
    // setText() and deleting are never refused.
    void SetByteLimit(int bytes);
    int ByteLimit() const { return byteLimit; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The part of an insertion that fits when replacedBytes of the text give way to it: whole
    // characters, up to the first line break.
    QString FittingPart(const QString& insertion, int replacedBytes) const;
    void PasteWithinLimit(bool fromMouseSelection);

    int byteLimit = 0;
    bool leftWithWindow = false;
};
