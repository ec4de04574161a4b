// The controls of a form as the program sees them: texts, states, positions and events.
// The toolkit creates them from a form's stored layout; program code only uses them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The common base of everything that can raise an event, so that a handler learns its sender.
class TObject {
public:
    virtual ~TObject() = default;
};

// An event handler; the sender is the object that raised the event.
using TNotifyEvent = std::function<void(TObject* sender)>;

struct TControlImpl;

// A control on a form. It belongs to its form, which outlives every use the program makes of it.
class TControl : public TObject {
public:
    ~TControl() override;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const std::string& Name() const;
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    // Raised when the keyboard focus passes from this control to another control of its form.
    TNotifyEvent OnExit;

    TControlImpl& Impl() const { return *impl; }

protected:
    explicit TControl(std::unique_ptr<TControlImpl> impl);

private:
    std::unique_ptr<TControlImpl> impl;
};

// A caption beside another control; it never takes the focus.
class TLabel : public TControl {
public:
    explicit TLabel(std::unique_ptr<TControlImpl> impl);
    std::string Caption() const;
};

// A single-line edit field. Setting the text from the program shows it whole and runs no handler.
class TEdit : public TControl {
public:
    explicit TEdit(std::unique_ptr<TControlImpl> impl);
    std::string Text() const;
    void SetText(const std::string& text);
};

// A drop-down list with an editable text part.
class TComboBox : public TControl {
public:
    explicit TComboBox(std::unique_ptr<TControlImpl> impl);
    std::string Text() const;
    void SetText(const std::string& text);
    std::vector<std::string> Items() const;
};

// A two-state check box.
class TCheckBox : public TControl {
public:
    explicit TCheckBox(std::unique_ptr<TControlImpl> impl);
    std::string Caption() const;
    bool Checked() const;
    void SetChecked(bool checked);
};

// A push button; OnClick runs when it is pressed.
class TButton : public TControl {
public:
    explicit TButton(std::unique_ptr<TControlImpl> impl);
    std::string Caption() const;
    TNotifyEvent OnClick;
};
