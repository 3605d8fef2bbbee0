#!/usr/bin/env bash
# The message tables refuse mistakes at compile time: each case below is a
# window class's constructor that must not compile, with a piece of the
# compiler's message that says why; the cases marked "compiles" must, so
# that a refusal for any other reason (a missing header, a typo here)
# cannot pass for one.
# Prints "ok CASE" or "FAIL CASE" a line; exits 1 when anything failed.
set -u
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
CXX=${CXX_WINDOWS:-x86_64-w64-mingw32-g++-win32}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Two window classes whose constructors the cases write.
prelude='#include "win/button_window.h"
#include "win/dialog_window.h"
class Button : public ButtonWindow {
public:
    Button();
    void OnKeyUp(UINT key);
    void OnSetFocus(HWND previous);
    void OnNothing();
};
class Dialog : public DialogWindow {
public:
    Dialog();
    void OnPaint(HDC given);
    HBRUSH OnControlColour(HDC context, HWND control);
};
Dialog::Dialog() : DialogWindow(1, nullptr) {}
'

failures=0
# expect NAME WANTED CONSTRUCTOR: WANTED is "compiles" or a piece of the
# compiler's message.
expect() {
  local name=$1 wanted=$2 body=$3 source="$work/case.cpp" output
  printf '%s\n%s\n' "$prelude" "$body" >"$source"
  if output=$("$CXX" -std=c++17 -fsyntax-only -DWINVER=0x0400 -D_WIN32_WINNT=0x0400 \
      -DWIN32_LEAN_AND_MEAN -I"$ROOT/src" -I"$ROOT/res" "$source" 2>&1); then
    if [ "$wanted" = compiles ]; then echo "ok $name"; return; fi
    echo "FAIL $name: compiled"
  else
    if [ "$wanted" != compiles ] && grep -qF -- "$wanted" <<<"$output"; then
      echo "ok $name"
      return
    fi
    echo "FAIL $name: wanted '$wanted'"
    head -n 20 <<<"$output" | sed 's/^/    /'
  fi
  failures=$((failures + 1))
}

signature="the handler is not one of this window class with the message's signature"
base="the window's base class handles this message itself"

expect "a button's table of the right handlers" compiles \
  'Button::Button() { UseMessages(this, MessageTable<Button, On<WM_KEYUP, &Button::OnKeyUp, kThenDefault>, On<WM_SETFOCUS, &Button::OnSetFocus>>()); }'
expect "a dialog's colour answer" compiles \
  'struct D2 : Dialog { D2() { UseMessages(this, MessageTable<D2, On<WM_CTLCOLORDLG, &D2::Colour>>()); } HBRUSH Colour(HDC, HWND) { return nullptr; } };'
expect "a handler of another message's signature" "$signature" \
  'Button::Button() { UseMessages(this, MessageTable<Button, On<WM_SETFOCUS, &Button::OnKeyUp>>()); }'
expect "a handler without the message's arguments" "$signature" \
  'Button::Button() { UseMessages(this, MessageTable<Button, On<WM_KEYUP, &Button::OnNothing>>()); }'
expect "a handler of another class" "$signature" \
  'Button::Button() { UseMessages(this, MessageTable<Button, On<WM_PAINT, &Dialog::OnPaint>>()); }'
expect "another class's table" "no matching function" \
  'Button::Button() { UseMessages(this, MessageTable<Dialog, On<WM_PAINT, &Dialog::OnPaint>>()); }'
expect "a button's entry for its last message" "$base" \
  'Button::Button() { UseMessages(this, MessageTable<Button, On<WM_NCDESTROY, &Button::OnNothing>>()); }'
expect "a dialog's entry for its initialisation" "$base" \
  'struct D2 : Dialog { D2() { UseMessages(this, MessageTable<D2, On<WM_INITDIALOG, &D2::Init>>()); } void Init() {} };'
expect "a message without a cracker" "incomplete type" \
  'Button::Button() { UseMessages(this, MessageTable<Button, On<WM_TIMER, &Button::OnNothing>>()); }'

echo "table refusals: $failures failed"
[ "$failures" -eq 0 ]
