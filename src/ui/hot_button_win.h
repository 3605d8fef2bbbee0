#pragma once
// An owner-drawn button of the screen: a hit area and focus holder whose
// pictures and texts are drawn straight onto the screen's surface.
#include "script/screen_model.h"
#include "ui/button_host_win.h"
#include "win/button_window.h"

class Machine;

class HotButton : public ButtonWindow {
public:
    // The machine resolves the hover sound's file name.
    HotButton(ButtonHost& host, ScreenItem& item, Machine& machine);

    ScreenItem& Item() { return item_; }

    // Makes the window from the item's window rectangle; for a button that
    // has one already, moves and resizes it.
    bool CreateButtonWindow();
    // Gives the window the name a screen reader speaks for the button, once
    // the script has been read (its texts may follow its entry).
    void NameForReaders();

    // Draws the frame for the current state onto the screen, and with
    // withTexts also the caption and the extra text. With a device context
    // given, draws into that one instead, in the screen's client
    // coordinates: the picture and texts lie where the script puts them,
    // not inside the button's window.
    void DrawButton(bool highlighted, bool withTexts, HDC given = nullptr);
    // Whether the mouse pointer lies in the button's hit area.
    bool IsCursorInside() const;
    // What a click does.
    void Activate();
    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    void OnMouseMove(UINT keys, POINTS at);
    bool OnEraseBackground(HDC context);
    void OnLeftButtonDown(UINT keys, POINTS at);
    void OnLeftButtonUp(UINT keys, POINTS at);
    void OnKeyUp(UINT key);
    void OnSetFocus(HWND previous);
    void OnKillFocus(HWND next);
    UINT OnGetCheck();
    void OnPrintClient(HDC given);
    LRESULT OnGetObject(WPARAM flags, LONG objectId);

    ButtonHost& host_;
    ScreenItem& item_;
    Machine& machine_;
    // From a left-button press on this button until its release, or until
    // the button loses the focus.
    int pressed_ = 0;
};
