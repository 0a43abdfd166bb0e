#include "app/win32/Win32Form1.h"

#include "app/WindowPointer.h"
#include "app/win32/Pictures.h"
#include "sheet/Utf8Path.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

namespace L = Form1Layout;
using Control = L::Control;

// A fixed single border with a title bar, a minimise box and a close box:
// not resizable, no maximise box.
constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// The dropped-down colour list shows all four names.
constexpr int comboListRows = 5;

std::wstring Wide(std::string_view utf8) {
    return sheet::PathOf(utf8).wstring();
}

std::string Utf8(std::wstring_view wide) {
    return sheet::PathText(std::filesystem::path(wide));
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

HFONT ArialBold(double points, int dpi) {
    const std::wstring family = Wide(L::fontFamily);
    return CreateFontW(-L::fontPixels(points, dpi), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, family.c_str());
}

struct Made {
    const wchar_t* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

Made MadeAs(L::Kind kind) {
    switch (kind) {
    case L::Kind::Label:
        return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case L::Kind::TextBox:
        return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case L::Kind::Button:
        // A check box drawn as a push button: sunken while ticked.
        return {L"BUTTON", BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_MULTILINE | WS_TABSTOP, 0};
    case L::Kind::Frame:
        return {L"BUTTON", BS_GROUPBOX, 0};
    case L::Kind::List:
        return {L"LISTBOX",
                LBS_MULTIPLESEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case L::Kind::DropDown:
        return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    case L::Kind::CheckBox:
        return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case L::Kind::ProgressBar:
        return {PROGRESS_CLASSW, 0, 0};
    }
    return {L"STATIC", 0, 0};
}

bool IsUserInput(UINT message) {
    // The title bar stays the window system's: the window can still be
    // moved, minimised and closed, and Alt+F4 still asks to close.
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_KEYDOWN ||
           message == WM_KEYUP || message == WM_CHAR;
}

} // namespace

Win32Form1::Win32Form1(Form1Services services) : logic_(*this, std::move(services)) {}

Win32Form1::~Win32Form1() {
    if (window_)
        DestroyWindow(window_);
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(windowFont_), static_cast<HGDIOBJ>(buttonFont_)})
        if (object)
            DeleteObject(object);
    if (highlighter_)
        ImageList_Destroy(highlighter_);
    if (customCursor_)
        DestroyCursor(customCursor_);
}

bool Win32Form1::create(HINSTANCE instance) {
    const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&common);
    white_ = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));

    WNDCLASSEXW form{};
    form.cbSize = sizeof(form);
    form.lpfnWndProc = windowProcedure;
    form.hInstance = instance;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = white_;
    form.lpszClassName = form1WindowClass;
    // The buttons' highlighter is the program's picture, as on Linux.
    form.hIcon = HighlighterIcon();
    RegisterClassExW(&form);

    window_ = CreateWindowExW(0, form1WindowClass, L"", windowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (!window_)
        return false;
    dpi_ = static_cast<int>(GetDpiForWindow(window_));
    createControls();
    layOut();
    logic_.Form_Load();
    return true;
}

void Win32Form1::show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    SetFocus(control(L::focusOrder.front()));
}

bool Win32Form1::takeDialogMessage(MSG& message) {
    return window_ && IsDialogMessageW(window_, &message);
}

HWND Win32Form1::control(Control which) const {
    return controls_[static_cast<std::size_t>(which)];
}

