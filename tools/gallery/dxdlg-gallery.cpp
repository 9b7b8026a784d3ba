// dxdlg-gallery: opens every dialog that dxdlg.dll can show, captures each real window from the
// screen into a PNG file, measures every static text against its control, and writes a contact
// sheet (index.html) and a text-fit report (textfit.txt) into one folder.
//
//   dxdlg-gallery.exe [--only TEXT] [--scales DPI,DPI...] [FOLDER]      (default: gallery)
//
// The duplex dialog is shown in both layouts and both passes, the second with each of its two
// pictures, in each of its language columns. The manual-feed slot dialog and the three notices are opened with every language
// identifier that some selection names; identical dialogs are shown once, labelled with every
// identifier that opens them, so each template that an export can reach appears once.
//
// A process keeps the DPI it was started with, so with --scales the gallery runs itself once
// per DPI, each run on a desktop of its own and capturing into a folder of its own (FOLDER\96,
// FOLDER\144...) where it lists what it saw in shots.tsv; it then writes one contact sheet that
// switches between the scales, and one report for them all. The screen of each desktop is
// 1024 x 768 scaled by DPI / 96: the X display must be as large (2048 x 1536 for 192 DPI).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "desktop.h"
#include "dxdlg.h"
#include "languages.h"
#include "resource.h"
#include "textfit.h"

namespace {

// ---- Text ----

std::string Utf8(const std::wstring &text)
{
    if (text.empty())
        return std::string();
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring WideFromUtf8(const std::string &text)
{
    if (text.empty())
        return std::wstring();
    int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &out[0], size);
    return out;
}

// One line, with line feeds shown as the reader would type them.
std::string OneLine(const std::wstring &text)
{
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n')
            out += L"\\n";
        else if (c == L'\r')
            out += L"\\r";
        else
            out += c;
    }
    return Utf8(out);
}

