#include "core/app/StreamCompare.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/app/CommandLine.h"
#include "core/app/CompareKernel.h"
#include "core/app/DiffScanner.h"
#include "core/app/DiffSet.h"
#include "core/app/PageMemory.h"

namespace dualvex {
namespace {

// A place for one finished part until the caller has taken it. Part i uses slot
// i mod slot count, and is started only once part i - slot count was taken.
struct Slot {
    PageMemory bits; // zeroed; written only where a difference was found
    bool dirty = false;
    bool ready = false;
    std::uint64_t index = 0;
    PortionResult result;
};

struct Shared {
    std::mutex mutex;
    std::condition_variable work; // a part may be started, or stop
    std::condition_variable done; // a part is ready, or stop
    std::vector<Slot> slots;
    std::uint64_t next = 0;     // next part to start
    std::uint64_t consumed = 0; // next part to hand over
    std::uint64_t end = 0;      // one past the last part
    bool stop = false;
    StreamFailure failure;
};

// Room for the bits of one part, and for the whole word past its end that
// the bit searches may read.
std::size_t BitsBytes(std::uint64_t portion)
{
    return static_cast<std::size_t>(portion / 8 + 8);
}

struct PartSizes {
    std::uint64_t portion;
    std::size_t chunk;
    std::uint64_t common;
};

class PortionWorker {
  public:
    PortionWorker(const CompareSource& a, const CompareSource& b, PartSizes sizes, bool withBits)
        : m_a(a), m_b(b), m_sizes(sizes), m_withBits(withBits),
          m_bufferA(std::make_unique_for_overwrite<std::uint8_t[]>(sizes.chunk)),
          m_bufferB(std::make_unique_for_overwrite<std::uint8_t[]>(sizes.chunk))
    {
    }

    // Compares part index into slot; false with failure filled on a read failure.
    bool Compare(std::uint64_t index, Slot& slot, StreamFailure& failure)
    {
        const std::uint64_t base = index * m_sizes.portion;
        const std::uint64_t length = std::min(m_sizes.portion, m_sizes.common - base);
        std::uint8_t* bits = m_withBits ? slot.bits.Data() : nullptr;
        if (bits != nullptr && slot.dirty) std::memset(bits, 0, BitsBytes(m_sizes.portion));
        DiffSummary summary;
        DiffScanner scanner(summary, false);
        PortionResult& r = slot.result;
        r = PortionResult{base, length};
        for (std::uint64_t at = 0; at < length; at += m_sizes.chunk) {
            const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(m_sizes.chunk, length - at));
            const std::uint8_t* pa = ReadSide(m_a, 1, base + at, count, m_bufferA.get(), failure);
            const std::uint8_t* pb =
                pa ? ReadSide(m_b, 2, base + at, count, m_bufferB.get(), failure) : nullptr;
            if (pb == nullptr) return false;
            if (at == 0) r.firstSet = pa[0] != pb[0];
            if (pa == pb) { // both in a hole of a sparse file
                scanner.NoDifferences();
                r.lastSet = false;
                continue;
            }
            r.lastSet = ComparePass(pa, pb, count, bits != nullptr ? bits + at / 8 : nullptr, scanner);
        }
        scanner.Finish();
        r.ranges = summary.rangeCount;
        r.differing = summary.differing;
        slot.dirty = bits != nullptr && r.differing != 0;
        r.bits = slot.dirty ? bits : nullptr;
        return true;
    }

  private:
    static const std::uint8_t* ReadSide(const CompareSource& source, int side, std::uint64_t offset,
                                        std::size_t count, std::uint8_t* buffer, StreamFailure& failure)
    {
        const std::uint8_t* data = source.Read(offset, count, buffer, failure.status, failure.error);
        if (data == nullptr) failure.side = side;
        return data;
    }

