#include "shared/HelperPrograms.h"

#include <windows.h>

#include <string>

namespace testsupport {

void ReadOneLineAndSayIt()
{
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    const std::string reading = "reading one line\r\n";
    ::WriteFile(output, reading.data(), static_cast<DWORD>(reading.size()), &written, nullptr);
    std::string line;
    char character = 0;
    DWORD read = 0;
    while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), &character, 1, &read, nullptr) && read == 1 &&
           character != '\n')
        if (character != '\r')
            line += character;
    const std::string answer = "the program read [" + line + "]\r\n";
    ::WriteFile(output, answer.data(), static_cast<DWORD>(answer.size()), &written, nullptr);
}

}  // namespace testsupport
