#include "script/machine_settings.h"

#include <gtest/gtest.h>

#include "fake_machine.h"

TEST(ReadMachineSetting, OnlyUsableStrings) {
    FakeMachine machine;
    const std::string key = "SOFTWARE\\X";
    auto raw = [&](const std::string& name, unsigned long type, const std::string& bytes) {
        RegistryValue value;
        value.type = type;
        value.data.assign(bytes.begin(), bytes.end());
        machine.keys.insert(key);
        machine.values[key + "|" + name] = value;
    };
    raw("plain", kRegString, std::string("C:\\SUPPORT\0", 11));
    raw("expand", kRegExpandString, std::string("C:\\E\0", 5));
    raw("unterminated", kRegString, "C:\\NOEND");
    raw("dword", 4, std::string("\x01\x00\x00\x00", 4));
    raw("binary", 3, "C:\\BIN");
    raw("empty", kRegString, std::string("\0", 1));
    raw("long", kRegString, std::string(600, 'x') + '\0');
    raw("fits", kRegString, std::string(519, 'y') + '\0');
    raw("embedded", kRegString, std::string("AB\0CD\0", 6));
    struct Case {
        const char* key;
        const char* name;
        bool ok;
        std::string text;
    } cases[] = {
        {"SOFTWARE\\X", "plain", true, "C:\\SUPPORT"},
        {"SOFTWARE\\X", "expand", true, "C:\\E"},
        {"SOFTWARE\\X", "unterminated", true, "C:\\NOEND"},
        {"SOFTWARE\\X", "dword", false, ""},
        {"SOFTWARE\\X", "binary", false, ""},
        {"SOFTWARE\\X", "empty", false, ""},
        {"SOFTWARE\\X", "long", false, ""},
        {"SOFTWARE\\X", "fits", true, std::string(519, 'y')},
        {"SOFTWARE\\X", "embedded", true, "AB"},
        {"SOFTWARE\\X", "missing", false, ""},
        {"SOFTWARE\\NOKEY", "plain", false, ""},
    };
    for (const Case& c : cases) {
        std::string out = "stale";
        EXPECT_EQ(ReadMachineSetting(machine, c.key, c.name, &out), c.ok) << c.name;
        EXPECT_EQ(out, c.text) << c.name;
    }
}
