// The stored layout of a form as plain data: window properties, controls and event wiring.
#pragma once

#include <map>
#include <string>
#include <vector>

struct TLayoutControl {
    std::string name;
    std::string kind;  // TLabel, TEdit, TComboBox, TCheckBox or TButton
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string caption;             // labels, the check box and the button
    std::vector<std::string> items;  // combo box lists, in their order
    int tabOrder = -1;               // -1: not in the focus order
    int maxLength = 0;               // bytes; 0: no limit
    std::string hint;
    bool showHint = false;
    bool autoSize = false;
    std::map<std::string, std::string> events;  // event name to handler name
};

struct TLayoutForm {
    std::string name;
    std::string className;
    std::string caption;
    int left = 0;
    int top = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    std::vector<std::string> fontFamilies;  // the first that is installed is taken
    int fontPixelSize = 12;
    int layoutTextHeight = 12;  // the text height the positions and sizes were made for
    bool showHint = false;
    std::map<std::string, std::string> events;
    std::vector<TLayoutControl> controls;
};

// Reads the layout stored among the program's resources under that name; throws
// std::logic_error when it is missing or malformed, which only a broken build can cause.
TLayoutForm ReadStoredLayout(const std::string& layoutName);
