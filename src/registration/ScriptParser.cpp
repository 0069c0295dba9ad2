#include "registration/ScriptParser.h"

#include "registration/ErrorHResult.h"
#include "registration/KeyTree.h"
#include "registration/ScriptTables.h"
#include "registration/ValueData.h"
#include "registration/VariableExpansion.h"

#include <new>
#include <vector>

namespace registration {
namespace {

bool IsKeyword(const std::wstring& token, const wchar_t* keyword) noexcept
{
    return EqualsIgnoringCase(token.c_str(), keyword);
}

bool IsAssignment(const std::wstring& token) noexcept
{
    return token[0] == L'=';
}

// A name beginning with "{" is an ordinary name; only a lone brace opens a block.
bool OpensBlock(const std::wstring& token) noexcept
{
    return token == L"{";
}

bool ClosesBlock(const std::wstring& token) noexcept
{
    return token[0] == L'}';
}

// A key name holds no backslash (it would name a path) and fits the registry's limit.
bool IsBadKeyName(const std::wstring& name) noexcept
{
    return name.find(L'\\') != std::wstring::npos || name.size() > CRegParser::MaxKeyNameLength;
}

// A block belongs to a key item. After a value or a deleted key it would otherwise fill
// whichever key the enclosing block happened to open last.
HRESULT RejectStrayBlock(const std::wstring& token) noexcept
{
    return OpensBlock(token) ? DISP_E_EXCEPTION : S_OK;
}

HRESULT OpenOrCreateKey(HKEY parent, const wchar_t* name, support::UniqueRegistryKey& key) noexcept
{
    if (OpenKey(parent, name, KEY_READ | KEY_WRITE, key) == ERROR_SUCCESS ||
        OpenKey(parent, name, KEY_READ, key) == ERROR_SUCCESS)
        return S_OK;
    HKEY created = nullptr;
    DWORD disposition = 0;
    const LONG result = ::RegCreateKeyExW(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_READ | KEY_WRITE, nullptr, &created, &disposition);
    if (result != ERROR_SUCCESS)
        return HResultFromError(result);
    key.Reset(created);
    return S_OK;
}

// A value that is already gone counts as removed.
HRESULT DeleteValue(HKEY key, const wchar_t* name) noexcept
{
    support::UniqueRegistryKey writable;
    const LONG opened = OpenKey(key, nullptr, KEY_WRITE, writable);
    if (opened != ERROR_SUCCESS)
        return HResultFromError(opened);
    const LONG deleted = ::RegDeleteValueW(writable.Get(), name);
    return deleted == ERROR_FILE_NOT_FOUND ? S_OK : HResultFromError(deleted);
}

// Keys that other software filled with subkeys stay, and so do keys the script keeps.
HRESULT RemoveUnsharedKey(HKEY parent, const std::wstring& name, support::UniqueRegistryKey key,
                          bool keep) noexcept
{
    DWORD subkeys = 0;
    const bool hasSubkeys = ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys,
                                               nullptr, nullptr, nullptr, nullptr, nullptr,
                                               nullptr, nullptr) == ERROR_SUCCESS &&
                            subkeys > 0;
    key.Reset();
    if (keep || hasSubkeys)
        return S_OK;
    return HResultFromError(::RegDeleteKeyW(parent, name.c_str()));
}

}  // namespace

