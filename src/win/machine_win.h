#pragma once
#include "script/machine.h"

// The machine as Win32 reports it.
class WinMachine : public Machine {
public:
    std::string ProgramFile() override;
    bool FirstMatchAttributes(const std::string& pattern, unsigned long* attributes) override;
    bool ReadMachineValue(const std::string& subKey, const std::string& valueName,
                          RegistryValue* value) override;
    unsigned short SystemLanguage() override;
    OsVersionInfo WindowsVersion() override;
    bool IsLeadByte(unsigned char byte) override;
    std::string UpperCaseDoubleByte(const std::string& character) override;
    std::string ToAnsiCodePage(const std::u16string& text) override;
    unsigned AnsiCodePage() override;
    std::string WindowsDirectory() override;
    std::string TemporaryDirectory() override;
    std::unique_ptr<InputFile> OpenInputFile(const std::string& path) override;
    bool ProgramForDocument(const std::string& file, std::string* program) override;
    bool ReadAssociationValue(const std::string& subKey, RegistryValue* value) override;
    std::string ExpandEnvironment(const std::string& text) override;
    void DeclareDpiAware() override;
    int DisplayDpi() override;
};
