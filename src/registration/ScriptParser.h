#pragma once

#include "registration/ScriptReader.h"
#include "support/UniqueRegistryKey.h"

#include <windows.h>

#include <string>

namespace registration {

class CRegObject;

// Runs one registration script: in register mode it creates keys, sets values and replaces
// trees marked "ForceRemove"; in unregister mode it removes what the script names, except
// what is marked "NoRemove" and keys that still have subkeys.
class CRegParser {
public:
    // The longest value name after "Val".
    static constexpr std::size_t MaxValueNameLength = 259;
    // The longest key name.
    static constexpr std::size_t MaxKeyNameLength = 255;
    // The deepest nesting of blocks within one root block.
    static constexpr int MaxNestingDepth = 64;

    explicit CRegParser(const CRegObject& variables) noexcept : variables(variables) {}

    // Expands the variables of the whole text first, so that a script with an unknown
    // variable writes nothing, and checks the whole script's syntax, values' types and data
    // included, before any of it runs, so that a malformed script writes nothing. A root block
    // that fails to register is unregistered again before the error is returned; blocks before
    // it stay as they were done.
    HRESULT RunScriptText(const wchar_t* text, bool registering) noexcept;

private:
    HRESULT RunRootBlocks(CScriptReader& reader, bool registering, bool checking);
    HRESULT CheckRootBlock(CScriptReader& reader) noexcept;
    HRESULT ProcessRootBlock(CScriptReader& reader, HKEY root, bool registering) noexcept;
    HRESULT TryProcessKeyBlock(CScriptReader& reader, std::wstring& token, HKEY parent,
                               bool registering, bool recovering) noexcept;
    HRESULT ProcessKeyBlock(CScriptReader& reader, std::wstring& token, HKEY parent,
                            bool registering, bool recovering);
    HRESULT RegisterItem(CScriptReader& reader, std::wstring& token, HKEY parent,
                         support::UniqueRegistryKey& currentKey);
    HRESULT RegisterKey(CScriptReader& reader, std::wstring& token, HKEY parent,
                        support::UniqueRegistryKey& currentKey);
    HRESULT UnregisterItem(CScriptReader& reader, std::wstring& token, HKEY parent,
                           bool recovering);
    HRESULT UnregisterValue(CScriptReader& reader, std::wstring& token, HKEY parent,
                            bool deleting);
    HRESULT UnregisterKey(CScriptReader& reader, std::wstring& token, HKEY parent, bool keep,
                          bool recovering);
    HRESULT ReadValueName(CScriptReader& reader, std::wstring& token, std::wstring& valueName);
    HRESULT SetValue(CScriptReader& reader, HKEY key, const wchar_t* valueName,
                     std::wstring& token);
    HRESULT SkipValueAssignment(CScriptReader& reader, std::wstring& token);

    const CRegObject& variables;
    int depth = 0;
};

}  // namespace registration
