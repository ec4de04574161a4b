// The application object: one per process. It owns the forms, runs the event loop, takes the
// end request and shows every failure that leaves a handler in the error box.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TForm.h"

struct TApplicationImpl;

class TApplication {
public:
    // Starts the toolkit on the system's display, or without one when none can be reached.
    // A process that already made its own Qt application object (the tests) is taken as
    // having a display.
    TApplication(int& argc, char** argv);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Reads what must be known before any window exists (the display's colour depth).
    void Initialize();

    // Creates a form: reference designates it from before its construction on and is cleared
    // again if the construction fails. The creation event runs before this returns; the first
    // form created becomes the main form once its creation event has returned.
    template <class TFormClass>
    void CreateForm(TFormClass*& reference)
    {
        auto form = std::make_unique<TFormClass>();
        reference = form.get();
        AdoptForm(std::move(form), [&reference] { reference = nullptr; });
    }

    // Shows the main form, then handles events until the end request is taken. The result is
    // the exit status: 1 when a failure left the main form's creation event, else 0.
    int Run();

    // The end request: a quit queued behind the events already waiting. Returns at once.
    void Terminate();

    std::string Title() const;
    // The full path of the program's own file.
    std::string ExeName() const;
    bool HasDisplay() const;
    // True once the end request has been taken and the program is ending.
    bool Ending() const;
    TForm* MainForm() const;

    // The error box: the message with the closing "." rule, also written to stderr as one
    // line. Without a display only the line is written.
    void ShowException(const std::string& message);
    // The modal information box with one OK button.
    void ShowMessage(const std::string& text);
    // Writes "title: text" to stderr as one line.
    void ReportLine(const std::string& text);

    // Runs a handler; a failure that leaves it goes to the error box. False after a failure.
    bool HandleEvent(const TNotifyEvent& handler, TObject* sender);

private:
    void AdoptForm(std::unique_ptr<TForm> form, const std::function<void()>& clearReference);

    std::unique_ptr<TApplicationImpl> impl;
};

// The one application object, while it exists.
extern TApplication* Application;
