#pragma once

#include <windows.h>

#include <vector>

namespace settings {

// An extended dialog template built in memory, for a dialog without resources: the library and
// the programs that link its code have no resource of their own to share.
class DialogTemplate {
public:
    // Sizes are in dialog units; the dialog shows in the shell's dialog font at 8 points.
    DialogTemplate(const wchar_t* title, DWORD style, short width, short height);

    // A control of a predefined class (0x0080 button ... 0x0085 combo box) or a class by name.
    void Add(WORD predefinedClass, const wchar_t* text, DWORD style, short x, short y, short width, short height,
             WORD id, DWORD exStyle = 0);
    void Add(const wchar_t* className, const wchar_t* text, DWORD style, short x, short y, short width, short height,
             WORD id, DWORD exStyle = 0);

    const DLGTEMPLATE* Get() const noexcept { return reinterpret_cast<const DLGTEMPLATE*>(words.data()); }

    static constexpr WORD Button = 0x0080;
    static constexpr WORD Edit = 0x0081;
    static constexpr WORD Static = 0x0082;
    static constexpr WORD ComboBox = 0x0085;

private:
    void AddHeader(DWORD exStyle, DWORD style, short x, short y, short width, short height, WORD id);
    void AddDword(DWORD value);
    void AddString(const wchar_t* text);
    void AlignToDword();

    std::vector<WORD> words;
    size_t countAt = 0;
};

}  // namespace settings
