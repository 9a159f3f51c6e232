// Long computations report how far they got and ask whether to go on, so a caller
// can run them on a worker thread with a progress bar and a way to stop.
#pragma once

#include <cstdint>
#include <functional>

namespace dualvex {

// Called between chunks with the bytes done so far and the total; returning false
// stops the computation, which then gives no result.
using WorkObserver = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// The chunk size of such computations: small enough for a responsive stop, large
// enough that the calls cost nothing measurable. A multiple of 8.
inline constexpr std::size_t kWorkChunkBytes = std::size_t{1} << 20;

} // namespace dualvex
