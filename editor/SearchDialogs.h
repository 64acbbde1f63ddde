#pragma once

#include "Dialog.h"
#include "UserPrompts.h"

#include <string>

// Asks for the text to search for. Opens empty and case-insensitive every time.
class CSearch : public CDialog {
public:
    explicit CSearch(HWND owner);

    std::wstring Text;
    bool CaseSensitive = false;

protected:
    void DoDataExchange(DataExchange& dx) override;
};

// Asks for an index number from 0 to MaxIndex; anything else is refused with a message and the
// dialog stays open on the field.
class CGoIndex : public CDialog {
public:
    static constexpr unsigned MaxIndex = 10000;

    CGoIndex(UserPrompts& prompts, HWND owner);

    unsigned Index = 0;

protected:
    void DoDataExchange(DataExchange& dx) override;
    void OnOK() override;

private:
    void Refuse(const std::wstring& reason);

    UserPrompts& prompts_;
};
