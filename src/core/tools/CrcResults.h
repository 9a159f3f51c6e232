// The nine results of the CRC calculator (algorithms A, B and C, each from the start
// value, from 0 and from all ones) in one pass per algorithm, chunk by chunk, so a
// worker thread can compute them over large data with progress and a stop.
#pragma once

#include "core/support/WorkObserver.h"
#include "core/tools/CrcEngine.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace dualvex {

using CrcResultValues = std::array<std::uint64_t, 9>;

// Results in the order of the calculator's result fields, each XORed with the mask
// of the tables' width when invert is set. Every algorithm is linear in its start
// register, so the data is read once from 0 and the three starts are added by
// running them over as many zero bytes, which takes logarithmic time. nullopt when
// the observer stopped the work.
[[nodiscard]] std::optional<CrcResultValues> ComputeCrcResults(const CrcTables& tables, std::uint64_t start,
                                                               bool invert, const std::uint8_t* data,
                                                               std::size_t length,
                                                               const WorkObserver& observer = {});

} // namespace dualvex
