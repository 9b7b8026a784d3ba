// Does each static text of a window fit its control? Measured as the static control draws it:
// the control's own font (WM_GETFONT), DrawTextW with DT_WORDBREAK and DT_EXPANDTABS (DT_NOPREFIX
// where the control has SS_NOPREFIX, one line for SS_SIMPLE) against the control's client area.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace dxdesk {

struct TextClip {
    int control = 0;        // control identifier (-1 for none)
    int index = 0;          // place among the window's static texts, from 1
    SIZE box = {0, 0};      // the control's client area
    SIZE needed = {0, 0};   // what the text needs at the box's width
    std::wstring text;
    std::wstring hidden;    // the part that does not fit, from the first character not shown
};

struct TextFit {
    int measured = 0;            // static texts with something to show
    std::wstring font;           // face and height of the first one's font, as drawn
    std::vector<TextClip> clips;
};

// Every static text among the window's descendants. Line feeds and blanks at the end of a text
// draw nothing and are not counted against it.
TextFit MeasureStaticTexts(HWND window);

}  // namespace dxdesk
