#include "RegistryTestSupport.h"
#include "registration/RegObject.h"
#include "registration/RegistryScript.h"
#include "registration/ScriptParser.h"
#include "module/BrimblestoneModule.h"
#include "module/Guids.h"
#include "server/ScriptResources.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

namespace {

using registry_test::Lines;
using registry_test::Sorted;

std::string Narrow(const wchar_t* text)
{
    return std::string(text, text + std::wcslen(text));
}

std::string ResourceBytes(UINT id)
{
    const HMODULE self = ::GetModuleHandleW(nullptr);
    const HRSRC resource = ::FindResourceW(self, MAKEINTRESOURCEW(id), L"REGISTRY");
    if (!resource)
        return {};
    const char* bytes = static_cast<const char*>(::LockResource(::LoadResource(self, resource)));
    return std::string(bytes, ::SizeofResource(self, resource));
}

std::wstring OwnPath()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

TEST(StoredScripts, AppIdScriptHasTheExactBytes)
{
    const std::string appId = Narrow(server::AppIdText);
    const std::string expected =
        "HKCR\r\n"
        "{\r\n"
        "\tNoRemove AppID\r\n"
        "\t{\r\n"
        "\t\t'%APPID%' = s 'Brimblestone'\r\n"
        "\t\t'Brimblestone.DLL'\r\n"
        "\t\t{\r\n"
        "\t\t\tval AppID = s '%APPID%'\r\n"
        "\t\t}\r\n"
        "\t}\r\n"
        "}\r\n";
    EXPECT_EQ(expected, ResourceBytes(server::AppIdScriptResource));
}

TEST(StoredScripts, ClassScriptHasTheExactBytes)
{
    const std::string classId = Narrow(server::ConsoleCoreClassIdText);
    const std::string libraryId = Narrow(server::LibraryIdText);
    const std::string expected =
        "HKCR\r\n"
        "{\r\n"
        "\tBrimblestone.ConsoleCore.1 = s 'ConsoleCore Class'\r\n"
        "\t{\r\n"
        "\t\tCLSID = s '" + classId + "'\r\n"
        "\t}\r\n"
        "\tBrimblestone.ConsoleCore = s 'ConsoleCore Class'\r\n"
        "\t{\r\n"
        "\t\tCLSID = s '" + classId + "'\r\n"
        "\t\tCurVer = s 'Brimblestone.ConsoleCore.1'\r\n"
        "\t}\r\n"
        "\tNoRemove CLSID\r\n"
        "\t{\r\n"
        "\t\tForceRemove " + classId + " = s 'Brimblestone'\r\n"
        "\t\t{\r\n"
        "\t\t\tProgID = s 'Brimblestone.ConsoleCore.1'\r\n"
        "\t\t\tVersionIndependentProgID = s 'Brimblestone.ConsoleCore'\r\n"
        "\t\t\tForceRemove 'Programmable'\r\n"
        "\t\t\tInprocServer32 = s '%MODULE%'\r\n"
        "\t\t\t{\r\n"
        "\t\t\t\tval ThreadingModel = s 'Apartment'\r\n"
        "\t\t\t}\r\n"
        "\t\t\tval AppID = s '%APPID%'\r\n"
        "\t\t\t'TypeLib' = s '" + libraryId + "'\r\n"
        "\t\t}\r\n"
        "\t}\r\n"
        "}\r\n"
        "HKLM\r\n"
        "{\r\n"
        "\tNoRemove SoftWare\r\n"
        "\t{\r\n"
        "\t\tNoRemove Microsoft\r\n"
        "\t\t{\r\n"
        "\t\t\tNoRemove 'Internet Explorer'\r\n"
        "\t\t\t{\r\n"
        "\t\t\t\tNoRemove Toolbar\r\n"
        "\t\t\t\t{\r\n"
        "\t\t\t\t\tval " + classId + " = b ''\r\n"
        "\t\t\t\t}\r\n"
        "\t\t\t}\r\n"
        "\t\t}\r\n"
        "\t}\r\n"
        "}\r\n";
    EXPECT_EQ(expected, ResourceBytes(server::ConsoleCoreScriptResource));
}

// The classes root and the machine key point into the scratch key, so the scripts run for real
// without touching the prefix's own registration.
class StoredScriptRun : public ::testing::Test {
protected:
    StoredScriptRun()
        : classesOverride(HKEY_CLASSES_ROOT, roots.classesRoot),
          machineOverride(HKEY_LOCAL_MACHINE, roots.machine)
    {
    }

