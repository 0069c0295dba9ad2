#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace registration {

// Splits an expanded script into tokens. The text must outlive the reader.
class CScriptReader {
public:
    // The longest token, in characters after unquoting.
    static constexpr std::size_t MaxTokenLength = 4094;

    explicit CScriptReader(const std::wstring& text) noexcept : text(text), position(0) {}

    bool AtEnd() const noexcept { return text[position] == L'\0'; }
    void SkipWhiteSpace() noexcept;

    // Reads the next token into the buffer, which is reused from token to token.
    // DISP_E_EXCEPTION at the end of the text, for an unterminated quote or an over-long token.
    HRESULT ReadToken(std::wstring& token);

    std::size_t Position() const noexcept { return position; }
    void Seek(std::size_t where) noexcept { position = where; }

private:
    HRESULT ReadQuotedToken(std::wstring& token);
    HRESULT ReadPlainToken(std::wstring& token);

    const std::wstring& text;
    std::size_t position;
};

}  // namespace registration