std::string Html(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string LanguageLabel(WORD id)
{
    const dxdesk::Language *language = dxdesk::FindLanguage(id);
    char text[96];
    snprintf(text, sizeof(text), "%s %u", language ? language->name : "?", unsigned(id));
    return text;
}

// ---- What one dialog showed ----

struct Shot {
    std::string group;          // section of the contact sheet
    std::string file;           // PNG file name in the folder
    std::string label;          // language column or identifiers
    std::vector<WORD> languages;
    std::wstring caption;
    std::wstring key;           // what makes two dialogs the same picture
    long result = 0;
    SIZE size = {0, 0};
    int statics = 0;            // static texts measured
    std::wstring font;          // the face that the dialog's texts are drawn in
    bool captionControl = false;  // the caption holds a line feed or another control character,
                                  // which the single-line caption draws as a box
    std::vector<dxdesk::TextClip> clips;
    // What a screen reader says of the dialog and of each text, button and picture in it: the
    // role and the accessibility layer's name, in the order of the controls.
    std::vector<std::pair<std::string, std::wstring>> spoken;
    bool saved = false;
};

// Whether the shot is of the message that a call from the spooler sends in the dialog's place.
bool IsMessage(const Shot &shot)
{
    return shot.file.compare(0, 8, "message-") == 0;
}

struct Group {
    const char *key;
    const char *title;
    const char *note;
};

const Group kGroups[] = {
    {"duplex-cassette-0", "Manual duplex dialog: cassette, first pass (pass code 0)",
     "OpenDuplexDlg with dmDefaultSource 14 (cassette), portrait, once per language column."},
    {"duplex-cassette-1", "Manual duplex dialog: cassette, second pass (pass code 1)",
     "OpenDuplexDlg with dmDefaultSource 14 (cassette), portrait, once per language column: "
     "the sheets upside down."},
    {"duplex-cassette-3", "Manual duplex dialog: cassette, second pass (pass code 3)",
     "OpenDuplexDlg with dmDefaultSource 14 (cassette), portrait, once per language column: "
     "the sheets right way up."},
    {"duplex-manual-0", "Manual duplex dialog: manual-feed slot, first pass (pass code 0)",
     "OpenDuplexDlg with dmDefaultSource 4 (manual feed), portrait, once per language column."},
    {"duplex-manual-1", "Manual duplex dialog: manual-feed slot, second pass (pass code 1)",
     "OpenDuplexDlg with dmDefaultSource 4 (manual feed), portrait, once per language column: "
     "the sheet upside down."},
    {"duplex-manual-3", "Manual duplex dialog: manual-feed slot, second pass (pass code 3)",
     "OpenDuplexDlg with dmDefaultSource 4 (manual feed), portrait, once per language column: "
     "the sheet right way up."},
    {"manualfeed", "Manual-feed slot dialog",
     "OpenDuplexDlgMP with every language identifier that a selection names; each different "
     "dialog once, with the identifiers that open it."},
    {"raw", "Raw warning notice", "RawWarningDialog, every different notice once, with the identifiers that open it."},
    {"memfull", "Memory-full notice", "MemfullErrorDialog, every different notice once, with the identifiers that open it."},
    {"diskful", "Disk-full notice", "DiskFulErrorDialog, every different notice once, with the identifiers that open it."},
};

// The dialogs as captured at one DPI.
struct Pass {
    int dpi = 96;
    std::string folder;  // of its PNG files, relative to the contact sheet: "" or "144/"
    std::vector<Shot> shots;
};

std::vector<Shot> shots;
std::wstring folder;
const char *only = nullptr;  // open only the dialogs whose file name contains this

bool Wanted(const std::string &file)
{
    return !only || strstr(file.c_str(), only) != nullptr;
}

// ---- The dialog's controls ----

BOOL CALLBACK CollectChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND> *>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

// The dialog's look in words: size, and each control's class, place and text.
std::wstring DialogKey(HWND dialog)
{
    RECT rect;
    GetWindowRect(dialog, &rect);
    wchar_t line[128];
    swprintf(line, 128, L"%ldx%ld|", rect.right - rect.left, rect.bottom - rect.top);
    std::wstring key = line;
    for (HWND control : Children(dialog)) {
        wchar_t name[32] = L"";
        GetClassNameW(control, name, 32);
        RECT r;
        GetWindowRect(control, &r);
        swprintf(line, 128, L"%ls@%ld,%ld,%ld,%ld:", name, r.left - rect.left, r.top - rect.top,
                 r.right - r.left, r.bottom - r.top);
        key += line;
        key += dxdesk::WindowText(control);
        key += L"|";
    }
    return key;
}

// The role under which the contact sheet lists what a screen reader says of a control; empty for
// a control that says nothing (a group box, an empty text).
std::string SpokenRole(HWND control)
{
    wchar_t name[32] = L"";
    GetClassNameW(control, name, 32);
    if (_wcsicmp(name, L"Static") == 0)
        return GetWindowTextLengthW(control) ? "text" : "";
    if (_wcsicmp(name, L"Button") == 0)
        return (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX ? "" : "button";
    if (_wcsicmp(name, L"" BITMAPCTL_CLASS) == 0 || _wcsicmp(name, L"" MANUALDUPCTL_CLASS) == 0)
        return "picture";
    return "";
}

// ---- Driving each dialog ----
// A thread timer runs inside whatever message loop shows the dialog. Once the dialog has been
// visible for a moment it is captured and measured, then answered with Enter as a user would.

struct Run {
    Shot shot;
    bool dedupe = false;        // the same dialog seen before is not shown again
    HWND dialog = nullptr;
    DWORD seenAt = 0;
    DWORD answeredAt = 0;
    bool handled = false;
    bool forced = false;
    int duplicateOf = -1;
};
Run run;


void HandleDialog(HWND dialog)
{
    Shot &shot = run.shot;
    shot.caption = dxdesk::WindowText(dialog);
    for (wchar_t c : shot.caption)
        shot.captionControl |= c < L' ';
    shot.key = DialogKey(dialog);
    if (run.dedupe)
        for (size_t i = 0; i < shots.size(); i++)
            if (shots[i].group == shot.group && shots[i].key == shot.key) {
                run.duplicateOf = int(i);
                return;
            }
    RECT rect;
    GetWindowRect(dialog, &rect);
    shot.size = SIZE{rect.right - rect.left, rect.bottom - rect.top};
    dxdesk::TextFit fit = dxdesk::MeasureStaticTexts(dialog);
    shot.statics = fit.measured;
    shot.font = fit.font;
    shot.clips = fit.clips;
    shot.spoken.emplace_back("dialog", dxdesk::AccessibleName(dialog));
    for (HWND control : Children(dialog)) {
        std::string role = SpokenRole(control);
        if (!role.empty())
            shot.spoken.emplace_back(role, dxdesk::AccessibleName(control));
    }
    dxdesk::Pixels image = dxdesk::CaptureWindow(dialog);
    shot.saved = dxdesk::SavePng(image, folder + L"\\" + WideFromUtf8(shot.file));
}

void CALLBACK GalleryTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = dxdesk::FindThreadDialog();
    if (!dialog)
        return;
    DWORD now = GetTickCount();
    if (dialog != run.dialog) {
        run.dialog = dialog;
        run.seenAt = now;
        run.handled = false;
        return;
    }
    if (!run.handled && now - run.seenAt >= 120) {
        run.handled = true;
        HandleDialog(dialog);
        run.answeredAt = now;
        dxdesk::PressKey(dialog, VK_RETURN);
    } else if (run.handled && now - run.answeredAt > 3000) {
        run.forced = true;
        dxdesk::CloseByForce(dialog);
    }
}

void Finish(long result)
{
    Shot &shot = run.shot;
    shot.result = result;
    if (run.duplicateOf >= 0) {
        Shot &first = shots[size_t(run.duplicateOf)];
        first.languages.push_back(shot.languages.front());
        printf("  same as %s: %s\n", first.file.c_str(), LanguageLabel(shot.languages.front()).c_str());
        return;
    }
    if (!run.handled) {
        printf("  %-44s %s: no dialog (result %ld)\n", shot.file.c_str(), shot.label.c_str(), result);
        shot.file.clear();
    } else {
        printf("  %-44s %s: result %ld%s, %d text(s) in %s, %zu clipped\n", shot.file.c_str(),
               shot.label.c_str(), result, run.forced ? " (did not close on Enter: closed by force)" : "",
               shot.statics, Utf8(shot.font).c_str(), shot.clips.size());
    }
    fflush(stdout);
    shots.push_back(shot);
}

void Begin(const char *group, const std::string &file, const std::string &label, WORD language, bool dedupe)
{
    run = Run();
    run.shot.group = group;
    run.shot.file = file;
    run.shot.label = label;
    run.shot.languages.push_back(language);
    run.dedupe = dedupe;
}

// ---- Settings: notices that stay up until answered ----

struct SavedValue {
    const char *name;
    bool present;
    DWORD type, size;
    BYTE data[64];
};

void SaveValue(HKEY key, SavedValue *value)
{
    value->size = sizeof(value->data);
    value->present = RegQueryValueExA(key, value->name, nullptr, &value->type, value->data, &value->size) ==
                     ERROR_SUCCESS;
}

void RestoreValue(HKEY key, const SavedValue &value)
{
    if (value.present)
        RegSetValueExA(key, value.name, 0, value.type, value.data, value.size);
    else
        RegDeleteValueA(key, value.name);
}

void SetDword(HKEY key, const char *name, DWORD value)
{
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE *>(&value), sizeof(value));
}

