#include "THintTip.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QToolTip>

namespace {

constexpr int kRestMs = 500;
constexpr int kShowMs = 2500;
// Far enough down that the tip starts below the pointer's arrow.
constexpr int kBelowPointer = 20;

bool EndsTheHint(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::Wheel:
    case QEvent::ApplicationDeactivate:
        return true;
    default:
        return false;
    }
}

} // namespace

THintTipLabel::THintTipLabel(QWidget* owner)
    : QLabel(owner, Qt::ToolTip | Qt::BypassGraphicsProxyWidget)
{
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setMargin(1 + style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, this));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void THintTipLabel::paintEvent(QPaintEvent* event)
{
    QStylePainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    painter.drawPrimitive(QStyle::PE_PanelTipLabel, frame);
    painter.end();
    QLabel::paintEvent(event);
}

THintTip::THintTip(QWidget* control, const QString& hint)
    : QObject(control)
    , control(control)
    , hint(hint)
    , label(new THintTipLabel(control))
{
    restTimer.setSingleShot(true);
    restTimer.setTimerType(Qt::PreciseTimer);
    restTimer.setInterval(kRestMs);
    connect(&restTimer, &QTimer::timeout, this, &THintTip::Show);
    showTimer.setSingleShot(true);
    showTimer.setTimerType(Qt::PreciseTimer);
    showTimer.setInterval(kShowMs);
    connect(&showTimer, &QTimer::timeout, this, &THintTip::Hide);

    Watch(control);
    for (QWidget* child : control->findChildren<QWidget*>()) {
        if (!child->isWindow())
            Watch(child);
    }
}

void THintTip::SetHint(const QString& text)
{
    hint = text;
}

void THintTip::Watch(QWidget* widget)
{
    widget->installEventFilter(this);
    // A rest is only noticed if moves without a button held come in.
    widget->setMouseTracking(true);
}

bool THintTip::IsPartOfControl(QObject* object) const
{
    if (!object->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(object);
    return widget == control || (!widget->isWindow() && control->isAncestorOf(widget));
}

void THintTip::PointerEntered(const QPoint& globalPos)
{
    pointerInside = true;
    usedThisVisit = false;
    pointer = globalPos;
    // Keys and clicks anywhere end the hint, so watch the whole application during the visit.
    qApp->installEventFilter(this);
    restTimer.start();
}

void THintTip::PointerLeft()
{
    pointerInside = false;
    qApp->removeEventFilter(this);
    restTimer.stop();
    Hide();
}

void THintTip::PointerMoved(const QPoint& globalPos)
{
    pointer = globalPos;
    if (pointerInside && !usedThisVisit && !label->isVisible())
        restTimer.start();
}

void THintTip::EndForThisVisit()
{
    usedThisVisit = true;
    restTimer.stop();
    Hide();
}

void THintTip::Show()
{
    if (!pointerInside || usedThisVisit)
        return;
    usedThisVisit = true;
    label->setText(hint);
    label->adjustSize();
    label->move(TipPosition());
    label->show();
    showTimer.start();
}

void THintTip::Hide()
{
    showTimer.stop();
    label->hide();
}

QPoint THintTip::TipPosition() const
{
    QPoint pos(pointer.x(), pointer.y() + kBelowPointer);
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (screen == nullptr)
        screen = control->screen();
    if (screen == nullptr)
        return pos;
    // Keep the whole text on the screen; above the pointer when there is no room below.
    const QRect area = screen->availableGeometry();
    if (pos.x() + label->width() > area.right() + 1)
        pos.setX(area.right() + 1 - label->width());
    pos.setX(qMax(pos.x(), area.left()));
    if (pos.y() + label->height() > area.bottom() + 1)
        pos.setY(pointer.y() - label->height());
    return pos;
}

bool THintTip::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (EndsTheHint(type)) {
        if (pointerInside)
            EndForThisVisit();
        return false;
    }
    if (!IsPartOfControl(watched))
        return false;
    switch (type) {
    case QEvent::Enter:
        if (watched == control && !pointerInside)
            PointerEntered(static_cast<QEnterEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::Leave:
        if (watched == control)
            PointerLeft();
        break;
    case QEvent::MouseMove:
        PointerMoved(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        break;
    case QEvent::ChildPolished: {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType() && !static_cast<QWidget*>(child)->isWindow())
            Watch(static_cast<QWidget*>(child));
        break;
    }
    case QEvent::ToolTip:
        // The hint is this control's only tip; Qt's own would come on a timing of its own.
        return true;
    default:
        break;
    }
    return false;
}
