#include "console/ReaderThread.h"

#include "console/ChunkDecoder.h"
#include "console/OutputQueue.h"
#include "console/PromptMarkReader.h"
#include "console/ReadPacing.h"
#include "console/WorkerThread.h"
#include "console/ConsoleMessages.h"

#include <utility>
#include <vector>

namespace console {
namespace {

// A read returns whatever the pipe holds, up to this: during a flood the reader takes the pipe's
// whole content at once, so the interpreter never waits on a full pipe.
constexpr DWORD ChunkSize = 64 * 1024;

struct ReaderContext {
    std::shared_ptr<WorkerLink> link;
    std::shared_ptr<OutputQueue> output;
    support::UniqueHandle readEnd;
    PromptMarks marks;
};

// Posted, not sent: the window takes the text when it is ready to show it. False once the queue is closed.
bool Deliver(const ReaderContext& context, const MarkedOutput& piece)
{
    if (piece.Empty())
        return true;
    const OutputQueue::Pushed pushed = context.output->Push(piece);
    if (pushed == OutputQueue::Pushed::QueuedTellWindow)
        ::PostMessageW(context.link->notifyWindow, OutputWaitingMessage, 0, 0);
    return pushed != OutputQueue::Pushed::Closed;
}

DWORD ReadUntilEnd(const ReaderContext& context)
{
    const WorkerLink& link = *context.link;
    UINT codePage = link.codePage;
    ChunkDecoder decoder(codePage);
    PromptMarkReader marks(context.marks);
    MarkedOutput piece;
    ReadPacing pacing(ChunkSize);
    std::vector<char> buffer(ChunkSize);
    // The interpreter ending is no reason to stop: what it wrote before is still in the pipe, and
    // the pipe breaks once everything is read.
    for (;;) {
        DWORD read = 0;
        piece.Clear();
        if (!::ReadFile(context.readEnd.Get(), buffer.data(), ChunkSize, &read, nullptr) || read == 0) {
            const DWORD result = ::GetLastError() == ERROR_BROKEN_PIPE ? 0 : 1;
            if (decoder.HasHeldBack())
                marks.Read(decoder.DecodeHeldBack(), piece);
            marks.Finish(piece);
            if (!link.stopping)
                Deliver(context, piece);
            return result;
        }
        if (link.stopping)
            return 0;
        // The interpreter waits at its prompt when its code page is learnt: no character is cut.
        if (codePage != link.codePage) {
            codePage = link.codePage;
            decoder = ChunkDecoder(codePage);
        }
        marks.Read(decoder.Decode(buffer.data(), read), piece);
        if (!Deliver(context, piece))
            return 0;
        if (const DWORD pause = pacing.After(read, ReadPacing::Clock::now()))
            ::Sleep(pause);
    }
}

}  // namespace

support::UniqueHandle StartReaderThread(std::shared_ptr<WorkerLink> link, std::shared_ptr<OutputQueue> output,
                                        support::UniqueHandle readEnd, const PromptMarks& marks)
{
    auto context = std::make_shared<ReaderContext>(
        ReaderContext{std::move(link), std::move(output), std::move(readEnd), marks});
    return StartWorkerThread([context] { return ReadUntilEnd(*context); });
}

}  // namespace console