// ---- Writing the contact sheet ----

bool WriteFile(const std::wstring &path, const std::string &text)
{
    FILE *file = _wfopen(path.c_str(), L"wb");
    if (!file)
        return false;
    bool ok = fwrite(text.data(), 1, text.size(), file) == text.size();
    return fclose(file) == 0 && ok;
}

std::string GroupTitle(const std::string &key)
{
    for (const Group &group : kGroups)
        if (key == group.key)
            return group.title;
    return key;
}

std::string Languages(const Shot &shot)
{
    std::string text;
    for (WORD id : shot.languages) {
        if (!text.empty())
            text += ", ";
        text += LanguageLabel(id);
    }
    return text;
}

std::string ClipLine(const Shot &shot, const dxdesk::TextClip &clip)
{
    char line[256];
    snprintf(line, sizeof(line), "static #%d (id %d): box %ldx%ld px, text needs %ldx%ld px: %s%ld px",
             clip.index, clip.control, clip.box.cx, clip.box.cy, clip.needed.cx, clip.needed.cy,
             clip.needed.cy > clip.box.cy ? "over by " : "too wide by ",
             clip.needed.cy > clip.box.cy ? clip.needed.cy - clip.box.cy : clip.needed.cx - clip.box.cx);
    (void)shot;
    return line;
}

std::string DpiLabel(const Pass &pass)
{
    return std::to_string(pass.dpi) + " DPI";
}

const Shot *FindShot(const Pass &pass, const std::string &file)
{
    for (const Shot &shot : pass.shots)
        if (shot.file == file)
            return &shot;
    return nullptr;
}

std::string TextReport(const std::vector<Pass> &passes)
{
    std::string head, report;
    for (const Pass &pass : passes) {
        int count = 0, measured = 0, dialogs = 0;
        for (const Shot &shot : pass.shots) {
            if (!shot.file.empty() && !IsMessage(shot)) {
                dialogs++;
                measured += shot.statics;
            }
            for (const dxdesk::TextClip &clip : shot.clips) {
                count++;
                report += DpiLabel(pass) + " | " + GroupTitle(shot.group) + " | " + shot.label + " | " + pass.folder +
                          shot.file + "\n";
                report += "  " + ClipLine(shot, clip) + "\n";
                report += "  not shown: \"" + OneLine(clip.hidden) + "\"\n";
            }
        }
        char line[160];
        snprintf(line, sizeof(line), "Text fit at %d DPI: %d clipped of %d static texts in %d dialogs\n", pass.dpi,
                 count, measured, dialogs);
        head += line;
    }
    // Each such caption once, with the dialogs and languages that show it (the same at every
    // scale).
    const std::vector<Shot> &first = passes.front().shots;
    std::vector<std::wstring> seen;
    std::string captions;
    for (const Shot &shot : first) {
        if (!shot.captionControl || std::find(seen.begin(), seen.end(), shot.caption) != seen.end())
            continue;
        seen.push_back(shot.caption);
        std::string where;
        int count = 0;
        for (const Shot &other : first)
            if (other.captionControl && other.caption == shot.caption) {
                count++;
                if (where.find(other.label) == std::string::npos)
                    where += (where.empty() ? "" : "; ") + other.label;
            }
        captions += "  \"" + OneLine(shot.caption) + "\" (" + std::to_string(count) + " dialogs: " + where + ")\n";
    }
    if (!seen.empty())
        captions = "Captions with a control character, drawn as a box in the title bar: " +
                   std::to_string(seen.size()) + "\n" + captions;
    return head + report + captions;
}

