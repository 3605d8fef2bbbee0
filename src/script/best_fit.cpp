#include "script/best_fit.h"

namespace {

struct BestFit {
    unsigned short codePage;
    char16_t written;
    char16_t held;  // a character the code page holds exactly
};

constexpr BestFit kBestFits[] = {
    {932, u'\u00A2', u'\uFFE0'}, {932, u'\u00A3', u'\uFFE1'}, {932, u'\u00A5', u'\\'},
    {932, u'\u00AC', u'\uFFE2'}, {932, u'\u2014', u'\u2015'}, {932, u'\u2016', u'\u2225'},
    {932, u'\u203E', u'~'},      {932, u'\u2212', u'\uFF0D'}, {932, u'\u301C', u'\uFF5E'},
    {936, u'\u00A2', u'\uFFE0'}, {936, u'\u00A3', u'\uFFE1'}, {936, u'\u00A5', u'\uFFE5'},
    {936, u'\u203E', u'\uFFE3'},
    {949, u'\u00A2', u'\uFFE0'}, {949, u'\u00A3', u'\uFFE1'}, {949, u'\u00A5', u'\uFFE5'},
    {949, u'\u00AC', u'\uFFE2'}, {949, u'\u20A9', u'\\'},     {949, u'\u203E', u'~'},
    {950, u'\u00A2', u'\uFFE0'}, {950, u'\u00A3', u'\uFFE1'}, {950, u'\u00A5', u'\uFFE5'},
    {950, u'\u2016', u'\u2225'}, {950, u'\u203E', u'\uFFE3'}, {950, u'\u301C', u'\uFF5E'},
};

}  // namespace

void FitToCodePage(unsigned codePage, std::u16string* text) {
    for (char16_t& character : *text) {
        if (character < 0xA0) continue;
        for (const BestFit& fit : kBestFits) {
            if (fit.codePage == codePage && fit.written == character) character = fit.held;
        }
    }
}
