#pragma once

#include <string>

// A fresh folder under the user's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return path; }
    std::wstring MakeFolder(const std::wstring& name) const;
    std::wstring MakeFile(const std::wstring& name) const;

private:
    std::wstring path;
};