    static HRESULT RunAppIdScript(server::CBrimblestoneModule& module, bool registering)
    {
        const registration::ScriptVariable variables[] = {{L"APPID", server::AppIdText},
                                                          {nullptr, nullptr}};
        return registration::RunRegistryScript(module, server::AppIdScriptResource, registering,
                                               variables);
    }
    static HRESULT RunClassScript(server::CBrimblestoneModule& module, bool registering)
    {
        return registration::RunRegistryScript(module, server::ConsoleCoreScriptResource,
                                               registering, nullptr);
    }

    Lines Tree() const { return registry_test::DumpTree(roots.scratch.Get()); }

    static Lines Footprint(const std::wstring& libraryPath)
    {
        const std::wstring appIdKey = std::wstring(L"HKCR\\AppID\\") + server::AppIdText;
        const std::wstring classKey = std::wstring(L"HKCR\\CLSID\\") + server::ConsoleCoreClassIdText;
        const std::wstring toolbar = L"HKLM\\SoftWare\\Microsoft\\Internet Explorer\\Toolbar";
        const std::wstring appId = server::AppIdText;
        const std::wstring classId = server::ConsoleCoreClassIdText;
        return Sorted({
            L"HKCR",
            L"HKCR\\AppID",
            appIdKey,
            appIdKey + L" :  = s:Brimblestone",
            L"HKCR\\AppID\\Brimblestone.DLL",
            L"HKCR\\AppID\\Brimblestone.DLL : AppID = s:" + appId,
            L"HKCR\\Brimblestone.ConsoleCore.1",
            L"HKCR\\Brimblestone.ConsoleCore.1 :  = s:ConsoleCore Class",
            L"HKCR\\Brimblestone.ConsoleCore.1\\CLSID",
            L"HKCR\\Brimblestone.ConsoleCore.1\\CLSID :  = s:" + classId,
            L"HKCR\\Brimblestone.ConsoleCore",
            L"HKCR\\Brimblestone.ConsoleCore :  = s:ConsoleCore Class",
            L"HKCR\\Brimblestone.ConsoleCore\\CLSID",
            L"HKCR\\Brimblestone.ConsoleCore\\CLSID :  = s:" + classId,
            L"HKCR\\Brimblestone.ConsoleCore\\CurVer",
            L"HKCR\\Brimblestone.ConsoleCore\\CurVer :  = s:Brimblestone.ConsoleCore.1",
            L"HKCR\\CLSID",
            classKey,
            classKey + L" :  = s:Brimblestone",
            classKey + L" : AppID = s:" + appId,
            classKey + L"\\ProgID",
            classKey + L"\\ProgID :  = s:Brimblestone.ConsoleCore.1",
            classKey + L"\\VersionIndependentProgID",
            classKey + L"\\VersionIndependentProgID :  = s:Brimblestone.ConsoleCore",
            classKey + L"\\Programmable",
            classKey + L"\\InprocServer32",
            classKey + L"\\InprocServer32 :  = s:" + libraryPath,
            classKey + L"\\InprocServer32 : ThreadingModel = s:Apartment",
            classKey + L"\\TypeLib",
            classKey + L"\\TypeLib :  = s:" + server::LibraryIdText,
            L"HKLM",
            L"HKLM\\SoftWare",
            L"HKLM\\SoftWare\\Microsoft",
            L"HKLM\\SoftWare\\Microsoft\\Internet Explorer",
            toolbar,
            toolbar + L" : " + classId + L" = b:",
        });
    }

