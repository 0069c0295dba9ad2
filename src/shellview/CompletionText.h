#pragma once

#include <windows.h>

#include <string>

namespace shellview {

// Index at which the word before the caret begins: just after the last space that is not inside
// quotation marks, or 0. quoted becomes TRUE when the text opens a quoted run anywhere, and then
// every candidate of the completion is quoted.
int FindWordStart(const std::wstring& text, BOOL& quoted);

// The word as Tab compares it with item names: quotation marks removed, A to Z lower-cased.
std::wstring CompletionBase(const std::wstring& word);

// Whether a name offers itself for the base: the empty base takes every name.
bool NameStartsWithBase(const wchar_t* name, const std::wstring& base);

// The candidate as it goes into the input: enclosed in quotation marks when the interpreter would
// otherwise split it or act on one of its characters, or when the completed text was quoted.
std::wstring QuoteCandidate(const std::wstring& name, BOOL quoted);

// The file-system search for a word in a folder (given with its trailing backslash). A word with a
// directory part searches that subfolder.
std::wstring FileSearchPattern(const std::wstring& folder, const std::wstring& word);

}  // namespace shellview
