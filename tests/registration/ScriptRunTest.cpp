#include "RegistryTestSupport.h"
#include "registration/RegObject.h"
#include "registration/ScriptParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using registry_test::CreateKey;
using registry_test::KeyExists;
using registry_test::Lines;
using registry_test::Sorted;

// Scripts whose items live in HKCU\Software\BrimblestoneTest, which each test creates and removes.
class ScriptRun : public ::testing::Test {
protected:
    static std::wstring InScratch(const std::wstring& body)
    {
        return L"HKCU\r\n{\r\n\tNoRemove Software\r\n\t{\r\n\t\tNoRemove BrimblestoneTest\r\n"
               L"\t\t{\r\n" + body + L"\r\n\t\t}\r\n\t}\r\n}\r\n";
    }
    HRESULT RunText(const std::wstring& text, bool registering)
    {
        return registration::CRegParser(variables).RunScriptText(text.c_str(), registering);
    }
    HRESULT Register(const std::wstring& body) { return RunText(InScratch(body), true); }
    HRESULT Unregister(const std::wstring& body) { return RunText(InScratch(body), false); }
    Lines Tree() const { return registry_test::DumpTree(scratch.Get()); }

    registry_test::ScratchKey scratch;
    registration::CRegObject variables;
};

TEST_F(ScriptRun, RegistersKeysAndValuesAndUnregistersThemAgain)
{
    const std::wstring body =
        L"Plain = s 'default text' { val Named = S 'value' Sub { VAL Number = d '4294967295' } }"
        L" 'With Space' Empty";
    ASSERT_EQ(S_OK, Register(body));
    EXPECT_EQ(Sorted({L"Empty", L"Plain", L"Plain :  = s:default text", L"Plain : Named = s:value",
                      L"Plain\\Sub", L"Plain\\Sub : Number = d:FFFFFFFF", L"With Space"}),
              Tree());
    EXPECT_EQ(S_OK, Unregister(body));
    EXPECT_EQ(Lines{}, Tree());
}

TEST_F(ScriptRun, UnregisteringKeepsNoRemoveItemsAndKeysThatOthersFilled)
{
    const std::wstring body =
        L"Shared { Mine } noremove Kept { val Gone = s 'x' NoRemove val Stays = s 'y' }";
    ASSERT_EQ(S_OK, Register(body));
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(scratch.Get(), L"Shared\\Other"));
    EXPECT_EQ(S_OK, Unregister(body));
    EXPECT_EQ(Sorted({L"Kept", L"Kept : Stays = s:y", L"Shared", L"Shared\\Other"}), Tree());
}

TEST_F(ScriptRun, NamesThatLookLikeStructureAreOrdinaryNames)
{
    const std::wstring body =
        L"Glued=\r\n"
        L"NoRemove '}brace'\r\n"
        L"{415A23DE-838A-4A57-B918-99D1D0CEDEFA} = s 'guid'\r\n"
        L"Values { val '}v' = s 'x' val {v} = s 'y' val '' = s 'default' }";
    ASSERT_EQ(S_OK, Register(body));
    EXPECT_EQ(Sorted({L"Glued=", L"}brace", L"{415A23DE-838A-4A57-B918-99D1D0CEDEFA}",
                      L"{415A23DE-838A-4A57-B918-99D1D0CEDEFA} :  = s:guid", L"Values",
                      L"Values : }v = s:x", L"Values : {v} = s:y", L"Values :  = s:default"}),
              Tree());
    EXPECT_EQ(S_OK, Unregister(body));
    EXPECT_EQ(Lines{L"}brace"}, Tree());
}

TEST_F(ScriptRun, BinaryMultiStringAndNumberDataBecomeTheirBytes)
{
    ASSERT_EQ(S_OK, Register(L"Data { val Bin = b '0aFf' val Empty = b ''"
                             L" val Multi = m 'abc\\0def' val Cut = M 'abc\\0\\0def'"
                             L" val Number = D '7' }"));
    EXPECT_EQ(Sorted({L"Data", L"Data : Bin = b:0AFF", L"Data : Empty = b:",
                      L"Data : Multi = m:610062006300000064006500660000000000",
                      L"Data : Cut = m:61006200630000000000", L"Data : Number = d:07000000"}),
              Tree());
}

