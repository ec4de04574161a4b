// The program entry: start the toolkit, create the settings window (whose creation handler
// does a batch run when files were given), and run the event loop until the end request.
#include "Messages.h"
#include "Process.h"
#include "TApplication.h"
#include "Unit1.h"

namespace {

// Exit status when there is neither a display for the window nor a file to crop.
constexpr int kNoDisplayStatus = 2;

}  // namespace

int main(int argc, char** argv)
{
    InitProcess(argc, argv);
    TApplication application(argc, argv);
    if (!application.HasDisplay() && ProgramArguments().empty()) {
        application.ReportLine(Messages::NeedsDisplay());
        return kNoDisplayStatus;
    }
    application.Initialize();
    application.CreateForm(sumFrm);
    return application.Run();
}
