#include "textfit.h"

#include <cwchar>

#include "desktop.h"

namespace dxdesk {

static BOOL CALLBACK CollectChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(child);
    return TRUE;
}

// The flags with which a static control draws its text; false for statics without text
// (pictures, frames, owner-drawn) and for other classes.
static bool StaticTextFlags(HWND control, UINT *drawFlags)
{
    wchar_t name[32] = L"";
    GetClassNameW(control, name, 32);
    if (_wcsicmp(name, L"Static") != 0)
        return false;
    LONG style = GetWindowLongW(control, GWL_STYLE);
    UINT flags = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
        flags |= DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        break;
    case SS_SIMPLE:
        flags |= DT_SINGLELINE;
        break;
    default:
        return false;
    }
    if (style & SS_NOPREFIX)
        flags |= DT_NOPREFIX;
    *drawFlags = flags;
    return true;
}

// What `text` needs when drawn `width` pixels wide with the flags, in the DC's font.
static SIZE Needed(HDC dc, const std::wstring &text, LONG width, UINT flags)
{
    RECT rect = {0, 0, width, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &rect, flags | DT_CALCRECT);
    return SIZE{rect.right, rect.bottom};
}

TextFit MeasureStaticTexts(HWND window)
{
    TextFit fit;
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    int index = 0;
    for (HWND control : children) {
        UINT flags = 0;
        if (!StaticTextFlags(control, &flags))
            continue;
        index++;
        std::wstring text = WindowText(control);
        std::wstring shown = text;
        while (!shown.empty() && (shown.back() == L'\n' || shown.back() == L'\r' || shown.back() == L' '))
            shown.pop_back();
        if (shown.empty())
            continue;
        fit.measured++;
        RECT client;
        GetClientRect(control, &client);
        HDC dc = GetDC(control);
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
        HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
        if (fit.font.empty()) {
            wchar_t face[LF_FACESIZE] = L"";
            GetTextFaceW(dc, LF_FACESIZE, face);
            TEXTMETRICW metrics = {};
            GetTextMetricsW(dc, &metrics);
            wchar_t line[LF_FACESIZE + 32];
            swprintf(line, LF_FACESIZE + 32, L"%ls, %ld px", face, metrics.tmHeight);
            fit.font = line;
        }
        SIZE needed = Needed(dc, shown, client.right, flags);
        if (needed.cx > client.right || needed.cy > client.bottom) {
            TextClip clip;
            int id = GetDlgCtrlID(control);
            clip.control = id == 0xFFFF ? -1 : id;
            clip.index = index;
            clip.box = SIZE{client.right, client.bottom};
            clip.needed = needed;
            clip.text = text;
            // The longest beginning that fits; the rest is what the reader never sees.
            size_t low = 0, high = shown.size();
            while (low < high) {
                size_t middle = (low + high + 1) / 2;
                SIZE part = Needed(dc, shown.substr(0, middle), client.right, flags);
                if (part.cy <= client.bottom && part.cx <= client.right)
                    low = middle;
                else
                    high = middle - 1;
            }
            clip.hidden = shown.substr(low);
            fit.clips.push_back(clip);
        }
        SelectObject(dc, old);
        ReleaseDC(control, dc);
    }
    return fit;
}

}  // namespace dxdesk