void Win32Form1::createControls() {
    // Tab order is creation order, and a control made later lies below one
    // made earlier: the focus order first, then the rest, Frame1 below the
    // controls it holds.
    std::vector<Control> order(L::focusOrder.begin(), L::focusOrder.end());
    for (const L::Place& place : L::places)
        if (std::find(order.begin(), order.end(), place.control) == order.end())
            order.push_back(place.control);
    for (const Control which : order) {
        const L::Place& place = L::placeOf(which);
        const Made made = MadeAs(place.kind);
        const int id = ControlId(which);
        controls_[static_cast<std::size_t>(which)] =
            CreateWindowExW(made.extendedStyle, made.windowClass, Wide(place.caption).c_str(),
                            WS_CHILD | WS_VISIBLE | made.style, 0, 0, 0, 0, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }

    highlighter_ = ImageList_Create(L::pictureSide, L::pictureSide, ILC_COLOR32, 1, 0);
    HBITMAP picture = HighlighterBitmap();
    ImageList_Add(highlighter_, picture, nullptr);
    DeleteObject(picture);
    for (const L::Place& place : L::places) {
        // A blank picture would only push the caption out of the small
        // buttons; those carry none.
        if (place.picture != L::Picture::Highlighter)
            continue;
        BUTTON_IMAGELIST pictures{highlighter_, {0, 0, 0, 2}, BUTTON_IMAGELIST_ALIGN_TOP};
        SendMessageW(control(place.control), BCM_SETIMAGELIST, 0,
                     reinterpret_cast<LPARAM>(&pictures));
    }
}

void Win32Form1::layOut() {
    for (HFONT* font : {&windowFont_, &buttonFont_})
        if (*font)
            DeleteObject(std::exchange(*font, nullptr));
    windowFont_ = ArialBold(L::windowFontPoints, dpi_);
    buttonFont_ = ArialBold(L::buttonFontPoints, dpi_);

    RECT outer{0, 0, L::toPixels(L::clientWidth, dpi_), L::toPixels(L::clientHeight, dpi_)};
    AdjustWindowRectExForDpi(&outer, windowStyle, FALSE, 0, static_cast<UINT>(dpi_));
    SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    for (const L::Place& place : L::places) {
        HWND placed = control(place.control);
        SendMessageW(placed, WM_SETFONT,
                     reinterpret_cast<WPARAM>(place.ownFontPoints > 0 ? buttonFont_ : windowFont_),
                     FALSE);
        const L::Pixels box = L::inClientArea(place, dpi_);
        // A drop-down list's height is its list's; its field is as high as
        // its item height makes it, set to the layout's below.
        const int height =
            place.kind == L::Kind::DropDown ? box.height * comboListRows : box.height;
        SetWindowPos(placed, nullptr, box.left, box.top, box.width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (place.kind == L::Kind::DropDown)
            fitFieldHeight(placed, box.height);
        if (place.kind == L::Kind::Label)
            fitLabelWidth(placed, box);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void Win32Form1::fitFieldHeight(HWND combo, int height) {
    // The field follows the item height it is given, plus its borders, once
    // the font has been taken in; what is asked for is kept here, since what
    // the control answers back may count its padding in.
    LRESULT item = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    for (int round = 0; round < 3; ++round) {
        RECT field{};
        GetWindowRect(combo, &field);
        const LRESULT off = height - (field.bottom - field.top);
        if (off == 0)
            return;
        item += off;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), item);
    }
}

void Win32Form1::fitLabelWidth(HWND label, const L::Pixels& box) {
    // Text here can come out wider than where the layout was measured; a
    // label may then reach into the gap before its field rather than lose
    // the end of its text.
    HDC context = GetDC(label);
    const HGDIOBJ previous = SelectObject(context, windowFont_);
    const std::wstring text = WindowText(label);
    SIZE extent{};
    GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(context, previous);
    ReleaseDC(label, context);
    if (extent.cx > box.width)
        SetWindowPos(label, nullptr, 0, 0, extent.cx, box.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK Win32Form1::windowProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* form = reinterpret_cast<Win32Form1*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form || !form->window_)
        return DefWindowProcW(window, message, wParam, lParam);
    return form->handle(message, wParam, lParam);
}

LRESULT Win32Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
        return 0;
    case WM_SETCURSOR:
        if (HIWORD(lParam) == WM_MOUSEMOVE)
            onMouseMove(reinterpret_cast<HWND>(wParam));
        if (showCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam)))
            return TRUE;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(white_);
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        layOut();
        return 0;
    }
    case WM_CLOSE:
        // During an action the request goes to the action, which ends; the
        // window closes after it.
        if (waiting_) {
            if (auto asked = std::exchange(closeAsked_, nullptr))
                asked();
            return 0;
        }
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

const Form1::Events* Win32Form1::eventsOf(HWND control) const {
    // A control's own parts (a drop-down's field) count as the control.
    while (control && GetParent(control) != window_)
        control = GetParent(control);
    const int which = GetDlgCtrlID(control) - firstControlId;
    for (const Form1::Events& events : Form1::events)
        if (static_cast<int>(events.control) == which)
            return &events;
    return nullptr;
}

void Win32Form1::onCommand(HWND from, int code) {
    const Form1::Events* events = eventsOf(from);
    if (code == BN_CLICKED && events && events->click)
        (logic_.*events->click)();
}

void Win32Form1::onMouseMove(HWND under) {
    if (under == window_ || under == control(Control::Frame1)) {
        // Frame1 may let the mouse through to the window: its own area is
        // told from the background by where the mouse is.
        POINT at{};
        GetCursorPos(&at);
        RECT frame{};
        GetWindowRect(control(Control::Frame1), &frame);
        if (PtInRect(&frame, at))
            logic_.Frame1_MouseMove();
        else
            logic_.Form_MouseMove();
        return;
    }
    const Form1::Events* events = eventsOf(under);
    if (events && events->mouseMove)
        (logic_.*events->mouseMove)();
}

