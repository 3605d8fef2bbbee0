// The meanings of the script's words, one line each, as the designer shows
// them beside a field and the script reference prints them. Ids name a
// section, a tag, "SECTION KEY", "SECTION KEY field" or "... WORD" for a
// word a field takes, and "... for KINDS" where a field of a button means
// something else for that kind. The vocabulary's test fails on a word of
// the reader that has no line here, and on a line no word asks for.
#include <cstring>

#include "reading/vocabulary.h"

namespace {

struct Meaning {
    const char* id;
    const char* meaning;
};

const Meaning kMeanings[] = {
    // Sections.
    {"[BEGIN]", "The screen's settings; nothing before the first [BEGIN] is read."},
    {"[TEXT]", "The numbered texts: captions of buttons and texts drawn on the screen."},
    {"[BUTTON]", "The numbered buttons: push buttons, exit buttons, OK buttons and check boxes."},
    {"[REFERENCE]", "Words a button's command gets from checked check boxes; after the button it names."},
    {"[IGNOREWAITPROCESS]", "Programs that waiting for a button's command does not wait for; after the button."},
    {"[INSTALLMESSAGE]", "The notice shown while a button's command starts; after the button it names."},
    {"[MESSAGE]", "The message shown when a button's command cannot be started; after the button."},
    {"[EXTRATEXT]", "A second text drawn and highlighted with a button; after the button it names."},
    {"[REBOOTED]", "Commands run hidden at once, as after a restart; the script is deleted after reading."},
    {"[RUN]", "Commands run hidden at once, as a chain, without showing the screen."},
    {"[END]", "Reading stops here; nothing after it is read."},

    // Selector tags after a section's name.
    {"[WIN95]", "Only on Windows 95."},
    {"[WIN98]", "Only on Windows 98 (not Second Edition)."},
    {"[WIN98SE]", "Only on Windows 98 Second Edition."},
    {"[WINME]", "Only on Windows ME."},
    {"[WINNT]", "Only on Windows NT 4 and earlier NT."},
    {"[WIN2K]", "Only on Windows 2000 (and XP, which reports version 5 too)."},
    {"[ENG]", "Only on an English system."},
    {"[CHS]", "Only on a Chinese system other than traditional Chinese."},
    {"[CHT]", "Only on a traditional Chinese system."},
    {"[FRN]", "Only on a French system."},
    {"[GER]", "Only on a German system."},
    {"[SWE]", "Only on a Swedish system."},
    {"[SPA]", "Only on a Spanish system."},
    {"[BRZ]", "Only on a Brazilian Portuguese system."},
    {"[JPN]", "Only on a Japanese system."},
    {"[ITA]", "Only on an Italian system."},
    {"[THAI]", "Only on a Thai system."},
    {"[KOREAN]", "Only on a Korean system."},
    {"[DUT]", "Only on a Dutch system."},
    {"[DAN]", "Only on a Danish system."},
    {"[FIN]", "Only on a Finnish system."},
    {"[NOR]", "Only on a Norwegian system."},
    {"[POR]", "Only on a Portuguese system other than Brazilian."},
    {"[DEFAULT]", "Only on a system whose language has no tag of its own."},

    // [BEGIN].
    {"[BEGIN] TITLE", "The window's title and the caption of the program's message boxes."},
    {"[BEGIN] FONT", "Font n (0 to 31) for texts: a face name, a height and BOLD, ITALIC, UNDERLINE, STRIKEOUT in any order; the last entry for a number counts."},
    {"[BEGIN] INTROBITMAP", "The background picture (a Windows bitmap); the window takes its size."},
    {"[BEGIN] RUNMULTIPLE", "Whether a second copy of the program may open a second screen."},
    {"[BEGIN] RUNMULTIPLE NO", "A second copy brings the first screen to the front instead."},
    {"[BEGIN] RUNMULTIPLE YES", "Every copy opens its own screen."},
    {"[BEGIN] INTROSOUND", "A sound played when the screen opens."},
    {"[BEGIN] INTROSOUND sound", "The sound file, played when the screen opens."},
    {"[BEGIN] INTROSOUND seconds", "For how many seconds no hover sound cuts the intro sound off."},
    {"[BEGIN] TRAPREBOOTMODE", "How the trap message asks when a held-back restart is trapped."},
    {"[BEGIN] TRAPREBOOTMODE OK", "The trap message is shown with OK; the restart is offered after the chain."},
    {"[BEGIN] TRAPREBOOTMODE YESNO", "The trap message asks Yes or No (any word but OK does); Yes restarts at once."},
    {"[BEGIN] TRAPREBOOT", "The message shown when a listed button's installer asks for a restart that is held back; \\r\\n breaks a line."},
    {"[BEGIN] FINALREBOOT", "The question asked after the chain when a restart was held back; \\r\\n breaks a line."},
    {"[BEGIN] ALLOWREBOOT", "The message shown before the program restarts the machine itself to resume the chain; \\r\\n breaks a line."},
    {"[BEGIN] TRAPREBOOTBUTTONS", "Buttons (numbers, by commas) whose installers' restarts are held back until the chain ends."},
    {"[BEGIN] ALLOWREBOOTBUTTONS", "Buttons (numbers, by commas) whose installers may restart; the chain resumes after the restart."},

    // [TEXT].
    {"[TEXT] TEXT", "Text n (1 to 31): the first entry for a number counts."},
    {"[TEXT] TEXT text", "The words shown; \\r\\n breaks a line."},
    {"[TEXT] TEXT highlight colour", "The colour of the words while their button is highlighted."},
    {"[TEXT] TEXT normal colour", "The colour of the words otherwise; blank or HIDE shows them only while highlighted."},
    {"[TEXT] TEXT normal colour HIDE", "Shown only while highlighted; the background comes back afterwards."},
    {"[TEXT] TEXT normal colour HELP", "Shown only while highlighted, and left standing until another text covers it."},
    {"[TEXT] TEXT highlight background", "The colour filled behind the words while highlighted; blank for none."},
    {"[TEXT] TEXT font", "The number of a FONT entry of [BEGIN]; none for the system's font."},
    {"[TEXT] TEXT x", "The left edge in pixels; blank with y blank puts a caption beside its button."},
    {"[TEXT] TEXT y", "The top edge in pixels; blank with x blank puts a caption beside its button."},
    {"[TEXT] TEXT width", "The width in pixels; 0 works it out from the words in their font."},
    {"[TEXT] TEXT height", "The height in pixels; 0 works it out from the lines in their font."},

    // [BUTTON].
    {"[BUTTON] BUTTON", "Button n (1 to 31); the number also orders the chain of check boxes."},
    {"[BUTTON] BUTTON kind", "What the button is."},
    {"[BUTTON] BUTTON kind PUSHBUTTON", "Starts its command when clicked."},
    {"[BUTTON] BUTTON kind EXITBUTTON", "Closes the screen."},
    {"[BUTTON] BUTTON kind OKBUTTON", "Runs the commands of the checked check boxes in number order."},
    {"[BUTTON] BUTTON kind CHECKBOX", "Marks its command for the OK button's chain."},
    {"[BUTTON] BUTTON x", "The left edge of the picture in pixels."},
    {"[BUTTON] BUTTON y", "The top edge of the picture in pixels."},
    {"[BUTTON] BUTTON width", "The width of the hit area; a picture makes it at least one frame wide."},
    {"[BUTTON] BUTTON height", "The height of the hit area; a picture makes it at least its height."},
    {"[BUTTON] BUTTON state", "How the button starts."},
    {"[BUTTON] BUTTON state for buttons", "How the button starts: FOCUS takes the keyboard focus, DISABLE ignores clicks."},
    {"[BUTTON] BUTTON state for check boxes", "Whether the box starts checked; DISABLE ignores clicks."},
    {"[BUTTON] BUTTON state NORMAL", "Shown at rest."},
    {"[BUTTON] BUTTON state FOCUS", "Takes the keyboard focus and is drawn highlighted when the screen opens."},
    {"[BUTTON] BUTTON state DISABLE", "Drawn with its fourth frame; clicks do nothing."},
    {"[BUTTON] BUTTON state UNCHECK", "The check box starts unchecked."},
    {"[BUTTON] BUTTON state CHECK", "The check box starts checked."},
    {"[BUTTON] BUTTON state HIDE", "Reads as -1: a button at rest, a check box unchecked (the word is meant for colours)."},
    {"[BUTTON] BUTTON state HELP", "Reads as -2: a button at rest, a check box unchecked (the word is meant for colours)."},
    {"[BUTTON] BUTTON state for check boxes DISABLE", "Drawn unchecked; clicks do nothing."},
    {"[BUTTON] BUTTON option", "What the button does around its command; its meaning depends on the kind."},
    {"[BUTTON] BUTTON option NO", "0: see the meaning for the button's kind."},
    {"[BUTTON] BUTTON option YES", "1: see the meaning for the button's kind."},
    {"[BUTTON] BUTTON option SHOW", "2: for push buttons only."},
    {"[BUTTON] BUTTON option for push buttons", "How the screen waits for the command."},
    {"[BUTTON] BUTTON option for push buttons NO", "The screen hides, waits for the program, and comes back."},
    {"[BUTTON] BUTTON option for push buttons YES", "The screen hides and closes; nothing waits."},
    {"[BUTTON] BUTTON option for push buttons SHOW", "The screen stays visible, waits for the program, and goes on."},
    {"[BUTTON] BUTTON option for exit buttons", "Not used: an exit button closes the screen."},
    {"[BUTTON] BUTTON option for OK buttons", "What the screen does after the chain."},
    {"[BUTTON] BUTTON option for OK buttons NO", "The screen comes back after the chain."},
    {"[BUTTON] BUTTON option for OK buttons YES", "The screen closes after the chain."},
    {"[BUTTON] BUTTON option for check boxes", "Whether the chain waits for this command before the next."},
    {"[BUTTON] BUTTON option for check boxes NO", "The next command starts at once."},
    {"[BUTTON] BUTTON option for check boxes YES", "The chain waits for this program before the next."},
    {"[BUTTON] BUTTON picture", "A bitmap of four frames side by side: rest, pressed, highlighted, disabled (check boxes: unchecked, unchecked lit, checked, checked lit)."},
    {"[BUTTON] BUTTON caption", "The number of the text drawn as the button's caption and highlighted with it."},
    {"[BUTTON] BUTTON caption placement", "Where a caption without a position of its own goes."},
    {"[BUTTON] BUTTON caption placement (blank)", "To the right of the button, centred on it."},
    {"[BUTTON] BUTTON caption placement LEFT", "To the left of the button, centred on it."},
    {"[BUTTON] BUTTON caption placement MERGE", "Where the text says; the hit area takes in both button and text."},
    {"[BUTTON] BUTTON hover sound", "A sound played when the button is highlighted."},
    {"[BUTTON] BUTTON command", "The program or document started, with its arguments; a document opens with its program."},

    // The sections of a button.
    {"[REFERENCE] BUTTON", "For button n: pairs of a check box number and a word added to the command when that box is checked."},
    {"[REFERENCE] BUTTON button number", "A check box whose being checked adds the word."},
    {"[REFERENCE] BUTTON word", "The word added to the command line, after a space."},
    {"[IGNOREWAITPROCESS] BUTTON", "For button n: programs (by commas) that waiting for its command leaves out."},
    {"[IGNOREWAITPROCESS] BUTTON process", "The file name of a program not waited for."},
    {"[INSTALLMESSAGE] BUTTON", "For button n: the notice shown while its command starts; \\r\\n breaks a line."},
    {"[MESSAGE] BUTTON", "For button n: shown with Abort, Retry, Ignore when its command cannot start; \\r\\n breaks a line."},
    {"[EXTRATEXT] BUTTON", "For button n: the number of a second text drawn and highlighted with it."},

    // The chains run at once.
    {"[REBOOTED] BUTTON", "Member n of the chain run after a restart."},
    {"[REBOOTED] BUTTON command", "The program or document started, with its arguments."},
    {"[REBOOTED] BUTTON wait", "Whether the chain waits for it before the next member; the last of these fields counts."},
    {"[REBOOTED] BUTTON wait NO", "The next member starts at once."},
    {"[REBOOTED] BUTTON wait YES", "The chain waits for this program before the next."},
    {"[RUN] BUTTON", "Member n of the chain run at once, with the screen hidden."},
    {"[RUN] BUTTON command", "The program or document started, with its arguments."},
    {"[RUN] BUTTON wait", "Whether the chain waits for it before the next member; the last of these fields counts."},
    {"[RUN] BUTTON wait NO", "The next member starts at once."},
    {"[RUN] BUTTON wait YES", "The chain waits for this program before the next."},
};

}  // namespace

const char* MeaningOf(const std::string& id) {
    for (const Meaning& meaning : kMeanings) {
        if (id == meaning.id) return meaning.meaning;
    }
    return nullptr;
}

std::vector<std::string> MeaningIds() {
    std::vector<std::string> ids;
    for (const Meaning& meaning : kMeanings) ids.push_back(meaning.id);
    return ids;
}