HRESULT CRegParser::RunScriptText(const wchar_t* text, bool registering) noexcept
{
    try {
        std::wstring expanded;
        const HRESULT result = ExpandVariables(variables, text, &expanded);
        if (FAILED(result))
            return result;
        // The whole script is checked by a pass that touches no key before any of it runs.
        CScriptReader reader(expanded);
        const HRESULT checked = RunRootBlocks(reader, false, true);
        if (FAILED(checked))
            return checked;
        reader.Seek(0);
        return RunRootBlocks(reader, registering, false);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CRegParser::RunRootBlocks(CScriptReader& reader, bool registering, bool checking)
{
    std::wstring token;
    while (!reader.AtEnd()) {
        HRESULT result = reader.ReadToken(token);
        if (FAILED(result))
            return result;
        const HKEY root = FindRootKey(token.c_str());
        if (!root)
            return DISP_E_EXCEPTION;
        result = reader.ReadToken(token);
        if (FAILED(result))
            return result;
        if (token[0] != L'{')
            return DISP_E_EXCEPTION;
        result = checking ? CheckRootBlock(reader) : ProcessRootBlock(reader, root, registering);
        if (FAILED(result))
            return result;
        reader.SkipWhiteSpace();
    }
    return S_OK;
}

// Unregistering while recovering opens no key: a pass of pure syntax, values' types and data
// included, so that a malformed script writes or removes nothing.
HRESULT CRegParser::CheckRootBlock(CScriptReader& reader) noexcept
{
    std::wstring token;
    return TryProcessKeyBlock(reader, token, nullptr, false, true);
}

// Registering a checked block is all or nothing: a block that fails on the way is unregistered
// again from its start.
HRESULT CRegParser::ProcessRootBlock(CScriptReader& reader, HKEY root, bool registering) noexcept
{
    const std::size_t blockStart = reader.Position();
    std::wstring token;
    HRESULT result = TryProcessKeyBlock(reader, token, root, registering, false);
    if (FAILED(result) && registering) {
        reader.Seek(blockStart);
        TryProcessKeyBlock(reader, token, root, false, false);
    }
    return result;
}

HRESULT CRegParser::TryProcessKeyBlock(CScriptReader& reader, std::wstring& token, HKEY parent,
                                       bool registering, bool recovering) noexcept
{
    depth = 0;
    try {
        return ProcessKeyBlock(reader, token, parent, registering, recovering);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

// Handles the items of one block up to its closing brace, which stays in the token buffer.
// Blocks nest by recursion, so the depth is bounded: deeper nesting is a syntax error.
HRESULT CRegParser::ProcessKeyBlock(CScriptReader& reader, std::wstring& token, HKEY parent,
                                    bool registering, bool recovering)
{
    if (depth == MaxNestingDepth)
        return DISP_E_EXCEPTION;
    ++depth;
    support::UniqueRegistryKey currentKey;
    HRESULT result = reader.ReadToken(token);
    while (SUCCEEDED(result) && !ClosesBlock(token)) {
        result = registering ? RegisterItem(reader, token, parent, currentKey)
                             : UnregisterItem(reader, token, parent, recovering);
    }
    --depth;
    return result;
}

HRESULT CRegParser::RegisterItem(CScriptReader& reader, std::wstring& token, HKEY parent,
                                 support::UniqueRegistryKey& currentKey)
{
    HRESULT result = S_OK;
    if (IsKeyword(token, KeywordForceRemove) || IsKeyword(token, KeywordDelete)) {
        const bool deleteOnly = IsKeyword(token, KeywordDelete);
        result = reader.ReadToken(token);
        if (FAILED(result))
            return result;
        if (IsBadKeyName(token))
            return DISP_E_EXCEPTION;
        if (!IsProtectedKeyName(token.c_str()))
            DeleteKeyTree(parent, token.c_str());
        if (deleteOnly) {
            result = reader.ReadToken(token);
            if (SUCCEEDED(result))
                result = SkipValueAssignment(reader, token);
            return SUCCEEDED(result) ? RejectStrayBlock(token) : result;
        }
    }
    if (IsKeyword(token, KeywordNoRemove)) {
        result = reader.ReadToken(token);
        if (FAILED(result))
            return result;
    }
    if (IsKeyword(token, KeywordVal)) {
        std::wstring valueName;
        result = ReadValueName(reader, token, valueName);
        if (SUCCEEDED(result))
            result = SetValue(reader, parent, valueName.c_str(), token);
        return SUCCEEDED(result) ? RejectStrayBlock(token) : result;
    }
    return RegisterKey(reader, token, parent, currentKey);
}

HRESULT CRegParser::RegisterKey(CScriptReader& reader, std::wstring& token, HKEY parent,
                                support::UniqueRegistryKey& currentKey)
{
    if (IsBadKeyName(token))
        return DISP_E_EXCEPTION;
    HRESULT result = OpenOrCreateKey(parent, token.c_str(), currentKey);
    if (SUCCEEDED(result))
        result = reader.ReadToken(token);
    if (SUCCEEDED(result) && IsAssignment(token))
        result = SetValue(reader, currentKey.Get(), nullptr, token);
    if (SUCCEEDED(result) && OpensBlock(token)) {
        result = ProcessKeyBlock(reader, token, currentKey.Get(), true, false);
        if (SUCCEEDED(result))
            result = reader.ReadToken(token);
    }
    return result;
}

HRESULT CRegParser::UnregisterItem(CScriptReader& reader, std::wstring& token, HKEY parent,
                                   bool recovering)
{
    HRESULT result = S_OK;
    if (IsKeyword(token, KeywordForceRemove) || IsKeyword(token, KeywordDelete)) {
        result = reader.ReadToken(token);
        if (FAILED(result))
            return result;
    }
    bool keep = false;
    if (IsKeyword(token, KeywordNoRemove)) {
        keep = true;
        result = reader.ReadToken(token);
        if (FAILED(result))
            return result;
    }
    if (IsKeyword(token, KeywordVal))
        return UnregisterValue(reader, token, parent, !recovering && !keep);
    return UnregisterKey(reader, token, parent, keep, recovering);
}

HRESULT CRegParser::UnregisterValue(CScriptReader& reader, std::wstring& token, HKEY parent,
                                    bool deleting)
{
    std::wstring valueName;
    HRESULT result = ReadValueName(reader, token, valueName);
    if (SUCCEEDED(result) && deleting)
        result = DeleteValue(parent, valueName.c_str());
    if (SUCCEEDED(result))
        result = SkipValueAssignment(reader, token);
    return SUCCEEDED(result) ? RejectStrayBlock(token) : result;
}

// A key that cannot be opened has its whole block skipped, value deletions included.
HRESULT CRegParser::UnregisterKey(CScriptReader& reader, std::wstring& token, HKEY parent,
                                  bool keep, bool recovering)
{
    if (IsBadKeyName(token))
        return DISP_E_EXCEPTION;
    support::UniqueRegistryKey key;
    const LONG opened = recovering ? ERROR_SUCCESS : OpenKey(parent, token.c_str(), KEY_READ, key);
    const bool missing = recovering || opened != ERROR_SUCCESS;
    const std::wstring name(token);
    HRESULT result = reader.ReadToken(token);
    if (SUCCEEDED(result))
        result = SkipValueAssignment(reader, token);
    // A syntax error inside a skipped block still ends the run: the rest of the block could no
    // longer be told apart from the items around it, which would then be removed instead.
    if (SUCCEEDED(result) && OpensBlock(token)) {
        result = ProcessKeyBlock(reader, token, key.Get(), false, missing);
        if (SUCCEEDED(result))
            result = reader.ReadToken(token);
    }
    if (FAILED(result))
        return result;
    if (missing)
        return recovering || opened == ERROR_FILE_NOT_FOUND ? S_OK : HResultFromError(opened);
    return RemoveUnsharedKey(parent, name, std::move(key), keep);
}

// Reads the name after "Val" and the "=" that must follow it.
HRESULT CRegParser::ReadValueName(CScriptReader& reader, std::wstring& token,
                                  std::wstring& valueName)
{
    HRESULT result = reader.ReadToken(token);
    if (FAILED(result))
        return result;
    if (token.size() > MaxValueNameLength)
        return DISP_E_EXCEPTION;
    valueName = token;
    result = reader.ReadToken(token);
    if (FAILED(result))
        return result;
    return IsAssignment(token) ? S_OK : DISP_E_EXCEPTION;
}

HRESULT CRegParser::SetValue(CScriptReader& reader, HKEY key, const wchar_t* valueName,
                             std::wstring& token)
{
    HRESULT result = reader.ReadToken(token);
    if (FAILED(result))
        return result;
    DWORD type = REG_NONE;
    if (!FindValueType(token.c_str(), &type))
        return DISP_E_EXCEPTION;
    reader.SkipWhiteSpace();
    result = reader.ReadToken(token);
    if (FAILED(result))
        return result;
    std::vector<BYTE> data;
    result = EncodeValueData(type, token, data);
    if (FAILED(result))
        return result;
    const BYTE noData = 0;
    const LONG written = ::RegSetValueExW(key, valueName, 0, type,
                                          data.empty() ? &noData : data.data(),
                                          static_cast<DWORD>(data.size()));
    if (written != ERROR_SUCCESS)
        return HResultFromError(written);
    return reader.ReadToken(token);
}

// Steps over "= type data" after a name whose value is not written; the type and the data must
// still be ones that could be written.
HRESULT CRegParser::SkipValueAssignment(CScriptReader& reader, std::wstring& token)
{
    if (!IsAssignment(token))
        return S_OK;
    HRESULT result = reader.ReadToken(token);
    if (FAILED(result))
        return result;
    DWORD type = REG_NONE;
    if (!FindValueType(token.c_str(), &type))
        return DISP_E_EXCEPTION;
    reader.SkipWhiteSpace();
    result = reader.ReadToken(token);
    if (FAILED(result))
        return result;
    std::vector<BYTE> data;
    result = EncodeValueData(type, token, data);
    if (FAILED(result))
        return result;
    return reader.ReadToken(token);
}

}  // namespace registration