HCURSOR Win32Form1::cursorFor(int value) const {
    if (value == WindowPointer::Hourglass)
        return LoadCursorW(nullptr, IDC_WAIT);
    if (value == WindowPointer::Custom && customCursor_)
        return customCursor_;
    return LoadCursorW(nullptr, IDC_ARROW);
}

bool Win32Form1::showCursor(HWND under, int hit) {
    // The window's pointer shows over every control; the default lets each
    // show its own (a text box its I-beam), and the title bar is the
    // system's.
    if (pointer_ == WindowPointer::Default || (under == window_ && hit != HTCLIENT))
        return false;
    SetCursor(cursorFor(pointer_));
    return true;
}

void Win32Form1::setCaption(const std::string& caption) {
    SetWindowTextW(window_, Wide(caption).c_str());
}

void Win32Form1::centreOnScreen() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form1::loadCustomPointer(const std::filesystem::path& file) {
    customCursor_ = LoadCursorFromFileW(file.c_str());
}

void Win32Form1::showPointer(int value) {
    pointer_ = value;
    POINT at{};
    GetCursorPos(&at);
    HWND under = WindowFromPoint(at);
    if (under == window_ || IsChild(window_, under))
        SetCursor(value == WindowPointer::Default ? LoadCursorW(nullptr, IDC_ARROW)
                                                  : cursorFor(value));
}

void Win32Form1::closeSoon() {
    // Posted, so the handler under way finishes before the window goes.
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

std::string Win32Form1::text(Control box) const {
    return Utf8(WindowText(control(box)));
}

void Win32Form1::setText(Control box, const std::string& text) {
    SetWindowTextW(control(box), Wide(text).c_str());
}

int Win32Form1::value(Control which) const {
    return SendMessageW(control(which), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32Form1::setValue(Control which, int value) {
    SendMessageW(control(which), BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int Win32Form1::columnCount() const {
    return static_cast<int>(SendMessageW(control(Control::List1), LB_GETCOUNT, 0, 0));
}

bool Win32Form1::isColumnSelected(int index) const {
    return SendMessageW(control(Control::List1), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void Win32Form1::selectColumn(int index, bool selected) {
    SendMessageW(control(Control::List1), LB_SETSEL, selected ? TRUE : FALSE, index);
}

void Win32Form1::setColumns(const std::vector<std::string>& names) {
    HWND list = control(Control::List1);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : names)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
}

void Win32Form1::addColour(const std::string& name, dupes::HighlightColour colour) {
    HWND combo = control(Control::Combo1);
    const LRESULT at =
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
    SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(colour));
}

void Win32Form1::chooseColourAt(int index) {
    SendMessageW(control(Control::Combo1), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::optional<dupes::HighlightColour> Win32Form1::chosenColour() const {
    HWND combo = control(Control::Combo1);
    const LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR)
        return std::nullopt;
    return static_cast<dupes::HighlightColour>(
        SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

void Win32Form1::makeProgressBarWhite() {
    SendMessageW(control(Control::ProgressBar1), PBM_SETBKCOLOR, 0, 0x00FFFFFF);
}

void Win32Form1::setProgress(int percent) {
    SendMessageW(control(Control::ProgressBar1), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

std::string Win32Form1::askForWorkbookFile(const std::string&) {
    std::wstring file(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = L"All Excel Files (*.xl*)\0*.xl*\0";
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = L"Select Excel File";
    // A typed name of a missing file is accepted: the block-choosing button
    // reports it later, with its own message.
    dialog.Flags = OFN_READONLY | OFN_EXPLORER | OFN_LONGNAMES;
    if (!GetOpenFileNameW(&dialog))
        return {};
    return Utf8(file.c_str());
}

void Win32Form1::showMessage(const std::string& title, const std::string& text) {
    MessageBoxW(window_, Wide(text).c_str(), Wide(title).c_str(), MB_OK);
}

void Win32Form1::waitWithoutInput(const std::function<bool()>& done,
                                  const std::function<void()>& tick,
                                  const std::function<void()>& closeAsked) {
    waiting_ = true;
    closeAsked_ = closeAsked;
    while (!done()) {
        tick();
        MsgWaitForMultipleObjectsEx(0, nullptr, 15, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                // For the main loop, once the action is over.
                PostQuitMessage(static_cast<int>(message.wParam));
                break;
            }
            // Swallowed, not queued: a click during the action must not
            // start another one after it.
            if (IsUserInput(message.message) &&
                (message.hwnd == window_ || IsChild(window_, message.hwnd)))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    waiting_ = false;
    closeAsked_ = nullptr;
}
