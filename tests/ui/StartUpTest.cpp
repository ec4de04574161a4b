// The start of the program: the order of the window's creation, the settings it loads, the
// layout it is built from, and the batch run that ends by itself or leaves the window open.
#include <QImage>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <stdexcept>

#include "FormSession.h"

namespace {

// A form over the same layout that records what its creation handler could see.
class TProbeForm : public TForm {
public:
    TProbeForm() : TForm("Unit1.layout.json")
    {
        Publish("xx", xx);
        Publish("Button1", Button1);
        Publish("FormCreate", &TProbeForm::FormCreate);
        Publish("Button1Click", &TProbeForm::Ignore);
        Publish("sizeXExit", &TProbeForm::Ignore);
        Publish("sizeYExit", &TProbeForm::Ignore);
    }

    void FormCreate(TObject* sender)
    {
        ran = true;
        senderWasForm = sender == this;
        controlsExisted = xx != nullptr && Button1 != nullptr && WidgetOf(*xx) != nullptr;
        referenceSet = probeReference == this;
        mainFormSet = Application->MainForm() != nullptr;
        visible = Visible();
        if (failInCreate)
            throw std::runtime_error("creation failed");
    }
    void Ignore(TObject*) {}

    TEdit* xx = nullptr;
    TButton* Button1 = nullptr;
    bool ran = false;
    bool senderWasForm = false;
    bool controlsExisted = false;
    bool referenceSet = false;
    bool mainFormSet = true;
    bool visible = true;

    static TProbeForm* probeReference;
    static bool failInCreate;
};

TProbeForm* TProbeForm::probeReference = nullptr;
bool TProbeForm::failInCreate = false;

// A form whose field has no control of that name in the layout.
class TMisfitForm : public TForm {
public:
    TMisfitForm() : TForm("Unit1.layout.json") { Publish("noSuchControl", field); }
    TEdit* field = nullptr;
};

// A form over a layout of the tests' own, made for a text height of 12 and shown at 18.
class TScaledForm : public TForm {
public:
    TScaledForm() : TForm("Scaled.layout.json") { Publish("field", field); }
    TEdit* field = nullptr;
};

void WriteJpeg(const std::string& path, int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(40, 120, 200));
    ASSERT_TRUE(picture.save(QString::fromStdString(path), "JPG"));
}

}  // namespace

TEST(CreationOrder, ControlsExistWhenTheCreationHandlerRunsAndTheMainFormFollowsIt)
{
    TBareCommandLine commandLine;
    TApplication application(commandLine.argc, commandLine.argv);
    application.CreateForm(TProbeForm::probeReference);
    TProbeForm* form = TProbeForm::probeReference;
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->ran);
    EXPECT_TRUE(form->senderWasForm);
    EXPECT_TRUE(form->controlsExisted);
    EXPECT_TRUE(form->referenceSet);
    EXPECT_FALSE(form->mainFormSet);
    EXPECT_FALSE(form->visible);
    EXPECT_EQ(application.MainForm(), form);
    TProbeForm::probeReference = nullptr;
}

TEST(CreationOrder, AFailedConstructionClearsTheReference)
{
    TBareCommandLine commandLine;
    TApplication application(commandLine.argc, commandLine.argv);
    TMisfitForm* reference = nullptr;
    EXPECT_THROW(application.CreateForm(reference), std::logic_error);
    EXPECT_EQ(reference, nullptr);
    EXPECT_EQ(application.MainForm(), nullptr);
}

TEST(CreationOrder, AFailingCreationHandlerIsShownAndTheFormStillBecomesTheMainForm)
{
    TBareCommandLine commandLine;
    TApplication application(commandLine.argc, commandLine.argv);
    TBoxAnswerer answerer;
    TProbeForm::failInCreate = true;
    application.CreateForm(TProbeForm::probeReference);
    TProbeForm::failInCreate = false;
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text, "creation failed.");
    EXPECT_EQ(application.MainForm(), TProbeForm::probeReference);
    TProbeForm::probeReference = nullptr;
}