TEST_F(ScriptRun, BadDataFailsAndTheFailedBlockIsUndone)
{
    EXPECT_EQ(DISP_E_EXCEPTION, Register(L"Odd = s 'x' { val Bin = b 'abc' }"));
    EXPECT_EQ(DISP_E_EXCEPTION, Register(L"Word = s 'x' { val Number = d 'twelve' }"));
    EXPECT_EQ(DISP_E_EXCEPTION, Register(L"Negative { val Number = d '-1' }"));
    EXPECT_EQ(Lines{}, Tree());
}

TEST_F(ScriptRun, ValueNamesHoldAtMost259Characters)
{
    const std::wstring longest(259, L'n');
    ASSERT_EQ(S_OK, Register(L"val " + longest + L" = s 'fits'"));
    EXPECT_EQ(Lines{L" : " + longest + L" = s:fits"}, Tree());
    EXPECT_EQ(DISP_E_EXCEPTION, Register(L"val " + longest + L"n = s 'too long'"));
    EXPECT_EQ(DISP_E_EXCEPTION, Unregister(L"val " + longest + L"n = s 'too long'"));
    EXPECT_EQ(Lines{L" : " + longest + L" = s:fits"}, Tree());
}

TEST_F(ScriptRun, ForceRemoveAndDeleteReplaceTreesButNeverProtectedKeys)
{
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(scratch.Get(), L"Tree\\Old\\Deep"));
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(scratch.Get(), L"CLSID\\Foreign"));
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(scratch.Get(), L"Gone\\Child"));
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(scratch.Get(), L"Software\\Foreign"));
    ASSERT_EQ(S_OK, Register(L"ForceRemove Tree { New } forceremove CLSID { Mine }"
                             L" Delete Gone = s 'skipped' DELETE software"));
    EXPECT_EQ(Sorted({L"CLSID", L"CLSID\\Foreign", L"CLSID\\Mine", L"Software",
                      L"Software\\Foreign", L"Tree", L"Tree\\New"}),
              Tree());
}

TEST_F(ScriptRun, RegisteringTwiceGivesTheSameState)
{
    const std::wstring body = L"ForceRemove Class = s 'c' { Sub = s 'x' val V = s 'y' }";
    ASSERT_EQ(S_OK, Register(body));
    const Lines once = Tree();
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(scratch.Get(), L"Class\\Stale"));
    ASSERT_EQ(S_OK, Register(body));
    EXPECT_EQ(once, Tree());
}

TEST_F(ScriptRun, UnregisteringWhatIsAbsentSucceedsAndSkipsItsBlocks)
{
    EXPECT_EQ(S_OK, Unregister(L"Missing = s 'x' { val V = s 'y' Inner { Deeper } }"
                               L" NoRemove Kept { val W = b '00' } val Absent = s 'z'"));
    EXPECT_EQ(Lines{}, Tree());
}

TEST_F(ScriptRun, ASyntaxErrorInsideASkippedBlockStopsTheRun)
{
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(scratch.Get(), L"Victim"));
    EXPECT_EQ(DISP_E_EXCEPTION, Unregister(L"Missing { Bad\\Name Victim }"));
    EXPECT_TRUE(KeyExists(scratch.Get(), L"Victim"));
}

TEST_F(ScriptRun, AMalformedRootBlockStopsTheScriptBeforeAnyBlockRuns)
{
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(scratch.Get(), L"Existing\\Child"));
    const std::wstring text =
        InScratch(L"Kept") +
        InScratch(L"Existing { } First = s 'x' { val v = s 'y' Sub } Second = q 'unknown type'");
    EXPECT_EQ(DISP_E_EXCEPTION, RunText(text, true));
    EXPECT_EQ(DISP_E_EXCEPTION, RunText(text, false));
    EXPECT_EQ(Sorted({L"Existing", L"Existing\\Child"}), Tree());
}

