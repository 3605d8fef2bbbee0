#pragma once
// What reading the script needs from the window system. The main screen
// implements it with GDI and real button windows; unit tests fake it.
#include <string>

#include "script/screen_model.h"

struct TextExtent {
    int width = 0;
    int height = 0;
};

// The fields of a FONT entry, applied over the default GUI font.
struct FontChanges {
    int height = 0;
    bool hasHeight = false;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::string faceName;  // at most 31 characters
    bool hasFaceName = false;
};

class ScriptHost {
public:
    virtual ~ScriptHost() = default;
    // A new font from the default GUI font with the changes; null on failure.
    virtual FontHandle CreateScriptFont(const FontChanges& changes) = 0;
    virtual void DeleteScriptFont(FontHandle font) = 0;
    // Extent of the text as one run, in the font that draws it (the system
    // font when null).
    virtual TextExtent MeasureText(FontHandle font, const std::string& text) = 0;
    // Loads the background picture and sizes the screen to it. A picture
    // that does not load changes nothing.
    virtual void SetBackgroundBitmap(const std::string& path) = 0;
    // The shared picture for a button, from the cache; frame size out. The
    // name is the picture field as written: the cache trims, upper-cases and
    // resolves it. Null when the cache is full; the frame size is then unused.
    virtual DibBitmap* GetButtonBitmap(const std::string& name, int* frameWidth,
                                       int* frameHeight) = 0;
    // Makes (or, for a slot that has one, moves) the window of a button.
    virtual bool CreateButtonWindow(int slot) = 0;
    // Removes the window of a button whose record is being dropped.
    virtual void DestroyButtonWindow(int slot) = 0;
    // The button becomes the focus button and takes the keyboard focus.
    virtual void FocusButton(int slot) = 0;
    // Called once when the whole script has been read.
    virtual void CheckSingleInstance(int runMultiple) = 0;
};
