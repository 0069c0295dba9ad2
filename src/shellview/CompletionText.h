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

// The folder part of a word, quotation marks removed, as typed: up to and including its last "\"
// or "/", or the drive of a drive-relative word ("C:" of "C:re"). Empty when the word names no
// folder.
std::wstring TypedFolderPart(const std::wstring& word);

// Where the interpreter, in `folder` (given with its trailing backslash), finds the items the word
// names: the folder the word's folder part names from there, with "/" read as "\" and a trailing
// backslash. Empty for a word relative to another drive's current folder ("E:re" while `folder` is
// on D:), which only the interpreter knows.
std::wstring FileSearchFolder(const std::wstring& folder, const std::wstring& word);

// The file-system search for a word in a folder (given with its trailing backslash): the rest of
// the word after its folder part, followed by "*", in FileSearchFolder. Empty when that is, and a
// search for the empty pattern finds nothing.
std::wstring FileSearchPattern(const std::wstring& folder, const std::wstring& word);

// The word that replaces the typed `word` when completion found `name` in the folder the word
// names; `name` is already spelled as the interpreter can read it. The folder part stays as typed,
// so the completed word names the item found and no item of the same name elsewhere; the whole
// word is quoted as QuoteCandidate quotes a name. A word without a folder part gives
// QuoteCandidate(name, quoted).
std::wstring CompletedWord(const std::wstring& word, const std::wstring& name, BOOL quoted);

}  // namespace shellview
