// A window built from its stored layout. A form class names its controls and handlers with
// Publish; the toolkit then builds the window, fills those fields and wires the events the
// layout names, and runs the creation event before the window is first shown.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "TControls.h"

struct TFormImpl;

class TForm : public TObject {
public:
    ~TForm() override;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // The outer window's top-left corner in screen pixels.
    int Left() const;
    int Top() const;
    void SetLeft(int left);
    void SetTop(int top);

    std::string Caption() const;
    bool Visible() const;

    // Closes the window as its close box does; the main form's closing ends the program.
    void Close();

    // Raised once the window and its controls exist, before the window is first shown.
    TNotifyEvent OnCreate;

    TFormImpl& Impl() const { return *impl; }

protected:
    // layoutName names the stored layout among the program's resources.
    explicit TForm(const std::string& layoutName);

    // Binds a field to the layout's control of that name once the window is built.
    template <class TControlClass>
    void Publish(const std::string& name, TControlClass*& field)
    {
        PublishField(name, [&field](TControl& control) {
            field = dynamic_cast<TControlClass*>(&control);
            return field != nullptr;
        });
    }

    // Makes a handler known under its name, for the layout's event wiring.
    template <class TFormClass>
    void Publish(const std::string& name, void (TFormClass::*handler)(TObject*))
    {
        TFormClass* self = static_cast<TFormClass*>(this);
        PublishHandler(name, [self, handler](TObject* sender) { (self->*handler)(sender); });
    }

private:
    friend class TApplication;

    void PublishField(const std::string& name, std::function<bool(TControl&)> bind);
    void PublishHandler(const std::string& name, TNotifyEvent handler);

    // Builds the window and its controls from the layout; throws when the layout and the
    // published names do not fit together.
    void Construct();
    void Show();

    std::unique_ptr<TFormImpl> impl;
};
