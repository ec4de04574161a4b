#include "TApplication.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

#include "AppTitle.h"
#include "Display.h"
#include "DisplayProbe.h"
#include "ErrorBoxText.h"
#include "Process.h"
#include "ToolkitPrivate_qt.h"
#include "ToolkitTesting.h"

TApplication* Application = nullptr;

namespace {

std::string& ExeNameOverride()
{
    static std::string path;
    return path;
}

// Picks the Qt platform before Qt starts: the environment's own choice stands; otherwise a
// session without a reachable display runs offscreen, where Qt would abort. Offscreen also
// follows the display's own platform, in case Qt still cannot open what answered the probe.
void ChooseQtPlatform(TDisplayKind display)
{
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    if (chosen != nullptr && chosen[0] != '\0')
        return;
    switch (display) {
    case TDisplayKind::X11:
        qputenv("QT_QPA_PLATFORM", "xcb;offscreen");
        return;
    case TDisplayKind::Wayland:
        qputenv("QT_QPA_PLATFORM", "wayland;offscreen");
        return;
    case TDisplayKind::None:
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return;
    }
}

// Qt's own notes and warnings are for developers; the program's stderr carries only its lines.
void KeepQtNotesQuiet(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    std::fputs((message.toStdString() + "\n").c_str(), stderr);
}

bool IsHeadlessPlatform(const QString& name)
{
    return name == QLatin1String("offscreen") || name == QLatin1String("minimal");
}

}  // namespace

void SetExeNameForTests(const std::string& path) { ExeNameOverride() = path; }

struct TApplicationImpl {
    // The arguments are file names for the program, never options for Qt, so Qt sees only
    // the program's name.
    int qtArgc = 1;
    char* qtArgv[2] = {nullptr, nullptr};
    std::unique_ptr<QApplication> ownQtApplication;  // before the forms: it outlives them
    std::vector<std::unique_ptr<TForm>> forms;
    TForm* mainForm = nullptr;
    bool hasDisplay = true;
    bool creationFailed = false;
    // Set when the end request is taken: Qt then closes the windows itself.
    bool ending = false;
    // Receives the end requests, so that a request still queued dies with the application.
    QObject endRequests;
};

TApplication::TApplication(int& argc, char** argv) : impl(std::make_unique<TApplicationImpl>())
{
    if (QCoreApplication::instance() == nullptr) {
        const TDisplayProbe display;
        ChooseQtPlatform(display.Kind());
        qInstallMessageHandler(KeepQtNotesQuiet);
        impl->qtArgv[0] = argc > 0 ? argv[0] : const_cast<char*>("velmora");
        impl->ownQtApplication = std::make_unique<QApplication>(impl->qtArgc, impl->qtArgv);
        impl->hasDisplay = !IsHeadlessPlatform(QGuiApplication::platformName());
    }
    // The end of the program is the end request alone, made when the main form closes.
    QApplication::setQuitOnLastWindowClosed(false);
    Application = this;
}

TApplication::~TApplication()
{
    impl->forms.clear();
    Application = nullptr;
}

void TApplication::Initialize()
{
    // The display's colour depth is read once, before any window exists.
    DisplayColorBits();
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form, const std::function<void()>& clearReference)
{
    try {
        form->Construct();
    } catch (...) {
        // Only to clear the reference to the form that never came to be; the failure goes on.
        clearReference();
        throw;
    }
    TForm* created = form.get();
    impl->forms.push_back(std::move(form));
    const bool createdWell = !created->OnCreate || HandleEvent(created->OnCreate, created);
    if (impl->mainForm == nullptr) {
        impl->creationFailed = !createdWell;
        impl->mainForm = created;
    }
}

int TApplication::Run()
{
    if (impl->mainForm != nullptr)
        impl->mainForm->Show();
    // Without a display nobody can use the window, so the program ends after what is waiting.
    if (!impl->hasDisplay)
        Terminate();
    impl->ending = false;
    QApplication::exec();
    return impl->creationFailed ? 1 : 0;
}

void TApplication::Terminate()
{
    TApplicationImpl* state = impl.get();
    QMetaObject::invokeMethod(
        &impl->endRequests,
        [state] {
            state->ending = true;
            QCoreApplication::quit();
        },
        Qt::QueuedConnection);
}

std::string TApplication::Title() const { return ApplicationTitle(ExeName()); }

std::string TApplication::ExeName() const
{
    return ExeNameOverride().empty() ? ProgramFilePath() : ExeNameOverride();
}

bool TApplication::HasDisplay() const { return impl->hasDisplay; }
bool TApplication::Ending() const { return impl->ending; }
TForm* TApplication::MainForm() const { return impl->mainForm; }

void TApplication::ReportLine(const std::string& text)
{
    std::fputs(ReportLineText(Title(), text).c_str(), stderr);
    std::fflush(stderr);
}

void TApplication::ShowException(const std::string& message)
{
    const std::string text = ErrorBoxText(message);
    ReportLine(text);
    if (!impl->hasDisplay)
        return;
    // Owned by the application, not by a window: it also shows while no window is visible.
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(Title()), QString::fromStdString(text),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void TApplication::ShowMessage(const std::string& text)
{
    if (!impl->hasDisplay)
        return;
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(Title()), QString::fromStdString(text),
                    QMessageBox::Ok);
    // Enter, Esc and the close box all answer the one button.
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    if (impl->mainForm != nullptr)
        box.setScreen(WindowOf(*impl->mainForm)->screen());
    box.exec();
}

bool TApplication::HandleEvent(const TNotifyEvent& handler, TObject* sender)
{
    // The one place where a failure leaving a handler is caught: it goes to the error box and
    // never into Qt's own code.
    try {
        handler(sender);
        return true;
    } catch (const std::exception& failure) {
        ShowException(failure.what());
    } catch (...) {
        ShowException(std::string());
    }
    return false;
}
