// What the toolkit keeps behind its public classes. Private to the toolkit and its tests.
#pragma once

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Layout.h"
#include "TControls.h"
#include "TForm.h"

class QComboBox;
class QLineEdit;

struct TControlImpl {
    std::string name;
    QPointer<QWidget> widget;
};

// The form's top-level window: a plain widget, so that Esc and Enter mean nothing to it.
class TFormWindow : public QWidget {
public:
    explicit TFormWindow(TForm& form);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    TForm& form;
};

struct TFormImpl {
    std::string layoutName;
    std::map<std::string, std::function<bool(TControl&)>> fields;
    std::map<std::string, TNotifyEvent> handlers;
    std::vector<std::unique_ptr<TControl>> controls;  // declared before the window: gone after it
    std::unique_ptr<TFormWindow> window;
    QPointer<QWidget> firstFocus;
    // Off while the window closes or goes away, so that no focus-leave event comes then.
    bool exitEventsOn = true;
};

// The widget behind a control or a form, for the toolkit and for tests that drive it.
inline QWidget* WidgetOf(const TControl& control) { return control.Impl().widget; }
inline QWidget* WindowOf(const TForm& form) { return form.Impl().window.get(); }