// One contact sheet for every pass: with several, a switch at the top shows one scale at a time
// (radio buttons and a style rule per scale, no script).
std::string ContactSheet(const std::vector<Pass> &passes)
{
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
        "<title>dxdlg: every dialog</title>\n<style>\n"
        "body{font-family:sans-serif;margin:1.5em;background:#f4f4f4;color:#222}\n"
        "h2{margin-top:2em;border-bottom:1px solid #aaa}\n"
        ".grid{display:flex;flex-wrap:wrap;gap:14px;align-items:flex-start}\n"
        "figure{margin:0;padding:8px;background:#fff;border:2px solid #ddd}\n"
        "figure.clipped{border-color:#d22}\n"
        "figcaption{font-size:13px;margin-top:4px;max-width:560px}\n"
        ".clip{color:#b00;font-size:12px}\n"
        ".spoken{font-size:12px;color:#245}.spoken ul{margin:2px 0;padding-left:1.2em}\n"
        "table{border-collapse:collapse;font-size:13px;background:#fff}\n"
        "td,th{border:1px solid #ccc;padding:3px 6px;vertical-align:top;text-align:left}\n"
        "nav a{margin-right:1em}\n"
        ".scales{position:sticky;top:0;background:#f4f4f4;padding:6px 0;font-size:15px}\n"
        ".scales label{margin-right:1.5em}\n";
    for (const Pass &pass : passes)
        if (passes.size() > 1)
            html += "#dpi" + std::to_string(pass.dpi) + ":checked~main .at:not(.at" + std::to_string(pass.dpi) +
                    "){display:none}\n";
    html += "</style></head><body>\n<h1>dxdlg: every dialog</h1>\n";
    if (passes.size() > 1) {
        html += "<div class=\"scales\">Scale: ";
        for (size_t i = 0; i < passes.size(); i++) {
            std::string id = "dpi" + std::to_string(passes[i].dpi);
            html += "<input type=\"radio\" name=\"scale\" id=\"" + id + "\"" + (i == 0 ? " checked" : "") +
                    "><label for=\"" + id + "\">" + DpiLabel(passes[i]) + " (" +
                    std::to_string(passes[i].dpi * 100 / 96) + " %)</label>";
        }
        html += "</div>\n";
    }
    // The radio buttons must come before <main> for the style rules to reach into it.
    std::string body = "<main>\n";
    std::string counts;
    int dialogs = 0;
    for (const Shot &shot : passes.front().shots)
        dialogs += shot.file.empty() || IsMessage(shot) ? 0 : 1;
    for (const Pass &pass : passes) {
        int clipCount = 0;
        for (const Shot &shot : pass.shots)
            clipCount += int(shot.clips.size());
        counts += (counts.empty() ? "" : ", ") + std::to_string(clipCount) + " clipped at " + DpiLabel(pass);
    }
    body += "<p>" + std::to_string(dialogs) +
            " dialogs captured from the real windows of dxdlg.dll under Wine. A red frame marks a "
            "dialog with a clipped text.</p>\n<nav>";
    for (const Group &group : kGroups)
        body += std::string("<a href=\"#") + group.key + "\">" + Html(group.title) + "</a> ";
    body += "</nav>\n<h2 id=\"fit\">Text fit: " + counts + "</h2>\n";
    body += "<p>Every static text measured with its control's font (DrawTextW with DT_CALCRECT, "
            "DT_WORDBREAK and DT_EXPANDTABS as the control draws it) against the control's client "
            "area.</p>\n";
    std::string rows;
    for (const Pass &pass : passes)
        for (const Shot &shot : pass.shots)
            for (const dxdesk::TextClip &clip : shot.clips) {
                bool tall = clip.needed.cy > clip.box.cy;
                rows += "<tr class=\"at at" + std::to_string(pass.dpi) + "\"><td>" + DpiLabel(pass) +
                        "</td><td><a href=\"#" + shot.file + "\">" + Html(GroupTitle(shot.group)) + "</a></td><td>" +
                        Html(shot.label) + "</td><td>static #" + std::to_string(clip.index) + " (id " +
                        std::to_string(clip.control) + ")</td><td>" + std::to_string(clip.box.cx) + "x" +
                        std::to_string(clip.box.cy) + "</td><td>" + std::to_string(clip.needed.cx) + "x" +
                        std::to_string(clip.needed.cy) + "</td><td>" +
                        std::to_string(tall ? clip.needed.cy - clip.box.cy : clip.needed.cx - clip.box.cx) +
                        (tall ? " px taller" : " px wider") + "</td><td>" + Html(OneLine(clip.hidden)) +
                        "</td></tr>\n";
            }
    if (!rows.empty())
        body += "<table><tr><th>Scale</th><th>Dialog</th><th>Language</th><th>Control</th><th>Box</th>"
                "<th>Needs</th><th>Overflow</th><th>Not shown</th></tr>\n" +
                rows + "</table>\n";
    for (const Group &group : kGroups) {
        body += std::string("<h2 id=\"") + group.key + "\">" + Html(group.title) + "</h2>\n<p>" + Html(group.note) +
                "</p>\n<div class=\"grid\">\n";
        for (const Shot &shot : passes.front().shots) {
            if (shot.group != group.key)
                continue;
            if (shot.file.empty()) {
                body += "<figure class=\"clipped\"><figcaption><b>" + Html(shot.label) +
                        "</b>: no dialog, result " + std::to_string(shot.result) + "</figcaption></figure>\n";
                continue;
            }
            bool clipped = false;
            std::string images, clips;
            for (const Pass &pass : passes) {
                const Shot *seen = FindShot(pass, shot.file);
                std::string scale = "at at" + std::to_string(pass.dpi);
                if (!seen) {
                    images += "<div class=\"" + scale + " clip\">not captured at " + DpiLabel(pass) + "</div>";
                    continue;
                }
                images += "<img class=\"" + scale + "\" src=\"" + pass.folder + seen->file + "\" width=\"" +
                          std::to_string(seen->size.cx) + "\" height=\"" + std::to_string(seen->size.cy) +
                          "\" alt=\"" + Html(seen->label) + "\">";
                clips += "<div class=\"" + scale + "\">" + std::to_string(seen->size.cx) + " x " +
                         std::to_string(seen->size.cy) + " px at " + DpiLabel(pass) +
                         (seen->font.empty() ? "" : ", text font " + Html(Utf8(seen->font))) + "</div>";
                for (const dxdesk::TextClip &clip : seen->clips) {
                    clipped = true;
                    clips += "<div class=\"" + scale + " clip\">clipped: " + Html(ClipLine(*seen, clip)) +
                             "; not shown: \"" + Html(OneLine(clip.hidden)) + "\"</div>";
                }
            }
            body += std::string("<figure id=\"") + shot.file + "\"" + (clipped ? " class=\"clipped\"" : "") + ">" +
                    images + "<figcaption><b>" + Html(shot.label) + "</b>";
            if (strncmp(group.key, "duplex", 6) != 0)
                body += "<br>opened by " + Html(Languages(shot));
            if (IsMessage(shot))
                body += "<br>result " + std::to_string(shot.result);
            else
                body += "<br>caption \"" + Html(OneLine(shot.caption)) + "\", result " + std::to_string(shot.result);
            if (shot.captionControl)
                body += "<div class=\"clip\">the caption holds a control character, drawn as a box</div>";
            if (!shot.spoken.empty()) {
                body += "<div class=\"spoken\">What a screen reader says:<ul>";
                for (const auto &said : shot.spoken)
                    body += "<li>" + said.first + ": " +
                            (said.second.empty() ? std::string("<i>nothing</i>")
                                                 : "\"" + Html(OneLine(said.second)) + "\"") +
                            "</li>";
                body += "</ul></div>";
            }
            body += clips + "</figcaption></figure>\n";
        }
        body += "</div>\n";
    }
    return html + body + "</main>\n</body></html>\n";
}

