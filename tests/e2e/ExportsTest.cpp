#include "ServerLibrary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> ExportedNames(HMODULE module)
{
    const auto base = reinterpret_cast<const BYTE*>(module);
    const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    const auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> result;
    for (DWORD index = 0; index < exports->NumberOfNames; ++index)
        result.emplace_back(reinterpret_cast<const char*>(base + names[index]));
    return result;
}

// The component runtime looks the entry points up by their plain names, and so does rundll32 for
// the console's helpers; nothing else is exported.
TEST(Exports, TheEntryPointsByTheirPlainNamesOnly)
{
    const e2e::ServerLibrary library(e2e::LibraryPath());
    ASSERT_TRUE(library.IsLoaded());
    const std::vector<std::string> expected = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                                               "DllUnregisterServer", "InterruptConsoleW",
                                               "ReportConsoleCodePageW", "ReportConsoleProcessesW"};
    EXPECT_EQ(expected, ExportedNames(library.Module()));
    for (const std::string& name : expected)
        EXPECT_NE(nullptr, reinterpret_cast<void*>(::GetProcAddress(library.Module(), name.c_str()))) << name;
}

}  // namespace
