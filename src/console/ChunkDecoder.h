#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace console {

// Turns the interpreter's output, read in chunks, into wide text. Zero bytes are not text and are
// left out, each on its own (a program writing UTF-16 then still shows its characters). The lead bytes of a multibyte character that a read cut off are held back and put in
// front of the next chunk, so chunks decode together exactly as the whole output would.
class ChunkDecoder {
public:
    explicit ChunkDecoder(UINT codePage);

    // The wide text of one chunk; the reference stays valid until the next call.
    const std::wstring& Decode(const char* bytes, std::size_t count);

    // The bytes still held back, decoded as they are: the stream ended in the middle of a character.
    const std::wstring& DecodeHeldBack();

    bool HasHeldBack() const noexcept { return !heldBack.empty(); }

private:
    std::size_t CompleteLength(const std::string& bytes) const;
    const std::wstring& Convert(const std::string& bytes);

    UINT codePage;
    bool doubleByte;
    std::string heldBack;
    std::string narrow;
    std::wstring wide;
};

}  // namespace console
