#include "console/ChunkDecoder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring WholeText(UINT codePage, const std::string& bytes)
{
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], length);
    return text;
}

// Decodes `bytes` as the reader does: chunks of `chunkSize`, then whatever the stream's end left.
std::wstring DecodeInChunks(UINT codePage, const std::string& bytes, std::size_t chunkSize)
{
    console::ChunkDecoder decoder(codePage);
    std::wstring joined;
    for (std::size_t start = 0; start < bytes.size(); start += chunkSize)
        joined += decoder.Decode(bytes.data() + start, std::min(chunkSize, bytes.size() - start));
    if (decoder.HasHeldBack())
        joined += decoder.DecodeHeldBack();
    return joined;
}

TEST(ChunkDecoder, DoubleByteCharacterSplitAtTheReadBoundaryDecodesWhole)
{
    // "日本語" in code page 932, placed so that a lead byte ends the first 512-byte read.
    const std::string japanese = "\x93\xfa\x96\x7b\x8c\xea";
    const std::string bytes = std::string(511, 'a') + japanese + "\r\nC:\\>";
    ASSERT_TRUE(::IsDBCSLeadByteEx(932, static_cast<BYTE>(bytes[511])));

    console::ChunkDecoder decoder(932);
    const std::wstring first = decoder.Decode(bytes.data(), 512);
    EXPECT_EQ(std::wstring(511, L'a'), first);
    EXPECT_EQ(WholeText(932, bytes), first + decoder.Decode(bytes.data() + 512, bytes.size() - 512));
    EXPECT_FALSE(decoder.HasHeldBack());
}

TEST(ChunkDecoder, JoinedChunksEqualTheWholeTextAtEverySplit)
{
    const std::string shiftJis = "dir \x83\x65\x83\x58\x83\x67 \x93\xfa\x96\x7b ok";
    const std::string utf8 = "dir \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 \xc3\xa9 ok";
    for (std::size_t chunk = 1; chunk <= 7; ++chunk) {
        EXPECT_EQ(WholeText(932, shiftJis), DecodeInChunks(932, shiftJis, chunk)) << chunk;
        EXPECT_EQ(WholeText(CP_UTF8, utf8), DecodeInChunks(CP_UTF8, utf8, chunk)) << chunk;
    }
}

TEST(ChunkDecoder, SingleByteTextPassesThroughUnchanged)
{
    console::ChunkDecoder decoder(1252);
    const std::string text = "line\r\n\ttab\x1b[0m\xe9";
    EXPECT_EQ(WholeText(1252, text), decoder.Decode(text.data(), text.size()));
    EXPECT_FALSE(decoder.HasHeldBack());
}

// Zero bytes are not text: each one is dropped and everything around it is kept, so UTF-16
// output of a program shows its characters (and the prompt after it is not lost).
TEST(ChunkDecoder, ZeroBytesDropOnlyThemselves)
{
    console::ChunkDecoder decoder(1252);
    const char withZero[] = {'a', 'b', '\0', 'c', 'd'};
    EXPECT_EQ(L"abcd", decoder.Decode(withZero, sizeof(withZero)));
    const char onlyZeros[] = {'\0', '\0', '\0'};
    EXPECT_EQ(L"", decoder.Decode(onlyZeros, sizeof(onlyZeros)));
    const char wideText[] = {'h', '\0', 'i', '\0', '\r', '\0', '\n', '\0', 'C', ':', '\\', '>'};
    EXPECT_EQ(L"hi\r\nC:\\>", decoder.Decode(wideText, sizeof(wideText)));
}

TEST(ChunkDecoder, ZeroByteInsideADoubleByteCharacterIsSkipped)
{
    console::ChunkDecoder decoder(932);
    const char chunk[] = {'a', '\x93', '\0'};
    EXPECT_EQ(L"a", decoder.Decode(chunk, sizeof(chunk)));
    EXPECT_TRUE(decoder.HasHeldBack());
    EXPECT_EQ(L"\x65e5" L"b", decoder.Decode("\xfa" "b", 2));
}

TEST(ChunkDecoder, LeadByteAtTheStreamsEndIsStillDelivered)
{
    console::ChunkDecoder decoder(932);
    EXPECT_EQ(L"x", decoder.Decode("x\x93", 2));
    ASSERT_TRUE(decoder.HasHeldBack());
    EXPECT_FALSE(decoder.DecodeHeldBack().empty());
    EXPECT_FALSE(decoder.HasHeldBack());
}

}  // namespace
