// The hint tip of one control: its timers, its state for the current visit of the pointer and
// the tip window itself.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

// A plain label in the system's tool-tip look, shown as a tool-tip window.
class THintTipLabel : public QLabel {
    Q_OBJECT
public:
    explicit THintTipLabel(QWidget* owner);

protected:
    void paintEvent(QPaintEvent* event) override;
};

class THintTip : public QObject {
    Q_OBJECT
public:
    // Belongs to the control, and watches it and its child widgets.
    THintTip(QWidget* control, const QString& hint);

    void SetHint(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch(QWidget* widget);
    bool IsPartOfControl(QObject* object) const;
    void PointerEntered(const QPoint& globalPos);
    void PointerLeft();
    void PointerMoved(const QPoint& globalPos);
    void EndForThisVisit();
    void Show();
    void Hide();
    QPoint TipPosition() const;

    QWidget* control;
    QString hint;
    THintTipLabel* label;
    QTimer restTimer;
    QTimer showTimer;
    QPoint pointer;
    bool pointerInside = false;
    bool usedThisVisit = false;
};