    registry_test::ScratchRoots roots;
    registry_test::PredefinedKeyOverride classesOverride;
    registry_test::PredefinedKeyOverride machineOverride;
};

TEST_F(StoredScriptRun, RegisterTheFootprintAndUnregisterAllButTheSharedKeys)
{
    server::CBrimblestoneModule& module = *server::libraryModule;
    ASSERT_EQ(S_OK, RunAppIdScript(module, true));
    ASSERT_EQ(S_OK, RunClassScript(module, true));
    EXPECT_EQ(Footprint(OwnPath()), Tree());

    ASSERT_EQ(S_OK, RunClassScript(module, true));
    EXPECT_EQ(Footprint(OwnPath()), Tree());

    EXPECT_EQ(S_OK, RunClassScript(module, false));
    EXPECT_EQ(S_OK, RunAppIdScript(module, false));
    const std::wstring toolbar = L"HKLM\\SoftWare\\Microsoft\\Internet Explorer\\Toolbar";
    EXPECT_EQ(Sorted({L"HKCR", L"HKCR\\AppID", L"HKCR\\CLSID", L"HKLM", L"HKLM\\SoftWare",
                      L"HKLM\\SoftWare\\Microsoft", L"HKLM\\SoftWare\\Microsoft\\Internet Explorer",
                      toolbar}),
              Tree());

    EXPECT_EQ(S_OK, RunClassScript(module, false));
    EXPECT_EQ(S_OK, RunAppIdScript(module, false));
}

TEST_F(StoredScriptRun, AMissingScriptResourceIsReported)
{
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND),
              registration::RunRegistryScript(*server::libraryModule, 199, true, nullptr));
    EXPECT_EQ(Sorted({L"HKCR", L"HKLM"}), Tree());
}

// A library in a folder whose name holds a single quote.
class QuotedFolderCopy {
public:
    QuotedFolderCopy()
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"Brimblestone it's here";
        path = folder + L"\\copy.exe";
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ::CopyFileW(OwnPath().c_str(), path.c_str(), FALSE);
        library = ::LoadLibraryExW(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    }
    ~QuotedFolderCopy()
    {
        if (library)
            ::FreeLibrary(library);
        ::DeleteFileW(path.c_str());
        ::RemoveDirectoryW(folder.c_str());
    }
    QuotedFolderCopy(const QuotedFolderCopy&) = delete;
    QuotedFolderCopy& operator=(const QuotedFolderCopy&) = delete;

    std::wstring folder;
    std::wstring path;
    HMODULE library = nullptr;
};

TEST_F(StoredScriptRun, APathWithASingleQuoteIsRegisteredAsItIs)
{
    const QuotedFolderCopy copy;
    ASSERT_NE(nullptr, copy.library);
    server::CBrimblestoneModule module(copy.library, LIBID_BrimblestoneLib);
    wchar_t loadedPath[MAX_PATH] = {};
    ::GetModuleFileNameW(copy.library, loadedPath, MAX_PATH);
    ASSERT_EQ(S_OK, RunClassScript(module, true));

    const std::wstring inproc = std::wstring(L"CLSID\\") + server::ConsoleCoreClassIdText +
                                L"\\InprocServer32";
    wchar_t registered[MAX_PATH] = {};
    DWORD size = sizeof(registered);
    ASSERT_EQ(ERROR_SUCCESS, ::RegGetValueW(roots.classesRoot, inproc.c_str(), nullptr, RRF_RT_REG_SZ,
                                            nullptr, registered, &size));
    EXPECT_STREQ(loadedPath, registered);
    EXPECT_NE(nullptr, std::wcschr(registered, L'\''));
}

// Seeded mutations of the stored scripts and scripts made of hostile tokens, run against the
// redirected roots holding the footprint and a foreign key: none may crash or hang the run, and
// any that fails must leave every key and value as it found them.
class ScriptFuzz : public StoredScriptRun {
protected:
    static std::wstring Widened(const std::string& bytes) { return std::wstring(bytes.begin(), bytes.end()); }

    static std::vector<std::wstring> Tokens(const std::wstring& text)
    {
        std::vector<std::wstring> tokens;
        std::wstring current;
        for (const wchar_t character : text + L" ") {
            if (character == L' ' || character == L'\t' || character == L'\r' || character == L'\n') {
                if (!current.empty())
                    tokens.push_back(current);
                current.clear();
            } else {
                current.push_back(character);
            }
        }
        return tokens;
    }

    static std::wstring Joined(const std::vector<std::wstring>& tokens)
    {
        std::wstring text;
        for (const std::wstring& token : tokens)
            text += token + L" ";
        return text;
    }

