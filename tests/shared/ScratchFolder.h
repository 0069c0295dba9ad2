#pragma once

#include <string>

namespace testsupport {

// A fresh folder made for one test, removed with everything in it at the end.
class ScratchFolder {
public:
    // Inside parent, or inside the temporary folder (on C:) when parent is empty.
    explicit ScratchFolder(const std::wstring& parent = L"");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool Exists() const { return !path.empty(); }
    // Without a trailing backslash.
    const std::wstring& Path() const { return path; }

    // Both create what they name below Path(), folders on the way included, and return its full path.
    std::wstring Folder(const std::wstring& relative) const;
    std::wstring File(const std::wstring& relative, const std::string& content = "scratch\n") const;

private:
    std::wstring path;
};

}  // namespace testsupport