// ---- One pass's shots in a file, read back by the run that puts the scales together ----
// shots.tsv: "dpi" and the DPI of the run; then per dialog a line "shot" with its fields, and a
// line "clip" per clipped text of it. Fields are separated by tabs; backslashes, tabs and line
// breaks within them are escaped.

std::string Escape(const std::wstring &text)
{
    std::string out;
    for (char c : Utf8(text)) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

std::wstring Unescape(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            c = text[++i];
            c = c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
        out += c;
    }
    return WideFromUtf8(out);
}

std::vector<std::string> Split(const std::string &line, char separator)
{
    std::vector<std::string> fields(1);
    for (char c : line) {
        if (c == separator)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::string ShotsFile(int dpi)
{
    std::string text = "dpi\t" + std::to_string(dpi) + "\n";
    for (const Shot &shot : shots) {
        std::string languages;
        for (WORD id : shot.languages)
            languages += (languages.empty() ? "" : ",") + std::to_string(id);
        text += "shot\t" + shot.group + "\t" + shot.file + "\t" + Escape(WideFromUtf8(shot.label)) + "\t" + languages +
                "\t" + Escape(shot.caption) + "\t" + std::to_string(shot.result) + "\t" + std::to_string(shot.size.cx) +
                "\t" + std::to_string(shot.size.cy) + "\t" + std::to_string(shot.statics) + "\t" +
                Escape(shot.font) + "\t" + (shot.captionControl ? "1" : "0") + "\t" + (shot.saved ? "1" : "0") + "\n";
        for (const auto &said : shot.spoken)
            text += "said\t" + said.first + "\t" + Escape(said.second) + "\n";
        for (const dxdesk::TextClip &clip : shot.clips)
            text += "clip\t" + std::to_string(clip.index) + "\t" + std::to_string(clip.control) + "\t" +
                    std::to_string(clip.box.cx) + "\t" + std::to_string(clip.box.cy) + "\t" +
                    std::to_string(clip.needed.cx) + "\t" + std::to_string(clip.needed.cy) + "\t" +
                    Escape(clip.hidden) + "\n";
    }
    return text;
}

// The pass's DPI and shots from its file; false when the file is missing or malformed.
bool ReadShotsFile(const std::wstring &path, Pass *pass)
{
    FILE *file = _wfopen(path.c_str(), L"rb");
    if (!file)
        return false;
    std::string text;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof(buffer), file)) > 0;)
        text.append(buffer, got);
    fclose(file);
    bool dpiSeen = false;
    for (const std::string &line : Split(text, '\n')) {
        std::vector<std::string> f = Split(line, '\t');
        if (f[0] == "dpi" && f.size() == 2) {
            pass->dpi = atoi(f[1].c_str());
            dpiSeen = true;
        } else if (f[0] == "shot" && f.size() == 13) {
            Shot shot;
            shot.group = f[1];
            shot.file = f[2];
            shot.label = Utf8(Unescape(f[3]));
            for (const std::string &id : Split(f[4], ','))
                shot.languages.push_back(WORD(atoi(id.c_str())));
            shot.caption = Unescape(f[5]);
            shot.result = atol(f[6].c_str());
            shot.size = SIZE{atol(f[7].c_str()), atol(f[8].c_str())};
            shot.statics = atoi(f[9].c_str());
            shot.font = Unescape(f[10]);
            shot.captionControl = f[11] == "1";
            shot.saved = f[12] == "1";
            pass->shots.push_back(shot);
        } else if (f[0] == "said" && f.size() == 3 && !pass->shots.empty()) {
            pass->shots.back().spoken.emplace_back(f[1], Unescape(f[2]));
        } else if (f[0] == "clip" && f.size() == 8 && !pass->shots.empty()) {
            dxdesk::TextClip clip;
            clip.index = atoi(f[1].c_str());
            clip.control = atoi(f[2].c_str());
            clip.box = SIZE{atol(f[3].c_str()), atol(f[4].c_str())};
            clip.needed = SIZE{atol(f[5].c_str()), atol(f[6].c_str())};
            clip.hidden = Unescape(f[7]);
            pass->shots.back().clips.push_back(clip);
        } else if (!line.empty()) {
            return false;
        }
    }
    return dpiSeen;
}

void PrintSheetPath()
{
    wchar_t full[MAX_PATH] = L"";
    GetFullPathNameW((folder + L"\\index.html").c_str(), MAX_PATH, full, nullptr);
    printf("\nContact sheet: %s\n", Utf8(full).c_str());
}

