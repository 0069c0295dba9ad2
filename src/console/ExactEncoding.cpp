#include "console/ExactEncoding.h"

#include <new>

namespace console {
namespace {

constexpr UINT Gb18030 = 54936;

// UTF-8, GB18030 and the code pages of the escape-sequence encodings take no best-fit flag and
// report no default character; the read-back comparison holds them to the rule instead.
bool TakesBestFitFlag(UINT codePage)
{
    return codePage != CP_UTF8 && codePage != CP_UTF7 && codePage != Gb18030 && codePage != 42 &&
           !(codePage >= 50220 && codePage <= 50229) && !(codePage >= 57002 && codePage <= 57011);
}

// Of the code pages without the best-fit flag, these refuse an unpaired surrogate when asked.
bool TakesInvalidCharacterFlag(UINT codePage)
{
    return codePage == CP_UTF8 || codePage == Gb18030;
}

bool Convert(const std::wstring& text, UINT codePage, std::string& bytes)
{
    const int length = static_cast<int>(text.size());
    const bool bestFitFlag = TakesBestFitFlag(codePage);
    const DWORD flags =
        bestFitFlag ? WC_NO_BEST_FIT_CHARS : (TakesInvalidCharacterFlag(codePage) ? WC_ERR_INVALID_CHARS : 0);
    BOOL usedDefault = FALSE;
    BOOL* const reportDefault = bestFitFlag ? &usedDefault : nullptr;
    const int size = ::WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, reportDefault);
    if (size <= 0 || usedDefault)
        return false;
    bytes.assign(static_cast<std::size_t>(size), '\0');
    if (::WideCharToMultiByte(codePage, flags, text.data(), length, &bytes[0], size, nullptr, reportDefault) != size ||
        usedDefault)
        return false;
    return true;
}

// The bytes read back must give the very text: this also holds code pages whose conversion
// reports nothing about substitutions to the rule.
bool ReadsBackAs(const std::string& bytes, UINT codePage, const std::wstring& text)
{
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    if (length != static_cast<int>(text.size()))
        return false;
    std::wstring back(static_cast<std::size_t>(length), L'\0');
    return ::MultiByteToWideChar(codePage, 0, bytes.data(), size, &back[0], length) == length && back == text;
}

}  // namespace

bool EncodeExactly(const std::wstring& text, UINT codePage, std::string& bytes)
{
    bytes.clear();
    if (text.empty())
        return true;
    try {
        if (Convert(text, codePage, bytes) && ReadsBackAs(bytes, codePage, text))
            return true;
    } catch (const std::bad_alloc&) {
        bytes.clear();
        ::SetLastError(ERROR_OUTOFMEMORY);
        return false;
    }
    bytes.clear();
    ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return false;
}

bool CarriesExactly(const std::wstring& text, UINT codePage)
{
    std::string bytes;
    return EncodeExactly(text, codePage, bytes);
}

}  // namespace console
