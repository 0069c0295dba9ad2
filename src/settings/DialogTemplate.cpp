#include "settings/DialogTemplate.h"

namespace settings {

DialogTemplate::DialogTemplate(const wchar_t* title, DWORD style, short width, short height)
{
    words.push_back(1);       // version of the extended template
    words.push_back(0xFFFF);  // its signature
    AddDword(0);              // help context
    AddDword(0);              // extended style
    AddDword(style | DS_SHELLFONT);
    countAt = words.size();
    words.push_back(0);
    for (const short value : {short{0}, short{0}, width, height})
        words.push_back(static_cast<WORD>(value));
    words.push_back(0);  // no menu
    words.push_back(0);  // the dialog class
    AddString(title);
    words.push_back(8);         // points
    words.push_back(FW_NORMAL);
    words.push_back(0x0100);    // not italic; DEFAULT_CHARSET
    AddString(L"MS Shell Dlg");
}

void DialogTemplate::Add(WORD predefinedClass, const wchar_t* text, DWORD style, short x, short y, short width,
                         short height, WORD id, DWORD exStyle)
{
    AddHeader(exStyle, style, x, y, width, height, id);
    words.push_back(0xFFFF);
    words.push_back(predefinedClass);
    AddString(text);
    words.push_back(0);  // no creation data
}

void DialogTemplate::Add(const wchar_t* className, const wchar_t* text, DWORD style, short x, short y, short width,
                         short height, WORD id, DWORD exStyle)
{
    AddHeader(exStyle, style, x, y, width, height, id);
    AddString(className);
    AddString(text);
    words.push_back(0);
}

void DialogTemplate::AddHeader(DWORD exStyle, DWORD style, short x, short y, short width, short height, WORD id)
{
    AlignToDword();
    AddDword(0);  // help context
    AddDword(exStyle);
    AddDword(style | WS_CHILD | WS_VISIBLE);
    for (const short value : {x, y, width, height})
        words.push_back(static_cast<WORD>(value));
    AddDword(id);
    ++words[countAt];
}

void DialogTemplate::AddDword(DWORD value)
{
    words.push_back(LOWORD(value));
    words.push_back(HIWORD(value));
}

void DialogTemplate::AddString(const wchar_t* text)
{
    for (const wchar_t* character = text; *character; ++character)
        words.push_back(static_cast<WORD>(*character));
    words.push_back(0);
}

// The vector's storage is aligned for its allocation, so an even count of words is a DWORD boundary.
void DialogTemplate::AlignToDword()
{
    if (words.size() % 2 != 0)
        words.push_back(0);
}

}  // namespace settings
