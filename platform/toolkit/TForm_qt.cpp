#include "TForm.h"

#include <QCloseEvent>
#include <QLineEdit>

#include "FormBuilder_qt.h"
#include "TApplication.h"
#include "ToolkitPrivate_qt.h"

TFormWindow::TFormWindow(TForm& form) : form(form) {}

void TFormWindow::closeEvent(QCloseEvent* event)
{
    form.Impl().exitEventsOn = false;
    event->accept();
    // Closing the main form ends the program; nothing else is asked or saved. The end itself
    // closes the windows too, and must not ask for a second end.
    if (Application != nullptr && Application->MainForm() == &form && !Application->Ending())
        Application->Terminate();
}

TForm::TForm(const std::string& layoutName) : impl(std::make_unique<TFormImpl>())
{
    impl->layoutName = layoutName;
}

TForm::~TForm()
{
    // The window goes first, taking its widgets; no event may reach a handler meanwhile.
    impl->exitEventsOn = false;
    impl->window.reset();
}

int TForm::Left() const { return impl->window->x(); }
int TForm::Top() const { return impl->window->y(); }
void TForm::SetLeft(int left) { impl->window->move(left, impl->window->y()); }
void TForm::SetTop(int top) { impl->window->move(impl->window->x(), top); }
std::string TForm::Caption() const { return impl->window->windowTitle().toStdString(); }
bool TForm::Visible() const { return impl->window->isVisible(); }
void TForm::Close() { impl->window->close(); }

void TForm::PublishField(const std::string& name, std::function<bool(TControl&)> bind)
{
    impl->fields[name] = std::move(bind);
}

void TForm::PublishHandler(const std::string& name, TNotifyEvent handler)
{
    impl->handlers[name] = std::move(handler);
}

void TForm::Construct() { BuildForm(*this, *impl, ReadStoredLayout(impl->layoutName)); }

void TForm::Show()
{
    // The first activation puts the focus into the first control of the focus order, with an
    // edit field's text selected as when it is entered by Tab.
    if (QWidget* first = impl->firstFocus) {
        first->setFocus(Qt::TabFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(first))
            edit->selectAll();
    }
    impl->window->show();
    if (Application != nullptr && Application->HasDisplay()) {
        impl->window->raise();
        impl->window->activateWindow();
    }
}