    const CompareSource& m_a;
    const CompareSource& m_b;
    PartSizes m_sizes;
    bool m_withBits;
    std::unique_ptr<std::uint8_t[]> m_bufferA;
    std::unique_ptr<std::uint8_t[]> m_bufferB;
};

void WorkerLoop(Shared& s, PortionWorker& worker)
{
    const std::uint64_t slotCount = s.slots.size();
    while (true) {
        std::uint64_t index = 0;
        {
            std::unique_lock lock(s.mutex);
            s.work.wait(lock, [&] { return s.stop || s.next >= s.end || s.next < s.consumed + slotCount; });
            if (s.stop || s.next >= s.end) return;
            index = s.next++;
        }
        Slot& slot = s.slots[index % slotCount];
        StreamFailure failure;
        const bool ok = worker.Compare(index, slot, failure);
        {
            const std::lock_guard lock(s.mutex);
            if (!ok && !s.failure.Failed()) s.failure = failure;
            if (!ok) s.stop = true;
            slot.index = index;
            slot.ready = ok;
        }
        s.done.notify_all();
        if (!ok) s.work.notify_all();
    }
}

// Hands the parts over in order until the end, a failure or the caller stops.
void HandOverLoop(Shared& s, std::uint64_t first, const StreamCompare::Consumer& consume)
{
    const std::uint64_t slotCount = s.slots.size();
    for (std::uint64_t i = first; i < s.end; ++i) {
        Slot& slot = s.slots[i % slotCount];
        {
            std::unique_lock lock(s.mutex);
            s.done.wait(lock, [&] { return s.stop || (slot.ready && slot.index == i); });
            if (s.stop) return;
        }
        const bool go = consume(slot.result);
        {
            const std::lock_guard lock(s.mutex);
            slot.ready = false;
            s.consumed = i + 1;
            if (!go) s.stop = true;
        }
        s.work.notify_all();
        if (!go) return;
    }
}

} // namespace

StreamCompare::StreamCompare(const CompareSource& a, const CompareSource& b, unsigned threads, bool withBits,
                             std::uint64_t portionBytes, std::size_t chunkBytes)
    : m_a(a), m_b(b), m_threads(std::clamp(threads, 1u, kMaxThreads)), m_withBits(withBits),
      m_portion(portionBytes), m_chunk(chunkBytes), m_common(std::min(a.Length(), b.Length()))
{
}

StreamFailure StreamCompare::Run(std::uint64_t from, const Consumer& consume) const
{
    Shared s;
    const std::uint64_t first = from / m_portion;
    s.next = s.consumed = first;
    s.end = (m_common + m_portion - 1) / m_portion;
    if (s.next >= s.end) return {};
    const std::uint64_t parts = s.end - s.next;
    const unsigned threads = static_cast<unsigned>(std::min<std::uint64_t>(m_threads, parts));
    // A few slots beyond one per thread let threads start their next part while
    // the caller still works on an earlier one; more would only cost memory.
    s.slots.resize(std::min<std::uint64_t>(threads + std::min(threads, 4u), parts));
    if (m_withBits) {
        for (Slot& slot : s.slots)
            if (!slot.bits.Allocate(BitsBytes(m_portion), false)) return StreamFailure{.noMemory = true};
    }
    {
        std::vector<std::unique_ptr<PortionWorker>> workers;
        std::vector<std::jthread> running;
        for (unsigned t = 0; t < threads; ++t) {
            workers.push_back(std::make_unique<PortionWorker>(
                m_a, m_b, PartSizes{m_portion, m_chunk, m_common}, m_withBits));
            running.emplace_back([&s, &worker = *workers.back()] { WorkerLoop(s, worker); });
        }
        HandOverLoop(s, first, consume);
        {
            const std::lock_guard lock(s.mutex);
            s.stop = true;
        }
        s.work.notify_all();
    } // joins the threads before the workers go
    return s.failure;
}

void StreamCompare::ForEachRange(const PortionResult& part,
                                 const std::function<void(std::uint64_t, std::uint64_t)>& f)
{
    if (part.bits == nullptr) return;
    const auto n = static_cast<ImageLength>(part.length);
    for (ImageLength start = FindNextSet(part.bits, n, 0); start < n;) {
        const ImageLength end = FindNextClear(part.bits, n, start);
        f(part.base + start, part.base + end);
        start = FindNextSet(part.bits, n, end);
    }
}

} // namespace dualvex