// ---- The messages of a call from the spooler ----
// Where nobody sees a window (the print spooler's rendering code), every export sends its
// dialog's words to the job's user as a message box in their session. The gallery makes such a
// call, from a window station nobody sees and impersonating its own user, through the session
// API's stand-in, whose message box captures itself (DXDLG_SESSION_CAPTURE) and is answered at
// once (DXDLG_SESSION_AUTO): the shot goes beside the dialog whose words it carries.

bool StandInInstalled()
{
    HMODULE api = LoadLibraryExW(L"wtsapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return api && GetProcAddress(api, "StandInLastMessage");
}

long CallFromSpooler(const std::function<long()> &call)
{
    long result = -2;
    dxdesk::RunInServiceStation([&] { result = call(); }, true, 60000);
    return result;
}

// The width and height of a PNG file (from its header); 0 x 0 when it is none.
SIZE PngSize(const std::wstring &path)
{
    SIZE size = {0, 0};
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return size;
    BYTE head[24];
    DWORD read = 0;
    if (ReadFile(file, head, sizeof(head), &read, nullptr) && read == sizeof(head) && memcmp(head + 12, "IHDR", 4) == 0) {
        size.cx = LONG(head[16]) << 24 | head[17] << 16 | head[18] << 8 | head[19];
        size.cy = LONG(head[20]) << 24 | head[21] << 16 | head[22] << 8 | head[23];
    }
    CloseHandle(file);
    return size;
}

// One call from the spooler, its message captured as a shot of the dialog's group.
void CaptureMessage(const char *group, const std::string &file, WORD language, const std::function<long()> &call)
{
    if (!Wanted(file))
        return;
    std::wstring path = folder + L"\\" + WideFromUtf8(file);
    DeleteFileW(path.c_str());
    SetEnvironmentVariableW(L"DXDLG_SESSION_CAPTURE", path.c_str());
    SetEnvironmentVariableW(L"DXDLG_SESSION_AUTO", L"0");
    Shot shot;
    shot.group = group;
    shot.file = file;
    shot.label = "from the spooler: the message in the user's session, " + LanguageLabel(language);
    shot.languages.push_back(language);
    shot.result = call();
    SetEnvironmentVariableW(L"DXDLG_SESSION_CAPTURE", nullptr);
    SetEnvironmentVariableW(L"DXDLG_SESSION_AUTO", nullptr);
    shot.size = PngSize(path);
    shot.saved = shot.size.cx > 0;
    printf("  %-44s %s: result %ld, %s\n", file.c_str(), LanguageLabel(language).c_str(), shot.result,
           shot.saved ? "message captured" : "no message captured");
    fflush(stdout);
    shots.push_back(shot);
}

// ---- The runs ----

// Every dialog at the DPI of this process, into the folder.
int CaptureEveryDialog()
{
    // The notices close themselves after their time-out: 0xFFFFFFFF keeps the raw warning up
    // (the error notices' 0xFFFFFFFF is read as one hour), and a fixed countryCode keeps the
    // duplex dialog out of its every-language series. The DLL reads them once, at its first
    // dialog; the values as they were are put back when the last dialog has gone.
    HKEY key = nullptr;
    SavedValue saved[3] = {{DXDLG_COUNTRY_CODE, false, 0, 0, {}}, {DXDLG_RAW_TIMEOUT, false, 0, 0, {}},
                           {DXDLG_ERR_TIMEOUT, false, 0, 0, {}}};
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, DXDLG_SETTINGS_KEY, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        printf("dxdlg-gallery: cannot write the settings key\n");
        return 1;
    }
    for (SavedValue &value : saved)
        SaveValue(key, &value);
    SetDword(key, DXDLG_COUNTRY_CODE, 1033);
    SetDword(key, DXDLG_RAW_TIMEOUT, DXDLG_NEVER_TIMES_OUT);
    SetDword(key, DXDLG_ERR_TIMEOUT, DXDLG_NEVER_TIMES_OUT);
    auto restore = [key, &saved] {
        for (const SavedValue &value : saved)
            RestoreValue(key, value);
        RegCloseKey(key);
    };
    HMODULE dll = LoadLibraryA("dxdlg.dll");
    if (!dll) {
        printf("dxdlg-gallery: dxdlg.dll does not load (error %lu)\n", GetLastError());
        restore();
        return 1;
    }
    auto find = [dll](const char *name) {
        FARPROC function = GetProcAddress(dll, name);
        if (!function)
            printf("dxdlg-gallery: dxdlg.dll has no export %s\n", name);
        return reinterpret_cast<void *>(function);
    };
    auto registerControl = reinterpret_cast<PFN_FRegisterBitmapControl>(find("FRegisterBitmapControl"));
    auto registerControlMP = reinterpret_cast<PFN_FRegisterBitmapControlMP>(find("FRegisterBitmapControlMP"));
    auto openDuplex = reinterpret_cast<PFN_OpenDuplexDlg>(find("OpenDuplexDlg"));
    auto openDuplexMP = reinterpret_cast<PFN_OpenDuplexDlgMP>(find("OpenDuplexDlgMP"));
    const struct {
        const char *group;
        const char *name;
        PFN_RawWarningDialog show; // the three notices share one type
    } notices[3] = {
        {"raw", "RawWarningDialog", reinterpret_cast<PFN_RawWarningDialog>(find("RawWarningDialog"))},
        {"memfull", "MemfullErrorDialog", reinterpret_cast<PFN_MemfullErrorDialog>(find("MemfullErrorDialog"))},
        {"diskful", "DiskFulErrorDialog", reinterpret_cast<PFN_DiskFulErrorDialog>(find("DiskFulErrorDialog"))}};
    if (!registerControl || !registerControlMP || !openDuplex || !openDuplexMP || !notices[0].show ||
        !notices[1].show || !notices[2].show) {
        restore();
        return 1;
    }
    printf("FRegisterBitmapControl -> %d, FRegisterBitmapControlMP -> %d\n", registerControl(dll),
           registerControlMP(dll));

    UINT_PTR timer = SetTimer(nullptr, 0, 20, GalleryTimer);
    HLOCAL devModeBlock = LocalAlloc(LHND, sizeof(DEVMODEA));
    DriverPrivateSettings settings = {};

    printf("Manual duplex dialog\n");
    const struct {
        short source;
        const char *name;
    } layouts[2] = {{DMBIN_CASSETTE, "cassette"}, {DMBIN_MANUAL, "manual"}};
    // The first pass, then the second with each of its two pictures (portrait: pass codes 1 and 3).
    const UINT passCodes[] = {0, 1, 3};
    for (const auto &layout : layouts)
        for (UINT pass : passCodes)
            for (LanguageIndex column = 0; column < LanguageCount; column++) {
                WORD language = dxdesk::DuplexColumnLanguage(column);
                auto *devMode = static_cast<DEVMODEA *>(LocalLock(devModeBlock));
                devMode->dmSize = sizeof(DEVMODEA);
                devMode->dmFields = DM_ORIENTATION | DM_DEFAULTSOURCE;
                devMode->dmOrientation = DMORIENT_PORTRAIT;
                devMode->dmDefaultSource = layout.source;
                LocalUnlock(devModeBlock);
                const dxdesk::Language *entry = dxdesk::FindLanguage(language);
                char group[32], file[64], label[96];
                snprintf(group, sizeof(group), "duplex-%s-%u", layout.name, pass);
                snprintf(file, sizeof(file), "duplex-%s-pass%u-%02u-%s.png", layout.name, pass, column, entry->tag);
                snprintf(label, sizeof(label), "column %u: %s", column, LanguageLabel(language).c_str());
                if (!Wanted(file))
                    continue;
                Begin(group, file, label, language, false);
                Finish(openDuplex(nullptr, nullptr, 0, pass, language, devModeBlock, nullptr, &settings));
            }

    // English first, so that the dialog that most identifiers share is named after it.
    std::vector<const dxdesk::Language *> order(1, dxdesk::FindLanguage(1033));
    for (int i = 0; i < dxdesk::kLanguageCount; i++)
        if (dxdesk::kLanguages[i].id != 1033)
            order.push_back(&dxdesk::kLanguages[i]);

    printf("Manual-feed slot dialog\n");
    for (const dxdesk::Language *entry : order) {
        const dxdesk::Language &language = *entry;
        if (!Wanted(std::string("manualfeed-") + language.tag + ".png"))
            continue;
        Begin("manualfeed", std::string("manualfeed-") + language.tag + ".png", LanguageLabel(language.id),
              language.id, true);
        Finish(long(openDuplexMP(nullptr, nullptr, 0, language.id, nullptr, nullptr)));
    }

    for (const auto &notice : notices) {
        printf("%s\n", notice.name);
        for (const dxdesk::Language *entry : order) {
            const dxdesk::Language &language = *entry;
            if (!Wanted(std::string("notice-") + notice.group + "-" + language.tag + ".png"))
                continue;
            Begin(notice.group, std::string("notice-") + notice.group + "-" + language.tag + ".png",
                  LanguageLabel(language.id), language.id, true);
            Finish(long(notice.show(nullptr, language.id, nullptr, "Printer")));
        }
    }
    if (StandInInstalled()) {
        printf("From the spooler: the messages in the user's session\n");
        for (WORD language : {WORD(1033), WORD(1031), WORD(1041)}) {
            const char *tag = dxdesk::FindLanguage(language)->tag;
            CaptureMessage("duplex-cassette-0", std::string("message-duplex-") + tag + ".png", language, [&] {
                auto *devMode = static_cast<DEVMODEA *>(LocalLock(devModeBlock));
                devMode->dmOrientation = DMORIENT_PORTRAIT;
                devMode->dmDefaultSource = DMBIN_CASSETTE;
                LocalUnlock(devModeBlock);
                return CallFromSpooler([&] {
                    return long(openDuplex(nullptr, nullptr, 0, 0, language, devModeBlock, nullptr, &settings));
                });
            });
            CaptureMessage("manualfeed", std::string("message-manualfeed-") + tag + ".png", language, [&] {
                return CallFromSpooler([&] { return long(openDuplexMP(nullptr, nullptr, 0, language, nullptr, nullptr)); });
            });
            CaptureMessage("raw", std::string("message-raw-") + tag + ".png", language, [&] {
                return CallFromSpooler([&] { return long(notices[0].show(nullptr, language, nullptr, "Printer")); });
            });
        }
    } else {
        printf("From the spooler: no messages (the session API's stand-in is not installed, docs/building.md)\n");
    }
    KillTimer(nullptr, timer);
    LocalFree(devModeBlock);
    FreeLibrary(dll);
    restore();

    // A dialog shown for several identifiers is labelled with all of them.
    for (Shot &shot : shots)
        if (shot.languages.size() > 1 && strncmp(shot.group.c_str(), "duplex", 6) != 0 && !IsMessage(shot))
            shot.label = LanguageLabel(shot.languages.front()) + " and " + std::to_string(shot.languages.size() - 1) +
                         " more";

    HDC screen = GetDC(nullptr);
    Pass pass;
    pass.dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    pass.shots = shots;
    std::vector<Pass> passes(1, pass);
    std::string report = TextReport(passes);
    bool written = WriteFile(folder + L"\\index.html", ContactSheet(passes)) &&
                   WriteFile(folder + L"\\textfit.txt", report) &&
                   WriteFile(folder + L"\\shots.tsv", ShotsFile(pass.dpi));
    int missing = 0, unsaved = 0;
    for (const Shot &shot : shots) {
        missing += shot.file.empty() ? 1 : 0;
        unsaved += !shot.file.empty() && !shot.saved ? 1 : 0;
    }
    printf("\n%s", report.c_str());
    PrintSheetPath();
    if (!written || missing || unsaved) {
        printf("dxdlg-gallery: %d dialog(s) did not open, %d capture(s) not saved%s\n", missing, unsaved,
               written ? "" : ", index.html, textfit.txt or shots.tsv not written");
        return 1;
    }
    return 0;
}

