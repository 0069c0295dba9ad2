#include "console/ReaderThread.h"

#include "console/ChunkDecoder.h"
#include "console/WorkerThread.h"

#include <utility>

namespace console {
namespace {

constexpr DWORD ChunkSize = 512;

struct ReaderContext {
    std::shared_ptr<WorkerLink> link;
    support::UniqueHandle readEnd;
    UINT message;
};

void Deliver(const ReaderContext& context, const std::wstring& text)
{
    ::SendMessageW(context.link->notifyWindow, context.message, reinterpret_cast<WPARAM>(text.c_str()), 0);
}

DWORD ReadUntilEnd(const ReaderContext& context)
{
    const WorkerLink& link = *context.link;
    UINT codePage = link.codePage;
    ChunkDecoder decoder(codePage);
    char buffer[ChunkSize];
    while (link.running) {
        DWORD read = 0;
        if (!::ReadFile(context.readEnd.Get(), buffer, ChunkSize, &read, nullptr) || read == 0) {
            const DWORD result = ::GetLastError() == ERROR_BROKEN_PIPE ? 0 : 1;
            if (decoder.HasHeldBack() && link.running && !link.stopping)
                Deliver(context, decoder.DecodeHeldBack());
            return result;
        }
        if (link.stopping)
            return 0;
        // The interpreter waits at its prompt when its code page is learnt: no character is cut.
        if (codePage != link.codePage) {
            codePage = link.codePage;
            decoder = ChunkDecoder(codePage);
        }
        Deliver(context, decoder.Decode(buffer, read));
    }
    return 0;
}

}  // namespace

support::UniqueHandle StartReaderThread(std::shared_ptr<WorkerLink> link, support::UniqueHandle readEnd, UINT message)
{
    auto context = std::make_shared<ReaderContext>(ReaderContext{std::move(link), std::move(readEnd), message});
    return StartWorkerThread([context] { return ReadUntilEnd(*context); });
}

}  // namespace console
