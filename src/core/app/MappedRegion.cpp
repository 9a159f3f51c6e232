#include "core/app/MappedRegion.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <utility>

namespace dualvex {
namespace {

// A handful of images are mapped at any time; the table is fixed so the signal
// handler can search it without locks or allocation.
constexpr int kSlots = 64;

struct Slot {
    std::atomic<bool> used{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0}; // 0 while the slot is being filled or emptied
    std::atomic<bool> faulted{false};
};

Slot g_slots[kSlots];
struct sigaction g_previous {};

std::uintptr_t PageSize()
{
    static const std::uintptr_t size = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    return size;
}

// Patches the faulting page and everything after it in its region with zero pages:
// a truncated file has lost its whole tail, and one fault per page would be slow.
// mmap is a plain system call here and safe to use in the handler.
bool PatchRegion(std::uintptr_t address)
{
    for (Slot& slot : g_slots) {
        const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
        const std::uintptr_t end = slot.end.load(std::memory_order_acquire);
        if (end == 0 || address < begin || address >= end) continue;
        const std::uintptr_t page = address & ~(PageSize() - 1);
        const std::uintptr_t last = (end + PageSize() - 1) & ~(PageSize() - 1);
        void* at = reinterpret_cast<void*>(page);
        if (mmap(at, last - page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == MAP_FAILED)
            return false;
        slot.faulted.store(true, std::memory_order_release);
        return true;
    }
    return false;
}

void OnBusError(int signal, siginfo_t* info, void* context)
{
    if (info != nullptr && PatchRegion(reinterpret_cast<std::uintptr_t>(info->si_addr))) return;
    // Not one of ours: whoever handled the signal before decides, as if we were not here.
    if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
        g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN &&
        g_previous.sa_handler != nullptr) {
        g_previous.sa_handler(signal);
        return;
    }
    // Default action: the faulting instruction repeats and the program ends as before.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(SIGBUS, &fallback, nullptr);
}

void InstallHandler()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_previous);
    });
}

} // namespace

MappedRegion::MappedRegion(const void* data, std::size_t length)
{
    if (data == nullptr || length == 0) return;
    InstallHandler();
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (!g_slots[i].used.compare_exchange_strong(expected, true)) continue;
        const auto begin = reinterpret_cast<std::uintptr_t>(data);
        g_slots[i].faulted.store(false);
        g_slots[i].begin.store(begin, std::memory_order_release);
        g_slots[i].end.store(begin + length, std::memory_order_release);
        m_slot = i;
        return;
    }
}

MappedRegion::~MappedRegion()
{
    Release();
}

MappedRegion::MappedRegion(MappedRegion&& other) noexcept : m_slot(std::exchange(other.m_slot, -1)) {}

MappedRegion& MappedRegion::operator=(MappedRegion&& other) noexcept
{
    if (this != &other) {
        Release();
        m_slot = std::exchange(other.m_slot, -1);
    }
    return *this;
}

bool MappedRegion::Faulted() const
{
    return m_slot >= 0 && g_slots[m_slot].faulted.load(std::memory_order_acquire);
}

void MappedRegion::Release()
{
    if (m_slot < 0) return;
    Slot& slot = g_slots[m_slot];
    slot.end.store(0, std::memory_order_release);
    slot.begin.store(0, std::memory_order_release);
    slot.used.store(false, std::memory_order_release);
    m_slot = -1;
}

} // namespace dualvex