TEST(StoredLayout, AFontThatRendersLargerScalesTheWindowAndEveryControlTogether)
{
    TBareCommandLine commandLine;
    TApplication application(commandLine.argc, commandLine.argv);
    TScaledForm* form = nullptr;
    application.CreateForm(form);
    ASSERT_NE(form, nullptr);
    // Made for a text height of 12, shown in a font of 18 pixels: one and a half times.
    EXPECT_EQ(WindowOf(*form)->size(), QSize(150, 90));
    EXPECT_EQ(WidgetOf(*form->field)->geometry(), QRect(12, 6, 60, 30));
}

TEST(LoadedSettings, WithoutASettingsFileTheWindowShowsTheDefaults)
{
    TFormSession session;
    TsumFrm& form = *session.form;
    EXPECT_EQ(form.Left(), 205);
    EXPECT_EQ(form.Top(), 126);
    EXPECT_EQ(form.xx->Text(), "0");
    EXPECT_EQ(form.yy->Text(), "0");
    EXPECT_EQ(form.sizeX->Text(), "100");
    EXPECT_EQ(form.sizeY->Text(), "100");
    EXPECT_EQ(form.cbNM->Text(), "_x");
    EXPECT_EQ(form.cbFT->Text(), "");
    EXPECT_FALSE(form.chkKOMOJI->Checked());
    EXPECT_FALSE(FileExists(session.IniPath()));
}

TEST(LoadedSettings, TheSettingsFileFillsEveryFieldAndThePositionWithLongTextsShownWhole)
{
    TFormSession session({}, "[main]\nleft=-300\ntop=4000\nx=12\ny=  7\nxx=12345\nyy=abc\n"
                             "name_bottom=_long\nname_top=写真\nkomoji=1\n");
    TsumFrm& form = *session.form;
    EXPECT_EQ(form.Left(), -300);
    EXPECT_EQ(form.Top(), 4000);
    EXPECT_EQ(form.xx->Text(), "12");
    EXPECT_EQ(form.sizeX->Text(), "12345");
    EXPECT_EQ(form.sizeY->Text(), "abc");
    EXPECT_EQ(form.cbNM->Text(), "_long");
    EXPECT_EQ(form.cbFT->Text(), "写真");
    EXPECT_TRUE(form.chkKOMOJI->Checked());
}

TEST(StoredLayout, TheWindowAndItsControlsStandWhereTheLayoutPutsThem)
{
    TFormSession session;
    QWidget* window = session.Window();
    EXPECT_EQ(window->windowTitle().toStdString(), "velmora");
    EXPECT_EQ(window->size(), QSize(144, 235));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);

    const TsumFrm& form = *session.form;
    const struct {
        const TControl* control;
        QRect geometry;
    } placed[] = {
        {form.xx, {76, 8, 57, 20}},        {form.yy, {76, 32, 57, 20}},
        {form.sizeX, {76, 64, 57, 20}},    {form.sizeY, {76, 88, 57, 20}},
        {form.cbNM, {76, 120, 57, 20}},    {form.cbFT, {76, 144, 57, 20}},
        {form.chkKOMOJI, {12, 180, 105, 17}}, {form.Button1, {8, 208, 113, 21}},
    };
    for (const auto& row : placed) {
        SCOPED_TRACE(row.control->Name());
        EXPECT_EQ(TFormSession::Widget(row.control)->geometry(), row.geometry);
    }
}

