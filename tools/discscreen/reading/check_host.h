#pragma once
// The window system of a checker's reading: fonts are counted, text is
// measured at a fixed size, pictures are read from the disc with the
// program's own bitmap parser, and windows always "succeed".
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <cstdint>

#include "reading/disc_folder.h"
#include "script/script_host.h"

// What the program would make of one picture file.
struct PictureCheck {
    DiscFile file;
    bool loads = false;
    std::string refusal;  // why it does not load
    std::string olderWindows;  // why Windows 95, 98 and ME do not show it, or ""
    int width = 0;
    int height = 0;
};

PictureCheck CheckPictureFile(const DiscFolder& disc, const std::string& windowsPath);

// The colour masks of a bit-field picture (red, green, blue), read where the
// program reads them. Windows 95, 98 and ME draw only 5-5-5 and 5-6-5 for 16
// bits and 8-8-8 for 32; the NT family draws any masks.
struct ColourMasks {
    std::uint32_t red = 0, green = 0, blue = 0;
};
ColourMasks BitfieldMasks(const unsigned char* info, int bitCount, std::uint32_t compression);
bool OlderWindowsDrawMasks(const ColourMasks& masks, int bitCount);

class CheckHost : public ScriptHost {
public:
    CheckHost(const DiscFolder& disc, Machine& machine) : disc_(disc), machine_(machine) {}

    bool hasBackground = false;
    int backgroundWidth = 0;
    int backgroundHeight = 0;
    std::string backgroundPath;  // the background shown: the last one that loads
    std::vector<std::string> namedBackgrounds;  // every one the script names, loaded or not

    // The button pictures' paths in the order the program loads them.
    std::vector<std::string> ButtonPictures() const {
        return std::vector<std::string>(keys_.begin(), keys_.begin() + used_);
    }

    FontHandle CreateScriptFont(const FontChanges&) override;
    void DeleteScriptFont(FontHandle) override {}
    TextExtent MeasureText(FontHandle font, const std::string& text) override;
    void SetBackgroundBitmap(const std::string& path) override;
    DibBitmap* GetButtonBitmap(const std::string& name, int* frameWidth, int* frameHeight) override;
    bool CreateButtonWindow(int) override { return true; }
    void DestroyButtonWindow(int) override {}
    void FocusButton(int) override {}
    void CheckSingleInstance(int) override {}

private:
    const DiscFolder& disc_;
    Machine& machine_;
    int fonts_ = 0;
    // The button picture cache: keys in the order the program fills its slots.
    std::array<std::string, 32> keys_;
    std::array<PictureCheck, 32> pictures_;
    std::size_t used_ = 0;
};
