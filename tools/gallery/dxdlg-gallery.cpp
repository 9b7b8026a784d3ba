// dxdlg-gallery: opens every dialog that dxdlg.dll can show, captures each real window from the
// screen into a PNG file, measures every static text against its control, and writes a contact
// sheet (index.html) and a text-fit report (textfit.txt) into one folder.
//
//   dxdlg-gallery.exe [FOLDER]      (default: gallery)
//
// The duplex dialog is shown in both layouts and both passes in each of its language
// columns. The manual-feed slot dialog and the three notices are opened with every language
// identifier that some selection names; identical dialogs are shown once, labelled with every
// identifier that opens them, so each template that an export can reach appears once.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "desktop.h"
#include "dxdlg.h"
#include "languages.h"
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
    bool saved = false;
};

struct Group {
    const char *key;
    const char *title;
    const char *note;
};

const Group kGroups[] = {
    {"duplex-cassette-0", "Manual duplex dialog: cassette, first pass (pass code 0)",
     "OpenDuplexDlg with dmDefaultSource 14 (cassette), portrait, once per language column."},
    {"duplex-cassette-1", "Manual duplex dialog: cassette, second pass (pass code 1)",
     "OpenDuplexDlg with dmDefaultSource 14 (cassette), portrait, once per language column."},
    {"duplex-manual-0", "Manual duplex dialog: manual-feed slot, first pass (pass code 0)",
     "OpenDuplexDlg with dmDefaultSource 4 (manual feed), portrait, once per language column."},
    {"duplex-manual-1", "Manual duplex dialog: manual-feed slot, second pass (pass code 1)",
     "OpenDuplexDlg with dmDefaultSource 4 (manual feed), portrait, once per language column."},
    {"manualfeed", "Manual-feed slot dialog",
     "OpenDuplexDlgMP with every language identifier that a selection names; each different "
     "dialog once, with the identifiers that open it."},
    {"raw", "Raw warning notice", "RawWarningDialog, every different notice once, with the identifiers that open it."},
    {"memfull", "Memory-full notice", "MemfullErrorDialog, every different notice once, with the identifiers that open it."},
    {"diskful", "Disk-full notice", "DiskFulErrorDialog, every different notice once, with the identifiers that open it."},
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

std::string TextReport()
{
    std::string report;
    int count = 0;
    for (const Shot &shot : shots)
        for (const dxdesk::TextClip &clip : shot.clips) {
            count++;
            report += GroupTitle(shot.group) + " | " + shot.label + " | " + shot.file + "\n";
            report += "  " + ClipLine(shot, clip) + "\n";
            report += "  not shown: \"" + OneLine(clip.hidden) + "\"\n";
        }
    int measured = 0, dialogs = 0;
    for (const Shot &shot : shots)
        if (!shot.file.empty()) {
            dialogs++;
            measured += shot.statics;
        }
    char head[160];
    snprintf(head, sizeof(head), "Text fit: %d clipped of %d static texts in %d dialogs\n", count, measured, dialogs);
    // Each such caption once, with the dialogs and languages that show it.
    std::vector<std::wstring> seen;
    std::string captions;
    for (const Shot &shot : shots) {
        if (!shot.captionControl || std::find(seen.begin(), seen.end(), shot.caption) != seen.end())
            continue;
        seen.push_back(shot.caption);
        std::string where;
        int count = 0;
        for (const Shot &other : shots)
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

std::string ContactSheet()
{
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">\n"
        "<title>dxdlg: every dialog</title>\n<style>\n"
        "body{font-family:sans-serif;margin:1.5em;background:#f4f4f4;color:#222}\n"
        "h2{margin-top:2em;border-bottom:1px solid #aaa}\n"
        ".grid{display:flex;flex-wrap:wrap;gap:14px;align-items:flex-start}\n"
        "figure{margin:0;padding:8px;background:#fff;border:2px solid #ddd;max-width:560px}\n"
        "figure.clipped{border-color:#d22}\n"
        "figcaption{font-size:13px;margin-top:4px}\n"
        ".clip{color:#b00;font-size:12px}\n"
        "table{border-collapse:collapse;font-size:13px;background:#fff}\n"
        "td,th{border:1px solid #ccc;padding:3px 6px;vertical-align:top;text-align:left}\n"
        "nav a{margin-right:1em}\n"
        "</style></head><body>\n<h1>dxdlg: every dialog</h1>\n";
    int clipCount = 0, dialogs = 0;
    for (const Shot &shot : shots) {
        clipCount += int(shot.clips.size());
        dialogs += shot.file.empty() ? 0 : 1;
    }
    html += "<p>" + std::to_string(dialogs) +
            " dialogs captured from the real windows of dxdlg.dll under Wine. A red frame marks a "
            "dialog with a clipped text.</p>\n<nav>";
    for (const Group &group : kGroups)
        html += std::string("<a href=\"#") + group.key + "\">" + Html(group.title) + "</a> ";
    html += "</nav>\n<h2 id=\"fit\">Text fit: " + std::to_string(clipCount) + " clipped</h2>\n";
    html += "<p>Every static text measured with its control's font (DrawTextW with DT_CALCRECT, "
            "DT_WORDBREAK and DT_EXPANDTABS as the control draws it) against the control's client "
            "area.</p>\n";
    if (clipCount) {
        html += "<table><tr><th>Dialog</th><th>Language</th><th>Control</th><th>Box</th><th>Needs</th>"
                "<th>Overflow</th><th>Not shown</th></tr>\n";
        for (const Shot &shot : shots)
            for (const dxdesk::TextClip &clip : shot.clips) {
                bool tall = clip.needed.cy > clip.box.cy;
                html += "<tr><td><a href=\"#" + shot.file + "\">" + Html(GroupTitle(shot.group)) + "</a></td><td>" +
                        Html(shot.label) + "</td><td>static #" + std::to_string(clip.index) + " (id " +
                        std::to_string(clip.control) + ")</td><td>" + std::to_string(clip.box.cx) + "x" +
                        std::to_string(clip.box.cy) + "</td><td>" + std::to_string(clip.needed.cx) + "x" +
                        std::to_string(clip.needed.cy) + "</td><td>" +
                        std::to_string(tall ? clip.needed.cy - clip.box.cy : clip.needed.cx - clip.box.cx) +
                        (tall ? " px taller" : " px wider") + "</td><td>" + Html(OneLine(clip.hidden)) +
                        "</td></tr>\n";
            }
        html += "</table>\n";
    }
    for (const Group &group : kGroups) {
        html += std::string("<h2 id=\"") + group.key + "\">" + Html(group.title) + "</h2>\n<p>" + Html(group.note) +
                "</p>\n<div class=\"grid\">\n";
        for (const Shot &shot : shots) {
            if (shot.group != group.key)
                continue;
            if (shot.file.empty()) {
                html += "<figure class=\"clipped\"><figcaption><b>" + Html(shot.label) +
                        "</b>: no dialog, result " + std::to_string(shot.result) + "</figcaption></figure>\n";
                continue;
            }
            html += std::string("<figure id=\"") + shot.file + "\"" + (shot.clips.empty() ? "" : " class=\"clipped\"") +
                    "><img src=\"" + shot.file + "\" width=\"" + std::to_string(shot.size.cx) + "\" height=\"" +
                    std::to_string(shot.size.cy) + "\" alt=\"" + Html(shot.label) + "\"><figcaption><b>" +
                    Html(shot.label) + "</b>";
            if (strncmp(group.key, "duplex", 6) != 0)
                html += "<br>opened by " + Html(Languages(shot));
            html += "<br>caption \"" + Html(OneLine(shot.caption)) + "\", result " + std::to_string(shot.result);
            if (!shot.font.empty())
                html += "<br>text font " + Html(Utf8(shot.font));
            if (shot.captionControl)
                html += "<div class=\"clip\">the caption holds a control character, drawn as a box</div>";
            for (const dxdesk::TextClip &clip : shot.clips)
                html += "<div class=\"clip\">clipped: " + Html(ClipLine(shot, clip)) + "; not shown: \"" +
                        Html(OneLine(clip.hidden)) + "\"</div>";
            html += "</figcaption></figure>\n";
        }
        html += "</div>\n";
    }
    html += "</body></html>\n";
    return html;
}

}  // namespace

int main(int argc, char **argv)
{
    setvbuf(stdout, nullptr, _IOLBF, 4096);
    const char *folderName = "gallery";
    for (int i = 1; i < argc; i++) {
        if (strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = argv[++i];
        else if (strcmp(argv[i], "--help") == 0) {
            printf("usage: dxdlg-gallery.exe [--only TEXT] [FOLDER]\n"
                   "Opens every dialog of dxdlg.dll, captures it into FOLDER (default: gallery) and\n"
                   "writes FOLDER\\index.html and FOLDER\\textfit.txt. --only opens only the dialogs\n"
                   "whose PNG file name contains TEXT (for example --only -ja).\n");
            return 0;
        } else
            folderName = argv[i];
    }
    folder = WideFromUtf8(folderName);
    CreateDirectoryW(folder.c_str(), nullptr);

    // The notices close themselves after their time-out: "never" keeps the raw warning up (the
    // error notices' "never" is read as their default), and a fixed countryCode keeps the
    // duplex dialog out of its every-language series. The DLL reads them when it loads; the
    // values as they were are put back right after.
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
    HMODULE dll = LoadLibraryA("dxdlg.dll");
    for (const SavedValue &value : saved)
        RestoreValue(key, value);
    RegCloseKey(key);
    if (!dll) {
        printf("dxdlg-gallery: dxdlg.dll does not load (error %lu)\n", GetLastError());
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
        !notices[1].show || !notices[2].show)
        return 1;
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
    for (const auto &layout : layouts)
        for (UINT pass = 0; pass < 2; pass++)
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
    KillTimer(nullptr, timer);
    LocalFree(devModeBlock);
    FreeLibrary(dll);

    // A dialog shown for several identifiers is labelled with all of them.
    for (Shot &shot : shots)
        if (shot.languages.size() > 1 && strncmp(shot.group.c_str(), "duplex", 6) != 0)
            shot.label = LanguageLabel(shot.languages.front()) + " and " + std::to_string(shot.languages.size() - 1) +
                         " more";

    std::string report = TextReport();
    bool written = WriteFile(folder + L"\\index.html", ContactSheet()) && WriteFile(folder + L"\\textfit.txt", report);
    int missing = 0, unsaved = 0;
    for (const Shot &shot : shots) {
        missing += shot.file.empty() ? 1 : 0;
        unsaved += !shot.file.empty() && !shot.saved ? 1 : 0;
    }
    printf("\n%s", report.c_str());
    wchar_t full[MAX_PATH] = L"";
    GetFullPathNameW((folder + L"\\index.html").c_str(), MAX_PATH, full, nullptr);
    printf("\nContact sheet: %s\n", Utf8(full).c_str());
    if (!written || missing || unsaved) {
        printf("dxdlg-gallery: %d dialog(s) did not open, %d capture(s) not saved%s\n", missing, unsaved,
               written ? "" : ", index.html or textfit.txt not written");
        return 1;
    }
    return 0;
}