// Every dialog at each DPI: this program again per DPI, each run into a folder of its own, then
// one contact sheet and one report over them all.
int CaptureAtScales(const std::vector<int> &scales, const std::string &folderName)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::vector<Pass> passes;
    bool failed = false;
    for (int dpi : scales) {
        printf("== The gallery at %d DPI\n", dpi);
        fflush(stdout);
        std::string subfolder = folderName + "\\" + std::to_string(dpi);
        std::string command = std::string("\"") + self + "\"" + (only ? std::string(" --only \"") + only + "\"" : "") +
                              " \"" + subfolder + "\"";
        // A desktop of its own, whose screen holds as many pixels as 1024 x 768 at 96 DPI does
        // at this one: the largest dialog, 1066 pixels wide at 192 DPI, fits as it would on a
        // laptop's screen at that scale. Wine sizes a desktop from its name's value under
        // HKCU\Software\Wine\Explorer\Desktops.
        std::string desktop = "dxdlg-gallery-" + std::to_string(dpi);
        char screen[32];
        snprintf(screen, sizeof(screen), "%dx%d", MulDiv(1024, dpi, 96), MulDiv(768, dpi, 96));
        DWORD status;
        {
            dxdesk::UserSettingForNow size("Software\\Wine\\Explorer\\Desktops", desktop.c_str(), screen);
            dxdesk::UserSettingForNow logPixels("Control Panel\\Desktop", "LogPixels", DWORD(dpi));
            status = size.Set() && logPixels.Set()
                         ? dxdesk::RunProgram(command, nullptr, 30 * 60 * 1000, desktop.c_str())
                         : DWORD(-1);
        }
        Pass pass;
        pass.folder = std::to_string(dpi) + "/";
        if (!ReadShotsFile(WideFromUtf8(subfolder) + L"\\shots.tsv", &pass)) {
            printf("dxdlg-gallery: the run at %d DPI left no list of its dialogs (exit status %lu)\n", dpi, status);
            failed = true;
            continue;
        }
        if (pass.dpi != dpi) {
            printf("dxdlg-gallery: the run meant for %d DPI ran at %d DPI\n", dpi, pass.dpi);
            failed = true;
        }
        failed |= status != 0;
        passes.push_back(pass);
    }
    if (passes.empty())
        return 1;
    std::string report = TextReport(passes);
    bool written =
        WriteFile(folder + L"\\index.html", ContactSheet(passes)) && WriteFile(folder + L"\\textfit.txt", report);
    printf("\n== Every scale\n%s", report.c_str());
    PrintSheetPath();
    if (!written)
        printf("dxdlg-gallery: index.html or textfit.txt not written\n");
    return failed || !written ? 1 : 0;
}

}  // namespace

