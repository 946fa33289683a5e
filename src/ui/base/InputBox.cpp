// The input box, built from an in-memory dialog template so it needs no resource script.
#include "ui/base/InputBox.h"

#include <cstdint>
#include <vector>

#include "ui/base/UnexpectedFailure.h"
#include "ui/base/Window.h"

namespace vorelix::ui {

namespace {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

// Writes a dialog template word by word; items start on DWORD boundaries as the format demands.
class TemplateWriter {
  public:
    void Dword(DWORD value) {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Word(WORD value) { words_.push_back(value); }
    void Text(const wchar_t* text) {
        for (; *text; ++text) Word(static_cast<WORD>(*text));
        Word(0);
    }
    void AlignToDword() {
        if (words_.size() % 2) Word(0);
    }
    void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD classAtom,
              const wchar_t* text) {
        AlignToDword();
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
        Word(id);
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    std::vector<WORD> words_;
};

struct BoxState {
    const std::wstring* prompt;
    const std::wstring* title;
    const std::wstring* initialText;
    std::wstring result;
};

std::wstring ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state = reinterpret_cast<BoxState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, state->title->c_str());
            SetDlgItemTextW(dialog, kInputBoxPromptId, state->prompt->c_str());
            HWND edit = GetDlgItem(dialog, kInputBoxEditId);
            SetWindowTextW(edit, state->initialText->c_str());
            SendMessageW(edit, EM_SETSEL, 0, -1);
            SetFocus(edit);
            return FALSE;  // the focus was set here
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDOK) {
                auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
                RunGuarded(L"reading the typed text",
                           [&] { state->result = ItemText(dialog, kInputBoxEditId); });
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (id == IDCANCEL) {  // also Esc and the close button
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

}  // namespace

std::wstring ShowInputBox(HWND owner, const std::wstring& prompt, const std::wstring& title,
                          const std::wstring& initialText) {
    TemplateWriter writer;
    writer.Dword(DS_SETFONT | DS_SHELLFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    writer.Dword(0);
    writer.Word(4);  // items
    for (WORD v : {WORD{0}, WORD{0}, WORD{250}, WORD{80}}) writer.Word(v);
    writer.Word(0);  // no menu
    writer.Word(0);  // the standard dialog class
    writer.Text(L"");
    writer.Word(8);
    writer.Text(L"MS Shell Dlg");
    writer.Item(SS_LEFT | SS_NOPREFIX, 7, 7, 180, 44, kInputBoxPromptId, kStaticClass, L"");
    writer.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 193, 7, 50, 14, IDOK, kButtonClass, L"OK");
    writer.Item(BS_PUSHBUTTON | WS_TABSTOP, 193, 25, 50, 14, IDCANCEL, kButtonClass, L"Cancel");
    writer.Item(ES_AUTOHSCROLL | ES_LEFT | WS_BORDER | WS_TABSTOP, 7, 58, 236, 14, kInputBoxEditId,
                kEditClass, L"");

    BoxState state{&prompt, &title, &initialText, {}};
    const INT_PTR answer = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), writer.Get(), owner,
                                                   &InputBoxProc, reinterpret_cast<LPARAM>(&state));
    return answer == IDOK ? state.result : std::wstring{};
}

}  // namespace vorelix::ui
