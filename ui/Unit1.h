// Unit1: the settings window, the program's only window. Its fields are the one store of the
// current settings; its handlers fill it at start, check the crop size fields as the focus
// leaves a number field, and save.
#pragma once

#include <string>

#include "TControls.h"
#include "TForm.h"

class TsumFrm : public TForm {
public:
    TsumFrm();

    // The controls, named as in the stored layout; the toolkit fills these fields.
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TEdit* xx = nullptr;     // horizontal start
    TEdit* yy = nullptr;     // vertical start
    TEdit* sizeX = nullptr;  // crop width
    TEdit* sizeY = nullptr;  // crop height
    TComboBox* cbNM = nullptr;  // suffix
    TComboBox* cbFT = nullptr;  // prefix
    TCheckBox* chkKOMOJI = nullptr;  // lower-case option
    TButton* Button1 = nullptr;      // save

    // Loads the settings into the window; with files to crop, crops them and ends the program.
    void FormCreate(TObject* Sender);
    // Shows the instruction, saves the nine settings as shown and ends the program.
    void Button1Click(TObject* Sender);
    // The crop size checks, each on its own field whichever control the focus left.
    void sizeXExit(TObject* Sender);
    void sizeYExit(TObject* Sender);

private:
    // True exactly for an integer text; the empty text is none.
    bool IsIntegerText(const std::string& text) const;
    // Brings the field to an integer text from 0 to 2048, reading it afresh at every step.
    void CheckCropSize(TEdit& field) const;
};

// The settings window, from the moment its construction begins.
extern TsumFrm* sumFrm;
