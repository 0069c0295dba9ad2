#include "console/ChildPipe.h"

#include <utility>

namespace console {

ChildPipe CreateChildPipe(ChildEnd childEnd, DWORD bufferSize)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    support::UniqueHandle readEnd;
    support::UniqueHandle writeEnd;
    ChildPipe pipe;
    if (!::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inheritable, bufferSize))
        return pipe;
    support::UniqueHandle& inheritableParentEnd = childEnd == ChildEnd::Reads ? writeEnd : readEnd;
    const HANDLE self = ::GetCurrentProcess();
    if (!::DuplicateHandle(self, inheritableParentEnd.Get(), self, pipe.parentEnd.Receive(), 0, FALSE,
                           DUPLICATE_SAME_ACCESS))
        return pipe;
    inheritableParentEnd.Reset();
    pipe.childEnd = std::move(childEnd == ChildEnd::Reads ? readEnd : writeEnd);
    return pipe;
}

}  // namespace console
