#include "registration/ScriptReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using registration::CScriptReader;

// All tokens of the text, or the failure that stopped the reading.
std::vector<std::wstring> Tokens(const std::wstring& text, HRESULT* stop = nullptr)
{
    CScriptReader reader(text);
    std::vector<std::wstring> tokens;
    std::wstring token;
    HRESULT result = S_OK;
    while (!reader.AtEnd() && SUCCEEDED(result = reader.ReadToken(token))) {
        tokens.push_back(token);
        reader.SkipWhiteSpace();
    }
    if (stop)
        *stop = result;
    return tokens;
}

TEST(ScriptReader, SplitsOnTabLineEndsAndSpacesOnly)
{
    const std::vector<std::wstring> expected = {L"HKCR", L"{", L"a\vb", L"=", L"}"};
    EXPECT_EQ(expected, Tokens(L"HKCR\r\n{\ta\vb  =\n}\r\n"));
}

TEST(ScriptReader, QuotedTokensKeepSpacesAndUndoubleQuotes)
{
    const std::vector<std::wstring> expected = {L"Internet Explorer", L"it's", L"", L"'x", L"y"};
    EXPECT_EQ(expected, Tokens(L"'Internet Explorer' 'it''s' '' '''x'y"));
}

TEST(ScriptReader, StructuralCharactersInsideAPlainTokenAreOrdinary)
{
    const std::vector<std::wstring> expected = {L"Name=", L"{a}", L"x'y", L"}"};
    EXPECT_EQ(expected, Tokens(L"Name= {a} x'y }"));
}

TEST(ScriptReader, EndOfTextAndUnterminatedQuoteAreSyntaxErrors)
{
    std::wstring token;
    const std::wstring blank = L" \t\r\n";
    CScriptReader atEnd(blank);
    EXPECT_EQ(DISP_E_EXCEPTION, atEnd.ReadToken(token));

    HRESULT stop = S_OK;
    Tokens(L"a 'open", &stop);
    EXPECT_EQ(DISP_E_EXCEPTION, stop);
    Tokens(L"'ends with doubled quote''", &stop);
    EXPECT_EQ(DISP_E_EXCEPTION, stop);
}

TEST(ScriptReader, TokensHoldAtMost4094Characters)
{
    std::wstring token;
    const std::wstring longest(CScriptReader::MaxTokenLength, L'k');
    CScriptReader fits(longest);
    EXPECT_EQ(S_OK, fits.ReadToken(token));
    EXPECT_EQ(longest, token);

    const std::wstring tooLong = longest + L"k";
    CScriptReader plain(tooLong);
    EXPECT_EQ(DISP_E_EXCEPTION, plain.ReadToken(token));
    const std::wstring quoted = L"'" + tooLong + L"'";
    CScriptReader inQuotes(quoted);
    EXPECT_EQ(DISP_E_EXCEPTION, inQuotes.ReadToken(token));
}

}  // namespace
