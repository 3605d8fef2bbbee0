#include "reading/systems.h"

#include <cctype>

namespace {

const SystemLanguage kLanguages[] = {
    {"en", "en_US.UTF-8", 0x0409, 1252},    {"de", "de_DE.UTF-8", 0x0407, 1252},
    {"fr", "fr_FR.UTF-8", 0x040C, 1252},    {"es", "es_ES.UTF-8", 0x0C0A, 1252},
    {"it", "it_IT.UTF-8", 0x0410, 1252},    {"nl", "nl_NL.UTF-8", 0x0413, 1252},
    {"sv", "sv_SE.UTF-8", 0x041D, 1252},    {"da", "da_DK.UTF-8", 0x0406, 1252},
    {"fi", "fi_FI.UTF-8", 0x040B, 1252},    {"nb", "nb_NO.UTF-8", 0x0414, 1252},
    {"no", "nb_NO.UTF-8", 0x0414, 1252},    {"pt", "pt_PT.UTF-8", 0x0816, 1252},
    {"pt-BR", "pt_BR.UTF-8", 0x0416, 1252}, {"ja", "ja_JP.UTF-8", 0x0411, 932},
    {"ko", "ko_KR.UTF-8", 0x0412, 949},     {"zh-CN", "zh_CN.UTF-8", 0x0804, 936},
    {"zh-TW", "zh_TW.UTF-8", 0x0404, 950},  {"th", "th_TH.UTF-8", 0x041E, 874},
    {"el", "el_GR.UTF-8", 0x0408, 1253},    {"ru", "ru_RU.UTF-8", 0x0419, 1251},
    {"pl", "pl_PL.UTF-8", 0x0415, 1250},    {"cs", "cs_CZ.UTF-8", 0x0405, 1250},
    {"hu", "hu_HU.UTF-8", 0x040E, 1250},    {"tr", "tr_TR.UTF-8", 0x041F, 1254},
};

// The values of GetVersionExA that Wine reports for each Version value.
const WindowsSystem kWindows[] = {
    {"95", "win95", 1, {1, 4, 0, 0x040003B6}},   {"98", "win98fe", 2, {1, 4, 10, 0x040A07CE}},
    {"98se", "win98", 3, {1, 4, 10, 0x040A08AE}}, {"me", "winme", 4, {1, 4, 90, 0x045A0BB8}},
    {"nt4", "nt40", 5, {2, 4, 0, 1381}},          {"2000", "win2k", 6, {2, 5, 0, 2195}},
    {"xp", "winxp", 6, {2, 5, 1, 2600}},          {"later", "", 0, {2, 6, 1, 7601}},
};

// "pt-BR", "pt_br" and "PT-BR" are one code.
bool SameCode(const std::string& typed, const char* code) {
    std::string a;
    for (char ch : typed) a += ch == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    std::string b;
    for (const char* p = code; *p; ++p) b += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return a == b;
}

}  // namespace

const SystemLanguage* FindSystemLanguage(const std::string& code) {
    for (const SystemLanguage& language : kLanguages) {
        if (SameCode(code, language.code)) return &language;
    }
    return nullptr;
}

const WindowsSystem* FindWindowsSystem(const std::string& name) {
    for (const WindowsSystem& windows : kWindows) {
        if (SameCode(name, windows.name)) return &windows;
    }
    return nullptr;
}

std::string SystemLanguageCodes() {
    std::string codes;
    for (const SystemLanguage& language : kLanguages) codes += std::string(codes.empty() ? "" : ", ") + language.code;
    return codes;
}

std::string WindowsSystemNames() {
    std::string names;
    for (const WindowsSystem& windows : kWindows) names += std::string(names.empty() ? "" : ", ") + windows.name;
    return names;
}
