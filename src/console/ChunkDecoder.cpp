#include "console/ChunkDecoder.h"

#include <algorithm>
#include <iterator>

namespace console {
namespace {

bool IsDoubleByteCodePage(UINT codePage)
{
    CPINFO info = {};
    return codePage != CP_UTF8 && ::GetCPInfo(codePage, &info) && info.MaxCharSize == 2;
}

bool IsUtf8Continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

std::size_t Utf8SequenceLength(unsigned char lead)
{
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

// Length of the prefix that ends on a character boundary: a lead byte is only known as such when
// the bytes are walked from a boundary, which the start of every chunk is.
std::size_t CompleteDoubleByteLength(UINT codePage, const std::string& bytes)
{
    std::size_t position = 0;
    while (position < bytes.size()) {
        const auto byte = static_cast<BYTE>(bytes[position]);
        if (!::IsDBCSLeadByteEx(codePage, byte)) {
            ++position;
            continue;
        }
        if (position + 1 == bytes.size())
            return position;
        position += 2;
    }
    return bytes.size();
}

std::size_t CompleteUtf8Length(const std::string& bytes)
{
    const std::size_t size = bytes.size();
    std::size_t continuations = 0;
    while (continuations < 3 && continuations < size &&
           IsUtf8Continuation(static_cast<unsigned char>(bytes[size - 1 - continuations])))
        ++continuations;
    if (continuations == size)
        return size;
    const std::size_t leadPosition = size - 1 - continuations;
    const std::size_t needed = Utf8SequenceLength(static_cast<unsigned char>(bytes[leadPosition]));
    return leadPosition + needed > size ? leadPosition : size;
}

}  // namespace

ChunkDecoder::ChunkDecoder(UINT codePage) : codePage(codePage), doubleByte(IsDoubleByteCodePage(codePage)) {}

const std::wstring& ChunkDecoder::Decode(const char* bytes, std::size_t count)
{
    narrow.assign(heldBack);
    std::remove_copy(bytes, bytes + count, std::back_inserter(narrow), '\0');
    heldBack.clear();
    const std::size_t complete = CompleteLength(narrow);
    heldBack.assign(narrow, complete, std::string::npos);
    narrow.resize(complete);
    return Convert(narrow);
}

const std::wstring& ChunkDecoder::DecodeHeldBack()
{
    narrow.swap(heldBack);
    heldBack.clear();
    return Convert(narrow);
}

std::size_t ChunkDecoder::CompleteLength(const std::string& bytes) const
{
    if (codePage == CP_UTF8)
        return CompleteUtf8Length(bytes);
    if (doubleByte)
        return CompleteDoubleByteLength(codePage, bytes);
    return bytes.size();
}

const std::wstring& ChunkDecoder::Convert(const std::string& bytes)
{
    wide.clear();
    if (bytes.empty())
        return wide;
    const int sourceLength = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), sourceLength, nullptr, 0);
    if (length <= 0)
        return wide;
    wide.resize(static_cast<std::size_t>(length));
    const int converted = ::MultiByteToWideChar(codePage, 0, bytes.data(), sourceLength, &wide[0], length);
    wide.resize(static_cast<std::size_t>(converted > 0 ? converted : 0));
    return wide;
}

}  // namespace console
