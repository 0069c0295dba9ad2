#include "console/InterpreterLaunch.h"

#include "console/InheritedHandleList.h"
#include "console/InterpreterPath.h"

#include <string>

namespace console {

support::UniqueHandle LaunchInterpreter(const wchar_t* directory, const std::wstring& firstCommand, HANDLE input,
                                        HANDLE output, HANDLE job)
{
    support::UniqueHandle process;
    if (!input || !output) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return process;
    }
    const std::optional<std::wstring> interpreter = InterpreterPath();
    if (!interpreter) {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return process;
    }
    const InheritedHandleList inherited({input, output});
    if (!inherited.Get())
        return process;

    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.hStdInput = input;
    startup.StartupInfo.hStdOutput = output;
    startup.StartupInfo.hStdError = output;
    startup.lpAttributeList = inherited.Get();

    // Quoted, so that the interpreter never reads a space in its own path as the start of arguments.
    // It runs the rest of its command line after "/k" as a typed line would run.
    std::wstring commandLine = L"\"" + *interpreter + L"\" /k " + firstCommand;
    PROCESS_INFORMATION created = {};
    // Default security for the process object: nobody else gets rights to it, and its handle is not inheritable.
    if (!::CreateProcessW(interpreter->c_str(), &commandLine[0], nullptr, nullptr, TRUE,
                          CREATE_NEW_CONSOLE | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT, nullptr, directory,
                          &startup.StartupInfo, &created))
        return process;
    support::UniqueHandle thread(created.hThread);
    process.Reset(created.hProcess);
    // A host that is itself in a job that forbids nesting leaves the interpreter outside: it runs all the same.
    if (job)
        ::AssignProcessToJobObject(job, process.Get());
    ::ResumeThread(thread.Get());
    return process;
}

}  // namespace console
