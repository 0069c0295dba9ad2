#include "registration/ScriptReader.h"

namespace registration {
namespace {

bool IsWhiteSpace(wchar_t character) noexcept
{
    return character == L'\t' || character == L'\n' || character == L'\r' || character == L' ';
}

}  // namespace

void CScriptReader::SkipWhiteSpace() noexcept
{
    while (IsWhiteSpace(text[position]))
        ++position;
}

HRESULT CScriptReader::ReadToken(std::wstring& token)
{
    SkipWhiteSpace();
    token.clear();
    if (AtEnd())
        return DISP_E_EXCEPTION;
    if (text[position] == L'\'') {
        ++position;
        return ReadQuotedToken(token);
    }
    return ReadPlainToken(token);
}

// Two quotes in a row stand for one; the closing quote may touch the next token.
HRESULT CScriptReader::ReadQuotedToken(std::wstring& token)
{
    for (;;) {
        if (AtEnd())
            return DISP_E_EXCEPTION;
        if (text[position] == L'\'') {
            if (text[position + 1] != L'\'') {
                ++position;
                return S_OK;
            }
            ++position;
        }
        if (token.size() == MaxTokenLength)
            return DISP_E_EXCEPTION;
        token.push_back(text[position++]);
    }
}

HRESULT CScriptReader::ReadPlainToken(std::wstring& token)
{
    while (!AtEnd() && !IsWhiteSpace(text[position])) {
        if (token.size() == MaxTokenLength)
            return DISP_E_EXCEPTION;
        token.push_back(text[position++]);
    }
    return S_OK;
}

}  // namespace registration