int main(int argc, char **argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 4096);
    const char *folderName = "gallery";
    std::vector<int> scales;
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only = argv[++i];
        } else if (strcmp(argv[i], "--scales") == 0 && i + 1 < argc) {
            for (const std::string &dpi : Split(argv[++i], ','))
                if (atoi(dpi.c_str()) >= 48 && atoi(dpi.c_str()) <= 480)
                    scales.push_back(atoi(dpi.c_str()));
            if (scales.empty()) {
                printf("dxdlg-gallery: --scales takes DPI values from 48 to 480, such as 96,144,192\n");
                return 2;
            }
        } else if (strcmp(argv[i], "--help") == 0) {
            printf("usage: dxdlg-gallery.exe [--only TEXT] [--scales DPI,DPI...] [FOLDER]\n"
                   "Opens every dialog of dxdlg.dll, captures it into FOLDER (default: gallery) and\n"
                   "writes FOLDER\\index.html and FOLDER\\textfit.txt. --only opens only the dialogs\n"
                   "whose PNG file name contains TEXT (for example --only -ja). --scales captures\n"
                   "them once at each DPI (for example --scales 96,144,192), into FOLDER\\96 and so\n"
                   "on, with one contact sheet that switches between the scales.\n");
            return 0;
        } else {
            folderName = argv[i];
        }
    }
    folder = WideFromUtf8(folderName);
    CreateDirectoryW(folder.c_str(), nullptr);
    return scales.empty() ? CaptureEveryDialog() : CaptureAtScales(scales, folderName);
}
