#include "DataExchange.h"

#include <cwchar>

void DataExchange::Fail(int controlId) {
    Failed = true;
    HWND control = GetDlgItem(Dialog, controlId);
    SetFocus(control);
    SendMessageW(control, EM_SETSEL, 0, -1);
    MessageBeep(MB_ICONHAND);
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void DdxText(DataExchange& dx, int controlId, std::wstring& text) {
    HWND control = GetDlgItem(dx.Dialog, controlId);
    if (dx.Save)
        text = WindowText(control);
    else
        SetWindowTextW(control, text.c_str());
}

void DdxNumber(DataExchange& dx, int controlId, unsigned& number) {
    HWND control = GetDlgItem(dx.Dialog, controlId);
    if (!dx.Save) {
        SetWindowTextW(control, std::to_wstring(number).c_str());
        return;
    }
    std::wstring text = WindowText(control);
    unsigned long long parsed = 0;
    bool valid = !text.empty() && text.size() <= 10;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            valid = false;
            break;
        }
        parsed = parsed * 10 + static_cast<unsigned>(c - L'0');
    }
    if (!valid || parsed > 0xFFFFFFFFull) {
        dx.Fail(controlId);
        return;
    }
    number = static_cast<unsigned>(parsed);
}

void DdxRadio(DataExchange& dx, int firstId, int& index) {
    HWND button = GetDlgItem(dx.Dialog, firstId);
    if (dx.Save)
        index = -1;
    for (int i = 0; button; ++i) {
        if (dx.Save) {
            if (SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                index = i;
        } else {
            SendMessageW(button, BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        button = GetDlgItem(dx.Dialog, firstId + i + 1);
        if (button && (GetWindowLongW(button, GWL_STYLE) & WS_GROUP))
            break;
    }
}

void DdxCheck(DataExchange& dx, int controlId, bool& checked) {
    HWND box = GetDlgItem(dx.Dialog, controlId);
    if (dx.Save)
        checked = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    else
        SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}
