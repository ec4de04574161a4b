// An editable drop-down combo box with a byte-limited text part and list completion: a typed
// character completes the text to the first list entry that begins with it, the added rest
// selected.
#pragma once

#include <QComboBox>
#include <QStringList>

class TByteLimitedEdit;

class TCompletingComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TCompletingComboBox(QWidget* parent = nullptr);

    // 0 means no limit; it binds typing and pasting into the text part only.
    void SetByteLimit(int bytes);
    // Replaces the list, kept in the given order; an empty entry is allowed. The text stays.
    void SetItems(const QStringList& items);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool CompleteTypedText(const QString& typed);
    bool CloseListOnKey(QEvent* event);

    TByteLimitedEdit* edit;
};
