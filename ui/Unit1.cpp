#include "Unit1.h"

#include <cstdint>
#include <vector>

#include "BatchRun.h"
#include "Display.h"
#include "IntegerText.h"
#include "Messages.h"
#include "PathRules.h"
#include "Process.h"
#include "Settings.h"
#include "TApplication.h"

TsumFrm* sumFrm = nullptr;

namespace {

constexpr std::int32_t kLowestCropSize = 0;
constexpr std::int32_t kHighestCropSize = 2048;

// The settings file beside the program's file, as the application names that file.
std::string SettingsFileOfProgram()
{
    return JoinPath(FolderPart(Application->ExeName()), NamePart(SettingsFilePath()));
}

// The batch run reads the window's fields afresh for every file it crops.
class TWindowSettings : public TCurrentSettings {
public:
    explicit TWindowSettings(const TsumFrm& form) : form(form) {}

    TCropTexts CropTexts() const override
    {
        return {form.xx->Text(), form.yy->Text(), form.sizeX->Text(), form.sizeY->Text()};
    }

    TNamingSettings Naming() const override
    {
        return {form.cbNM->Text(), form.cbFT->Text(), form.chkKOMOJI->Checked()};
    }

private:
    const TsumFrm& form;
};

TStoredSettings SettingsShownIn(const TsumFrm& form)
{
    TStoredSettings shown;
    shown.left = form.Left();
    shown.top = form.Top();
    shown.x = form.xx->Text();
    shown.y = form.yy->Text();
    shown.xx = form.sizeX->Text();
    shown.yy = form.sizeY->Text();
    shown.nameBottom = form.cbNM->Text();
    shown.nameTop = form.cbFT->Text();
    shown.komoji = form.chkKOMOJI->Checked();
    return shown;
}

}  // namespace

TsumFrm::TsumFrm() : TForm("Unit1.layout.json")
{
    Publish("Label1", Label1);
    Publish("Label2", Label2);
    Publish("Label3", Label3);
    Publish("Label4", Label4);
    Publish("Label6", Label6);
    Publish("Label7", Label7);
    Publish("xx", xx);
    Publish("yy", yy);
    Publish("sizeX", sizeX);
    Publish("sizeY", sizeY);
    Publish("cbNM", cbNM);
    Publish("cbFT", cbFT);
    Publish("chkKOMOJI", chkKOMOJI);
    Publish("Button1", Button1);
    Publish("FormCreate", &TsumFrm::FormCreate);
    Publish("Button1Click", &TsumFrm::Button1Click);
    Publish("sizeXExit", &TsumFrm::sizeXExit);
    Publish("sizeYExit", &TsumFrm::sizeYExit);
}

void TsumFrm::FormCreate(TObject* /*Sender*/)
{
    const TStoredSettings stored = ReadSettingsFrom(SettingsFileOfProgram(), Left(), Top());
    SetLeft(stored.left);
    SetTop(stored.top);
    xx->SetText(stored.x);
    yy->SetText(stored.y);
    sizeX->SetText(stored.xx);
    sizeY->SetText(stored.yy);
    cbNM->SetText(stored.nameBottom);
    cbFT->SetText(stored.nameTop);
    chkKOMOJI->SetChecked(stored.komoji);

    const std::vector<std::string> files = ProgramArguments();
    if (files.empty())
        return;
    std::vector<std::string> arguments{Application->ExeName()};
    arguments.insert(arguments.end(), files.begin(), files.end());
    RunBatch(arguments, TWindowSettings(*this), PaletteModeFor(DisplayColorBits()));
    Application->Terminate();
}

void TsumFrm::Button1Click(TObject* /*Sender*/)
{
    Application->ShowMessage(Messages::Instruction());
    WriteSettingsTo(SettingsFileOfProgram(), SettingsShownIn(*this));
    Application->Terminate();
}

void TsumFrm::sizeXExit(TObject* /*Sender*/) { CheckCropSize(*sizeX); }

void TsumFrm::sizeYExit(TObject* /*Sender*/) { CheckCropSize(*sizeY); }

bool TsumFrm::IsIntegerText(const std::string& text) const
{
    return ParseIntegerText(text).has_value();
}

void TsumFrm::CheckCropSize(TEdit& field) const
{
    if (!IsIntegerText(field.Text()))
        field.SetText(IntToStr(kLowestCropSize));
    else if (StrToInt(field.Text()) < kLowestCropSize)
        field.SetText(IntToStr(kLowestCropSize));
    if (StrToInt(field.Text()) > kHighestCropSize)
        field.SetText(IntToStr(kHighestCropSize));
}
