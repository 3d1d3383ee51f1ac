#include "HeapMeter.h"

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <new>

namespace heapmeter {
namespace {

std::atomic<size_t> live{0};
std::atomic<size_t> peak{0};

void* Allocate(size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    const size_t now = live.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) + malloc_usable_size(p);
    size_t seen = peak.load(std::memory_order_relaxed);
    while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {}
    return p;
}

void Release(void* p)
{
    if (!p) return;
    live.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
    std::free(p);
}

} // namespace

size_t LiveBytes() { return live.load(); }
size_t PeakBytes() { return peak.load(); }
void ResetPeak() { peak.store(live.load()); }

} // namespace heapmeter

void* operator new(size_t size) { return heapmeter::Allocate(size); }
void* operator new[](size_t size) { return heapmeter::Allocate(size); }
void operator delete(void* p) noexcept { heapmeter::Release(p); }
void operator delete[](void* p) noexcept { heapmeter::Release(p); }
void operator delete(void* p, size_t) noexcept { heapmeter::Release(p); }
void operator delete[](void* p, size_t) noexcept { heapmeter::Release(p); }