    // Whole-token mutations, so that no root other than the two redirected ones can arise.
    std::wstring Mutated(const std::vector<std::wstring>& original)
    {
        std::vector<std::wstring> tokens = original;
        const int edits = 1 + static_cast<int>(random() % 3);
        for (int edit = 0; edit < edits && !tokens.empty(); ++edit) {
            const size_t at = random() % tokens.size();
            switch (random() % 5) {
            case 0:
                tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            case 1:
                tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(at), tokens[at]);
                break;
            case 2:
                tokens.insert(tokens.begin() + static_cast<std::ptrdiff_t>(at), Hostile());
                break;
            case 3:
                tokens[at] = Hostile();
                break;
            default:
                std::swap(tokens[at], tokens[random() % tokens.size()]);
                break;
            }
        }
        return Joined(tokens);
    }

    std::wstring Hostile()
    {
        static const wchar_t* const hostile[] = {
            L"{", L"}", L"=", L"s", L"d", L"b", L"m", L"q", L"val", L"Val", L"ForceRemove", L"Delete",
            L"NoRemove", L"'x'", L"'2.5'", L"'zz'", L"'abc'", L"'-1'", L"'4294967296'", L"'0aFf'", L"''",
            L"'", L"'open", L"Name", L"A\\B", L"CLSID", L"SoftWare", L"%MODULE%", L"%APPID%", L"%NONE%",
            L"%", L"%%", L"}{", L"{x", L"HKCR", L"HKLM", L"'a\\0b'"};
        return hostile[random() % (sizeof(hostile) / sizeof(hostile[0]))];
    }

    std::wstring Grammar()
    {
        std::wstring text = random() % 2 ? L"HKCR { " : L"HKLM { ";
        const int count = 1 + static_cast<int>(random() % 40);
        for (int index = 0; index < count; ++index)
            text += Hostile() + L" ";
        return text + (random() % 4 ? L"}" : L"");
    }

    // The footprint of both stored scripts and a key of other software, as before every run.
    void ResetRoots()
    {
        ::RegDeleteTreeW(roots.classesRoot, nullptr);
        ::RegDeleteTreeW(roots.machine, nullptr);
        ASSERT_EQ(S_OK, Run(appIdText, true));
        ASSERT_EQ(S_OK, Run(classText, true));
        ASSERT_EQ(ERROR_SUCCESS, registry_test::CreateKey(roots.classesRoot, L"CLSID\\Foreign\\Data"));
    }

    HRESULT Run(const std::wstring& text, bool registering)
    {
        return registration::CRegParser(variables).RunScriptText(text.c_str(), registering);
    }

    void SetUp() override
    {
        variables.AddVariable(L"MODULE", L"C:\\lib.dll");
        variables.AddVariable(L"APPID", server::AppIdText);
        appIdText = Widened(ResourceBytes(server::AppIdScriptResource));
        classText = Widened(ResourceBytes(server::ConsoleCoreScriptResource));
        ASSERT_FALSE(appIdText.empty());
        ASSERT_FALSE(classText.empty());
    }

    unsigned random() { return static_cast<unsigned>(engine()); }

    std::mt19937 engine{20261207};
    registration::CRegObject variables;
    std::wstring appIdText;
    std::wstring classText;
};

TEST_F(ScriptFuzz, FailedScriptsWriteAndDeleteNothing)
{
    constexpr int Cases = 300;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    const std::vector<std::wstring> sources[] = {Tokens(appIdText), Tokens(classText)};
    int failed = 0;
    int run = 0;
    for (; run < Cases && std::chrono::steady_clock::now() < deadline; ++run) {
        ResetRoots();
        const Lines before = Tree();
        const std::wstring script = run % 3 == 2 ? Grammar() : Mutated(sources[run % 2]);
        const bool registering = random() % 4 != 0;
        const HRESULT result = Run(script, registering);
        if (FAILED(result)) {
            ++failed;
            ASSERT_EQ(before, Tree()) << "case " << run << ": " << std::string(script.begin(), script.end());
        }
    }
    EXPECT_GE(run, 100) << "too few cases within the time bound";
    EXPECT_GT(failed, run / 4) << "the mutations should mostly break the scripts";
}

}  // namespace
