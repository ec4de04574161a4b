// Runs the settings window in-process, as the program does, in a folder of the test's own:
// the program's file is taken to lie there, so velmora.ini is read and written there.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Process.h"
#include "TApplication.h"
#include "TestFiles.h"
#include "ToolkitPrivate_qt.h"
#include "ToolkitTesting.h"
#include "Unit1.h"

// The command line of a start without arguments, for an application object of a test's own; it
// must live as long as the application that was given it.
struct TBareCommandLine {
    TBareCommandLine() = default;
    TBareCommandLine(const TBareCommandLine&) = delete;
    TBareCommandLine& operator=(const TBareCommandLine&) = delete;

    int argc = 1;
    char name[8] = "velmora";
    char* argv[2] = {name, nullptr};
};

// One modal box as it was shown.
struct TBoxSeen {
    std::string title;
    std::string text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttonCount = 0;
    std::string firstButtonText;
    Qt::WindowModality modality = Qt::NonModal;
    QRect frame;         // where the box stood on the screen
    QRect screenArea;    // the available area of its screen
};

enum class TBoxAnswer { clickOk, pressEnter, pressEscape, closeBox };

// Answers every modal message box that opens while it lives, and keeps what each showed.
class TBoxAnswerer {
public:
    explicit TBoxAnswerer(TBoxAnswer answer = TBoxAnswer::clickOk) : answer(answer)
    {
        QObject::connect(&poll, &QTimer::timeout, [this] { AnswerOpenBox(); });
        poll.start(10);
    }

    std::vector<TBoxSeen> seen;
    // Runs while the box is open, before it is answered (to look at the window behind it).
    std::function<void()> whileOpen;

private:
    void AnswerOpenBox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        TBoxSeen shown;
        shown.title = box->windowTitle().toStdString();
        shown.text = box->text().toStdString();
        shown.icon = box->icon();
        shown.buttonCount = static_cast<int>(box->buttons().size());
        if (!box->buttons().isEmpty())
            shown.firstButtonText = box->buttons().first()->text().toStdString();
        shown.modality = box->windowModality();
        shown.frame = box->frameGeometry();
        shown.screenArea = box->screen()->availableGeometry();
        seen.push_back(shown);
        if (whileOpen)
            whileOpen();
        Answer(*box);
    }

    void Answer(QMessageBox& box)
    {
        switch (answer) {
        case TBoxAnswer::clickOk:
            QTest::mouseClick(box.buttons().first(), Qt::LeftButton);
            return;
        case TBoxAnswer::pressEnter:
            QTest::keyClick(&box, Qt::Key_Return);
            return;
        case TBoxAnswer::pressEscape:
            QTest::keyClick(&box, Qt::Key_Escape);
            return;
        case TBoxAnswer::closeBox:
            box.close();
            return;
        }
    }

    TBoxAnswer answer;
    QTimer poll;
};

// Collects what the code under test writes to stderr while it lives.
class TStderrCapture {
public:
    explicit TStderrCapture(const std::string& path) : path(path)
    {
        std::fflush(stderr);
        saved = dup(STDERR_FILENO);
        const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(file, STDERR_FILENO);
        close(file);
    }
    ~TStderrCapture() { Restore(); }
    TStderrCapture(const TStderrCapture&) = delete;
    TStderrCapture& operator=(const TStderrCapture&) = delete;

    std::string Text()
    {
        Restore();
        return ReadText(path);
    }

private:
    void Restore()
    {
        if (saved < 0)
            return;
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
        saved = -1;
    }

    std::string path;
    int saved = -1;
};

class TFormSession {
public:
    // files are the program's arguments; an ini text, when given, is the settings file.
    explicit TFormSession(const std::vector<std::string>& files = {}, const char* ini = nullptr)
    {
        if (ini != nullptr)
            WriteText(IniPath(), ini);
        SetExeNameForTests(dir / "velmora");
        std::vector<std::string> argv{dir / "velmora"};
        argv.insert(argv.end(), files.begin(), files.end());
        std::vector<char*> pointers;
        for (std::string& argument : argv)
            pointers.push_back(argument.data());
        InitProcess(static_cast<int>(pointers.size()), pointers.data());
        int argc = 1;
        application = std::make_unique<TApplication>(argc, pointers.data());
        application->Initialize();
        application->CreateForm(sumFrm);
        form = sumFrm;
    }

    ~TFormSession()
    {
        application.reset();
        sumFrm = nullptr;
        SetExeNameForTests(std::string());
        const char* none[] = {"velmora"};
        InitProcess(1, const_cast<char**>(none));
    }

    TFormSession(const TFormSession&) = delete;
    TFormSession& operator=(const TFormSession&) = delete;

    std::string IniPath() const { return dir / "velmora.ini"; }

    // Runs the event loop as the program does, with the script started once the window is
    // active. Returns the exit status, or -1 when the program had not ended after timeoutMs.
    int Run(const std::function<void()>& script = {}, int timeoutMs = 8000)
    {
        bool timedOut = false;
        QTimer::singleShot(0, Window(), [this, script] {
            if (!form->Visible())
                return;
            if (!QTest::qWaitForWindowActive(WindowOf(*form)))
                ADD_FAILURE() << "the window never became active";
            if (script)
                script();
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] {
            timedOut = true;
            if (QWidget* box = QApplication::activeModalWidget())
                box->close();
            QCoreApplication::quit();
        });
        watchdog.start(timeoutMs);
        const int status = application->Run();
        return timedOut ? -1 : status;
    }

    QWidget* Window() const { return WindowOf(*form); }
    static QWidget* Widget(const TControl* control) { return WidgetOf(*control); }
    static QWidget* Focused() { return QApplication::focusWidget(); }

    // The control whose widget (or a widget inside it) has the focus.
    bool HasFocus(const TControl* control) const
    {
        for (QWidget* w = Focused(); w != nullptr; w = w->parentWidget()) {
            if (w == Widget(control))
                return true;
        }
        return false;
    }

    static void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Focused(), key, modifiers);
    }

    static void Type(const char* text) { QTest::keyClicks(Focused(), QString::fromUtf8(text)); }

    static void Click(const TControl* control)
    {
        QTest::mouseClick(Widget(control), Qt::LeftButton);
    }

    TTempDir dir;
    std::unique_ptr<TApplication> application;
    TsumFrm* form = nullptr;
};