TEST(StoredLayout, CaptionsAndListsAreTheLayoutsOwn)
{
    TFormSession session;
    const TsumFrm& form = *session.form;
    const struct {
        const TLabel* label;
        const char* caption;
        int top;
    } labels[] = {
        {form.Label3, "横開始", 12},   {form.Label4, "縦開始", 36},     {form.Label1, "切抜横幅", 68},
        {form.Label6, "切抜縦幅", 92}, {form.Label2, "末尾付加名", 124}, {form.Label7, "先頭付加名", 148},
    };
    for (const auto& row : labels) {
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(row.label->Caption(), row.caption);
        EXPECT_EQ(row.label->Left(), 8);
        EXPECT_EQ(row.label->Top(), row.top);
        EXPECT_EQ(TFormSession::Widget(row.label)->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_EQ(form.chkKOMOJI->Caption(), "小文字統一");
    EXPECT_EQ(form.Button1->Caption(), "設定完了＆保存");
    EXPECT_EQ(form.cbNM->Items(), (std::vector<std::string>{"_x", "0", "_0", "_1"}));
    EXPECT_EQ(form.cbFT->Items(), (std::vector<std::string>{"", "img", "pic"}));
}

TEST(StartWithFiles, CropsTheFilesWithTheLoadedSettingsAndEndsByItself)
{
    TTempDir pictures;
    WriteJpeg(pictures / "IMG_1.JPG", 64, 48);
    WriteJpeg(pictures / "two.jpg", 64, 48);
    WriteText(pictures / "notes.txt", "not a picture");
    TFormSession session({pictures / "IMG_1.JPG", pictures / "notes.txt", pictures / "two.jpg"},
                         "[main]\nxx=20\nyy=10\nname_bottom=_c\nname_top=p\n");
    EXPECT_EQ(session.Run(), 0);
    const QImage first(QString::fromStdString(pictures / "pIMG_1_c.jpg"));
    EXPECT_EQ(first.size(), QSize(20, 10));
    EXPECT_EQ(QImage(QString::fromStdString(pictures / "ptwo_c.jpg")).size(), QSize(20, 10));
    EXPECT_FALSE(FileExists(pictures / "pnotes_c.jpg"));
}

TEST(StartWithFiles, AFailureIsShownThenTheWindowStaysWithTheSettingsAsLoaded)
{
    TTempDir pictures;
    WriteJpeg(pictures / "a.jpg", 32, 32);
    WriteText(pictures / "b.jpg", "this is no JPEG data");
    WriteJpeg(pictures / "c.jpg", 32, 32);
    // The box opens while the window is being created, so its answerer comes first.
    TBoxAnswerer answerer;
    TFormSession session({pictures / "a.jpg", pictures / "b.jpg", pictures / "c.jpg"},
                         "[main]\nxx=16\nyy=16\n");
    bool stayed = false;
    const int status = session.Run([&] {
        QTest::qWait(100);
        stayed = session.form->Visible() && session.form->sizeX->Text() == "16";
        session.form->Close();
    });
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(answerer.seen.size(), 1u);
    // Not a JPEG file: the library's message code 52.
    EXPECT_EQ(answerer.seen[0].text, "JPEG エラー #52.");
    EXPECT_TRUE(FileExists(pictures / "a_x.jpg"));
    EXPECT_FALSE(FileExists(pictures / "c_x.jpg"));
}

TEST(StartWithFiles, SavingAfterAFailedRunStillEndsWithTheFailureStatus)
{
    TTempDir pictures;
    WriteText(pictures / "b.jpg", "this is no JPEG data");
    TBoxAnswerer answerer;
    TFormSession session({pictures / "b.jpg"});
    const int status = session.Run([&] {
        session.form->sizeX->SetText("64");
        TFormSession::Click(session.form->Button1);
    });
    EXPECT_EQ(status, 1);
    EXPECT_EQ(answerer.seen.size(), 2u);
    EXPECT_NE(ReadText(session.IniPath()).find("\nxx=64\n"), std::string::npos);
}

TEST(StartWithFiles, ANumberFieldThatIsNoIntegerTextStopsTheRun)
{
    TTempDir pictures;
    WriteJpeg(pictures / "a.jpg", 32, 32);
    TBoxAnswerer answerer;
    TFormSession session({pictures / "a.jpg"}, "[main]\nxx=abc\n");
    EXPECT_EQ(session.Run([&] { session.form->Close(); }), 1);
    ASSERT_EQ(answerer.seen.size(), 1u);
    EXPECT_EQ(answerer.seen[0].text, "'abc' は整数ではありません.");
    EXPECT_FALSE(FileExists(pictures / "a_x.jpg"));
}

TEST(StartWithoutFiles, WithoutFilesTheWindowStaysUntilClosedAndNothingIsWritten)
{
    TFormSession session;
    bool shown = false;
    const int status = session.Run([&] {
        QTest::qWait(50);
        shown = session.form->Visible();
        session.form->Close();
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(FileExists(session.IniPath()));
}
