#include "FocusLeave_qt.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>

#include <map>

#include "TApplication.h"

namespace {

// A move of the focus inside the window; the others come from the window as a whole losing or
// regaining the focus (another window, a box, a popup list).
bool MovesWithinWindow(Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::MouseFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        return true;
    default:
        return false;
    }
}

class TFocusLeaveFilter : public QObject {
public:
    TFocusLeaveFilter(TFormImpl& impl, QObject* parent) : QObject(parent), impl(impl)
    {
        for (const auto& control : impl.controls) {
            QWidget* widget = WidgetOf(*control);
            owners[widget] = control.get();
            widget->installEventFilter(this);
            for (QWidget* inner : widget->findChildren<QWidget*>())
                inner->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut)
            FocusLeft(static_cast<QWidget*>(watched), static_cast<QFocusEvent*>(event)->reason());
        return false;
    }

private:
    // The control a widget belongs to, or nothing for a widget outside the form's controls.
    TControl* OwnerOf(QWidget* widget) const
    {
        for (QWidget* w = widget; w != nullptr && w != impl.window.get(); w = w->parentWidget()) {
            const auto found = owners.find(w);
            if (found != owners.end())
                return found->second;
        }
        return nullptr;
    }

    void FocusLeft(QWidget* widget, Qt::FocusReason reason)
    {
        if (!impl.exitEventsOn || !MovesWithinWindow(reason))
            return;
        // The application already names the widget that receives the focus.
        QWidget* next = QApplication::focusWidget();
        if (next == nullptr || next->window() != impl.window.get())
            return;
        TControl* left = OwnerOf(widget);
        TControl* entered = OwnerOf(next);
        if (left == nullptr || entered == nullptr || left == entered)
            return;
        if (left->OnExit)
            Application->HandleEvent(left->OnExit, left);
    }

    TFormImpl& impl;
    std::map<QWidget*, TControl*> owners;
};

}  // namespace

void InstallFocusLeaveEvents(TFormImpl& impl) { new TFocusLeaveFilter(impl, impl.window.get()); }