// The values of a block are checked before ForceRemove or Delete removes anything.
TEST_F(ScriptRun, BadValuesAreFoundBeforeAnyTreeIsRemoved)
{
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(scratch.Get(), L"Tree\\Foreign\\Data"));
    const Lines before = Tree();
    for (const std::wstring body : {L"ForceRemove Tree { New val Bin = b 'abc' }",
                                    L"Delete Tree Later { val Number = d '2.5' }",
                                    L"ForceRemove Tree { New = b 'zz' }", L"Delete Tree = d 'x'"}) {
        EXPECT_EQ(DISP_E_EXCEPTION, Register(body)) << std::string(body.begin(), body.end());
        EXPECT_EQ(before, Tree()) << std::string(body.begin(), body.end());
    }
    EXPECT_EQ(S_OK, Register(L"Delete Tree = d '1'"));
    EXPECT_FALSE(KeyExists(scratch.Get(), L"Tree")) << "a well-formed Delete still deletes";
}

// Blocks nest by recursion: the depth is bounded, so a deeply nested script is a syntax error
// rather than the end of the process.
TEST_F(ScriptRun, NestingDeeperThanTheBoundIsASyntaxError)
{
    const auto nested = [](int depth) {
        std::wstring body;
        for (int level = 0; level < depth; ++level)
            body += L"K { ";
        for (int level = 0; level < depth; ++level)
            body += L"} ";
        return body;
    };
    // The scratch key lies three blocks deep.
    const int deepest = registration::CRegParser::MaxNestingDepth - 3;
    EXPECT_EQ(S_OK, Register(nested(deepest)));
    EXPECT_TRUE(KeyExists(scratch.Get(), L"K\\K\\K"));
    EXPECT_EQ(DISP_E_EXCEPTION, Register(L"Other " + nested(deepest + 1)));
    EXPECT_EQ(DISP_E_EXCEPTION, Register(L"Other " + nested(10000)));
    EXPECT_EQ(DISP_E_EXCEPTION, Unregister(nested(10000)));
    EXPECT_FALSE(KeyExists(scratch.Get(), L"Other"));
    EXPECT_TRUE(KeyExists(scratch.Get(), L"K"));
}

TEST_F(ScriptRun, SyntaxErrorsLeaveTheRegistryUntouched)
{
    const std::wstring bodies[] = {
        L"Before val V s 'no equals sign'",
        L"Before = q 'unknown type'",
        L"Before = s 'unterminated",
        L"Before A\\B",
        L"Before val V = s 'x' { }",
        L"Before Delete D { }",
        L"Before %UNDEFINED%",
        L"Before " + std::wstring(4095, L'k'),
        L"Before { val " + std::wstring(260, L'n') + L" = s 'too long' }",
        L"Before { val Number = d 'not a number' }",
        L"Before { val Number = d '2.5' }",
        L"Before { val Number = d '' }",
        L"Before { val Bin = b 'zz' }",
        L"Before = b '0g'",
        L"Before " + std::wstring(256, L'k'),
    };
    for (const std::wstring& body : bodies) {
        EXPECT_EQ(DISP_E_EXCEPTION, Register(body)) << body.substr(0, 40);
        EXPECT_EQ(Lines{}, Tree()) << body.substr(0, 40);
    }
    EXPECT_EQ(E_FAIL, Register(L"Before %" + std::wstring(32, L'v') + L"%"));
    EXPECT_EQ(DISP_E_EXCEPTION, RunText(L"HKXX { Before }", true));
    EXPECT_EQ(DISP_E_EXCEPTION, RunText(L"hkey_current_user Software { }", true));
    EXPECT_EQ(DISP_E_EXCEPTION, RunText(L"HKCU { NoRemove Software { NoRemove BrimblestoneTest {"
                                        L" Before",
                                        true));
    EXPECT_EQ(Lines{}, Tree());
}

TEST_F(ScriptRun, VariablesAreExpandedInNamesAndData)
{
    variables.AddVariable(L"Module", L"C:\\it''s\\lib.dll");
    variables.AddVariable(L"Name", L"Per Cent");
    ASSERT_EQ(S_OK, Register(L"'%NAME%' = s '%module% 100%%'"));
    EXPECT_EQ(Sorted({L"Per Cent", L"Per Cent :  = s:C:\\it's\\lib.dll 100%"}), Tree());
}

}  // namespace
